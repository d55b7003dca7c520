#pragma once
// Typed streams that know the byte order of the file they read, with one
// sticky error word per stream: the first failure stops every later
// operation until the error is cleared, so a run of reads is tested once.

#include <cstdint>

struct Pair;
struct Box;

// Seek origins.
enum {
    FS_SEEK_FROM_START = 0,
    FS_SEEK_FROM_CURRENT = 1,
    FS_SEEK_FROM_END = 2
};

// Byte-order marks at the start of a file.
const uint16_t FS_MARK_LITTLE_ENDIAN = 0x4949;  // "II"
const uint16_t FS_MARK_BIG_ENDIAN = 0x4D4D;     // "MM"

// Error values besides the Windows error of a failing system call.
const int32_t FS_ERROR_NONE = 0;
const int32_t FS_ERROR_BAD_FORMAT = 11;    // ERROR_BAD_FORMAT: bad byte-order mark
const int32_t FS_ERROR_WRITE_FAULT = 29;   // ERROR_WRITE_FAULT: short write
const int32_t FS_ERROR_END_OF_FILE = 38;   // ERROR_HANDLE_EOF: short read
const int32_t FS_ERROR_OUT_OF_RANGE = -1;  // memory stream out of range
const int32_t FS_ERROR_BAD_COUNT = 87;     // ERROR_INVALID_PARAMETER: negative or oversized count

// The error interface every stream shares. The three interfaces of a
// random-access stream meet in one virtual base, so they see one error.
class FSError {
public:
    virtual int32_t GetError() = 0;
    virtual void SetError(int32_t error) = 0;

protected:
    ~FSError() = default;
};

class FSReader : public virtual FSError {
public:
    FSReader();
    virtual ~FSReader();
    virtual void SetSwapsBytes(bool swaps);
    virtual bool SwapsBytes();
    virtual bool ReadBytes(void* destination, int32_t count) = 0;

    // Each returns true when no error is set afterwards and does nothing
    // while an error is set.
    bool ReadByteOrderMark();
    bool ReadShorts(int16_t* destination, int32_t n = 1);
    bool ReadShorts(uint16_t* destination, int32_t n = 1);
    bool ReadLongs(int32_t* destination, int32_t n = 1);
    bool ReadLongs(uint32_t* destination, int32_t n = 1);
    bool ReadDoubles(double* destination, int32_t n = 1);
    bool ReadBools(bool* destination, int32_t n = 1);
    bool ReadPairs(Pair* destination, int32_t n = 1);
    bool ReadBoxes(Box* destination, int32_t n = 1);

protected:
    bool swapsBytes;
};

// Writers always write the machine's own order (little-endian).
class FSWriter : public virtual FSError {
public:
    virtual ~FSWriter();
    virtual bool WriteBytes(const void* source, int32_t count) = 0;

    bool WriteByteOrderMark();
    bool WriteShorts(const int16_t* source, int32_t n = 1);
    bool WriteShorts(const uint16_t* source, int32_t n = 1);
    bool WriteLongs(const int32_t* source, int32_t n = 1);
    bool WriteLongs(const uint32_t* source, int32_t n = 1);
    bool WriteDoubles(const double* source, int32_t n = 1);
    bool WriteBools(const bool* source, int32_t n = 1);
    bool WritePairs(const Pair* source, int32_t n = 1);
    bool WriteBoxes(const Box* source, int32_t n = 1);
};

class FSSeeker : public virtual FSError {
public:
    // origin is one of FS_SEEK_FROM_*; *position (when given) is the new
    // position, or -1 on failure.
    virtual bool Seek(int32_t distance, int origin, int32_t* position) = 0;
    // The current position, or -1 on failure.
    int32_t Tell();

protected:
    ~FSSeeker() = default;
};

class FSRandomAccessStream : public FSReader, public FSWriter, public FSSeeker {
public:
    FSRandomAccessStream();
    // A copy would share the original's error target (and, for files, handle).
    FSRandomAccessStream(const FSRandomAccessStream&) = delete;
    FSRandomAccessStream& operator=(const FSRandomAccessStream&) = delete;
    int32_t GetError() override;
    void SetError(int32_t error) override;
    // Makes this stream keep its error in another word (null: its own).
    void UseErrorWord(int32_t* word);

protected:
    int32_t errorWord;
    int32_t* errorTarget;
};

// Byte helpers, also used by the sound and picture readers.
void SwapShortBytes(void* values, int32_t n);
void SwapLongBytes(void* values, int32_t n);
void SwapDoubleBytes(void* values, int32_t n);
void CopySwappedShorts(void* destination, const void* source, int32_t byteCount);
// A trailing partial value is swapped as a whole 32-bit value.
void CopySwappedLongs(void* destination, const void* source, int32_t byteCount);
