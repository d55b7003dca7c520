#pragma once
// Text sinks for diagnostic output. Nothing in the program writes to them;
// they are there for a developer chasing a fault.
#include <cstdio>

#include "framework/files.h"

class UUConsole {
public:
    // The longest text Printf writes; longer results are cut.
    static constexpr int kPrintfSize = 1000;

    UUConsole() = default;
    virtual ~UUConsole() = default;
    UUConsole(const UUConsole&) = delete;
    UUConsole& operator=(const UUConsole&) = delete;

    virtual void Write(const char* text) = 0;
    void Printf(const char* format, ...);
};

// Writes into a file: a new empty one, or the end of an existing one when
// `append` is set.
class UULogFileConsole : public UUConsole {
public:
    UULogFileConsole(const FSDirectory& folder, const char* name, const FSFileKind& kind,
                     bool append);
    ~UULogFileConsole() override;

    void Write(const char* text) override;
    bool IsOpen() const { return file.IsOpen(); }

private:
    FSFile file;
};

// Writes into a C stream; a null stream swallows everything.
class UUStandardFileIOConsole : public UUConsole {
public:
    explicit UUStandardFileIOConsole(FILE* stream);

    void Write(const char* text) override;

protected:
    FILE* stream;
};

// The monochrome debug monitor's device.
class WinUUMonoMonitorConsole : public UUStandardFileIOConsole {
public:
    WinUUMonoMonitorConsole();
    ~WinUUMonoMonitorConsole() override;

    void Write(const char* text) override;
};

// Hands a text to a debug monitor through the system debugger channel, on
// Windows 9x only; elsewhere it does nothing.
void DebugChannelWrite(const char* text);
// The channel itself, whatever the system: waits for the monitor's
// buffer, writes the process id and at most 507 bytes of text, signals.
// Nothing happens when the monitor's events do not exist.
void WriteToDebugChannel(const char* text);
