#pragma once
// Concrete streams: a Win32 file, a file on the program's CD whose failed
// reads are retried after asking for the CD, and a caller's memory buffer.

#include "framework/byte_order_streams.h"
#include "framework/folders.h"

enum {
    FS_OPEN_READ = 0,            // existing file, shared for reading
    FS_OPEN_CREATE = 1,          // read and write, always a new empty file
    FS_OPEN_READ_WRITE = 2       // read and write, created when missing
};

class FSFile : public FSRandomAccessStream {
public:
    FSFile();
    // These open at once; test GetError afterwards.
    FSFile(const FSDirectory& folder, const char* name);
    FSFile(const FSDirectory& folder, const char* name, int mode, const FSFileKind& kind);
    ~FSFile() override;

    bool Open(const FSDirectory& folder, const char* name, int mode,
              const FSFileKind& kind = FSFileKind());
    bool Close();
    bool SetEnd();
    // Hands what was written to the disk before answering.
    bool Flush();
    bool IsOpen() const { return isOpen; }
    bool IsReadOnly() const { return readOnly; }

    bool Seek(int32_t distance, int origin, int32_t* position) override;
    bool ReadBytes(void* destination, int32_t count) override;
    bool WriteBytes(const void* source, int32_t count) override;

protected:
    void* handle;
    bool isOpen;
    bool readOnly;
};

// Asks whether to try again; the default shows a system-modal OK/Cancel box.
typedef bool (*FSRetryPrompt)(const char* message, const char* caption);

class FSRecoverableCDFile : public FSFile {
public:
    FSRecoverableCDFile();
    FSRecoverableCDFile(const FSDirectory& folder, const char* name);

    // A read that failed because the medium is gone is retried from where it
    // began for as long as the user answers OK; any other failure (the end
    // of the file, a bad count, access denied) fails at once.
    bool ReadBytes(void* destination, int32_t count) override;

    // Replaces the prompt (null restores the message box); returns the old one.
    static FSRetryPrompt SetRetryPrompt(FSRetryPrompt prompt);
    const char* Message() const { return message; }
    const char* Caption() const { return caption; }

    // True for the Windows errors of a drive whose disc was taken out.
    static bool IsMissingMedium(int32_t error);

protected:
    // One attempt at the read; the retry loop calls it again after the box.
    virtual bool ReadOnce(void* destination, int32_t count);

private:
    void LoadTexts();

    char message[256];
    char caption[256];
};

class FSMemory : public FSRandomAccessStream {
public:
    FSMemory(void* buffer, uint32_t size);

    bool Seek(int32_t distance, int origin, int32_t* position) override;
    bool ReadBytes(void* destination, int32_t count) override;
    bool WriteBytes(const void* source, int32_t count) override;

private:
    uint8_t* buffer;
    uint32_t size;
    int32_t position;
};
