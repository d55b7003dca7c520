#pragma once
// Buffered inputs: a decoder asks for the bytes already in memory at the
// read position (Peek) and says how many it used (Consume). Sources: a plain
// reader filled block by block, a seekable stream the same way, a memory
// block, and (async_file_input.h) a file read ahead into a ring by a pulse
// task. UUInputFromBufferedInput turns one into plain reads of n bytes.
#include <cstdint>

class FSReader;
class FSRandomAccessStream;
class FSWriter;

class UUBufferedInput {
public:
    virtual ~UUBufferedInput() = default;
    virtual bool SwapsBytes() = 0;
    virtual bool AtEnd() = 0;
    virtual void Seek(int32_t position) = 0;
    // Reads ahead as far as possible now.
    virtual void FillNow() {}
    // The number of contiguous bytes available at the read position.
    virtual int32_t Peek(const uint8_t** out) = 0;
    virtual void Consume(int32_t n) = 0;
    virtual void Close() {}
};

// Fills `buffer` (blockSize bytes, the caller's) from the reader one block at
// a time, `total` bytes in all. A failed read ends the input where it failed.
class UUBufferedInputFromReader : public UUBufferedInput {
public:
    UUBufferedInputFromReader(FSReader* reader, uint8_t* buffer, int32_t blockSize, int32_t total);
    bool SwapsBytes() override;
    bool AtEnd() override;
    void Seek(int32_t position) override {}
    void FillNow() override;
    int32_t Peek(const uint8_t** out) override;
    void Consume(int32_t n) override;

    int32_t ReadPosition() const { return readPosition; }
    int32_t FillPosition() const { return fillPosition; }

protected:
    FSReader* reader;
    uint8_t* buffer;
    int32_t blockSize;
    int32_t total;
    int32_t fillPosition;
    int32_t readPosition;
    bool failed;
};

// The same over a seekable stream whose byte 0 is at `start`.
class UUBufferedInputFromRandomAccessStream : public UUBufferedInputFromReader {
public:
    UUBufferedInputFromRandomAccessStream(FSRandomAccessStream* stream, uint8_t* buffer,
                                          int32_t blockSize, int32_t start, int32_t total);
    // Positions beyond the end are taken as the end.
    void Seek(int32_t position) override;

private:
    FSRandomAccessStream* stream;
    int32_t start;
};

// A memory block the caller keeps.
class UUBufferedInputFromMemory : public UUBufferedInput {
public:
    UUBufferedInputFromMemory(const void* address, int32_t size, bool swapsBytes = false);
    bool SwapsBytes() override { return swaps; }
    bool AtEnd() override { return position >= size; }
    void Seek(int32_t position) override;
    int32_t Peek(const uint8_t** out) override;
    void Consume(int32_t n) override;

private:
    const uint8_t* address;
    int32_t size;
    bool swaps;
    int32_t position;
};

class UUInputStream {
public:
    virtual ~UUInputStream() = default;
    virtual bool AtEnd() = 0;
    virtual bool SwapsBytes() = 0;
    virtual void Seek(int32_t position) = 0;
    // Bytes delivered. Without wait only what is buffered now; with wait
    // until count bytes or the end of the input.
    virtual int32_t Read(void* destination, int32_t count, bool wait) = 0;
};

// Owns its buffered input; closes and deletes it when destroyed.
class UUInputFromBufferedInput : public UUInputStream {
public:
    explicit UUInputFromBufferedInput(UUBufferedInput* input);
    ~UUInputFromBufferedInput() override;
    UUInputFromBufferedInput(const UUInputFromBufferedInput&) = delete;
    UUInputFromBufferedInput& operator=(const UUInputFromBufferedInput&) = delete;

    bool AtEnd() override;
    bool SwapsBytes() override;
    void Seek(int32_t position) override;
    int32_t Read(void* destination, int32_t count, bool wait) override;
    // Copies everything left to the writer; true when it reports no error.
    bool CopyTo(FSWriter& writer);

    UUBufferedInput* Input() const { return input; }

protected:
    UUBufferedInput* input;
};

// Delivers 16-bit values with their two bytes exchanged.
class UUSwapWordsFromBufferedInput : public UUInputFromBufferedInput {
public:
    explicit UUSwapWordsFromBufferedInput(UUBufferedInput* input)
        : UUInputFromBufferedInput(input) {}
    int32_t Read(void* destination, int32_t count, bool wait) override;
};
