#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace launcher_test {

// The stub program built beside the test executable.
std::filesystem::path StubPath();
std::filesystem::path LauncherExePath();

// Copies the stub to `program`, creating its folders.
void PlaceStub(const std::filesystem::path& program);
// The file the stub writes when `program` runs.
std::filesystem::path MarkerOf(const std::filesystem::path& program);
bool WaitForFile(const std::filesystem::path& file);
// Waits for a process while handling this thread's messages.
bool WaitForProcess(HANDLE process);

// A fresh folder under the temporary folder, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A hidden top-level window of its own class, as another program shows it.
class HelperWindow {
public:
    HelperWindow(const char* className, const char* title);
    ~HelperWindow();
    HWND Handle() const { return window_; }

private:
    std::string className_;
    HWND window_ = nullptr;
};

// The other title's registry values; the key is removed on both ends.
class TitlePaths {
public:
    TitlePaths();
    ~TitlePaths();
    // Writes the bytes of `value`, followed by a zero when `terminate` is set.
    void Set(const char* name, const std::string& value, bool terminate = true);

private:
    static void Remove();
};

} // namespace launcher_test
