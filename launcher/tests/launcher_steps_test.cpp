#include "launcher/launcher.h"
#include "launcher_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace launcher_test;

namespace {

class RecordingAlert : public SetupAlert {
public:
    void Show(const char* text, const char* caption) override { shown.emplace_back(text, caption); }
    std::vector<std::pair<std::string, std::string>> shown;
};

enum class Local {
    Unset,
    Folder,
    FolderWithoutBackslash,
    FolderWithoutProgram,
    Unterminated1023Bytes,  // fills the whole query buffer, no zero
    TooLong,                // longer than the query buffer
};
enum class Current { Empty, WithSetup, DriveRootWithSetup };

struct LaunchCase {
    const char* name;
    const char* windowClass;  // helper window, or nullptr
    const char* windowTitle;
    Local local;
    bool cd;
    Current current;
    LaunchOutcome expected;
};

constexpr const char* kTitleClass = "NembaMainWndClass";
constexpr const char* kInstallerClass = "InstallShield_Win";
using O = LaunchOutcome;

const LaunchCase kCases[] = {
    {"TitleWindowStopsAll", kTitleClass, "Petimo", Local::Folder, true, Current::WithSetup, O::TitleRunning},
    {"TitleMatchIgnoresCase", kTitleClass, "pETIMO", Local::Folder, true, Current::WithSetup, O::TitleRunning},
    {"TitleWithTrailingSpaceDoesNotCount", kTitleClass, "Petimo ", Local::Folder, false, Current::Empty, O::TitleStarted},
    {"TitleWithHyphenDoesNotCount", kTitleClass, "Pet-imo", Local::Folder, false, Current::Empty, O::TitleStarted},
    {"LongerTitleDoesNotCount", kTitleClass, "Petimo 2", Local::Folder, false, Current::Empty, O::TitleStarted},
    {"EmptyTitleDoesNotCount", kTitleClass, "", Local::Folder, false, Current::Empty, O::TitleStarted},
    {"ClassDifferingInCaseDoesNotCount", "nembamainwndclass", "Petimo", Local::Folder, false, Current::Empty, O::TitleStarted},
    {"InstallerWindowComesAfterLocal", kInstallerClass, "", Local::Folder, true, Current::WithSetup, O::TitleStarted},
    {"LocalStartsTitle", nullptr, nullptr, Local::Folder, true, Current::WithSetup, O::TitleStarted},
    {"LocalWithoutBackslashFallsToCd", nullptr, nullptr, Local::FolderWithoutBackslash, true, Current::WithSetup, O::SetupStartedFromCd},
    {"LocalWithoutBackslashThenInstaller", kInstallerClass, "Setup", Local::FolderWithoutBackslash, true, Current::WithSetup, O::InstallerRunning},
    {"LocalWithoutProgramFallsToCd", nullptr, nullptr, Local::FolderWithoutProgram, true, Current::Empty, O::SetupStartedFromCd},
    {"InstallerWindowStopsSetup", kInstallerClass, "", Local::Unset, true, Current::WithSetup, O::InstallerRunning},
    {"CdStartsSetup", nullptr, nullptr, Local::Unset, true, Current::WithSetup, O::SetupStartedFromCd},
    {"CurrentFolderStartsSetup", nullptr, nullptr, Local::Unset, false, Current::WithSetup, O::SetupStartedFromCurrentFolder},
    {"DriveRootStartsSetup", nullptr, nullptr, Local::Unset, false, Current::DriveRootWithSetup, O::SetupStartedFromCurrentFolder},
    {"NothingFoundAsksForCd", nullptr, nullptr, Local::Unset, false, Current::Empty, O::AskedForCd},
    {"UnterminatedLocalFallsToCd", nullptr, nullptr, Local::Unterminated1023Bytes, true, Current::Empty, O::SetupStartedFromCd},
    {"UnterminatedLocalAloneAsksForCd", nullptr, nullptr, Local::Unterminated1023Bytes, false, Current::Empty, O::AskedForCd},
    {"TooLongLocalFallsToCurrentFolder", nullptr, nullptr, Local::TooLong, false, Current::WithSetup, O::SetupStartedFromCurrentFolder},
};

// Restores the current folder and removes what was placed at a drive root.
class CurrentFolderGuard {
public:
    CurrentFolderGuard() { GetCurrentDirectoryA(MAX_PATH, saved_); }
    ~CurrentFolderGuard()
    {
        SetCurrentDirectoryA(saved_);
        std::error_code ignored;
        if (!rootSetup_.empty())
            fs::remove_all(rootSetup_, ignored);
    }
    fs::path rootSetup_;

private:
    char saved_[MAX_PATH] = {};
};

class LauncherSteps : public testing::TestWithParam<LaunchCase> {};

TEST_P(LauncherSteps, TakesTheFirstStepThatSucceeds)
{
    const LaunchCase& c = GetParam();
    ScratchFolder scratch;
    const fs::path title = scratch.Path() / "title" / "Petimo.exe";
    const fs::path cdSetup = scratch.Path() / "cd" / "Setup" / "Setup.exe";
    const fs::path currentSetup = scratch.Path() / "current" / "Setup" / "Setup.exe";
    PlaceStub(title);
    PlaceStub(cdSetup);
    fs::create_directories(scratch.Path() / "empty");

    CurrentFolderGuard current;
    fs::path expectedProgram;
    fs::path startedFromCurrent = currentSetup;
    if (c.current == Current::WithSetup) {
        PlaceStub(currentSetup);
        ASSERT_TRUE(SetCurrentDirectoryA(currentSetup.parent_path().parent_path().string().c_str()));
    } else if (c.current == Current::DriveRootWithSetup) {
        const fs::path root = scratch.Path().root_path();
        ASSERT_EQ(root.string().back(), '\\');
        if (fs::exists(root / "Setup"))
            GTEST_SKIP() << "the drive root already holds a Setup folder";
        current.rootSetup_ = root / "Setup";
        startedFromCurrent = root / "Setup" / "Setup.exe";
        PlaceStub(startedFromCurrent);
        ASSERT_TRUE(SetCurrentDirectoryA(root.string().c_str()));
    } else {
        ASSERT_TRUE(SetCurrentDirectoryA((scratch.Path() / "empty").string().c_str()));
    }

    TitlePaths paths;
    const std::string titleFolder = title.parent_path().string();
    switch (c.local) {
    case Local::Unset: break;
    case Local::Folder: paths.Set("Local", titleFolder + "\\"); break;
    case Local::FolderWithoutBackslash: paths.Set("Local", titleFolder); break;
    case Local::FolderWithoutProgram: paths.Set("Local", (scratch.Path() / "empty").string() + "\\"); break;
    case Local::Unterminated1023Bytes: {
        paths.Set("Local", std::string(1023, 'A'), false);
        // The fixture must really hand over a full buffer without a zero.
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTitlePathsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
        char value[1024];
        value[1023] = 'x';
        DWORD size = 1023;
        LONG status = RegQueryValueExA(key, "Local", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
        RegCloseKey(key);
        ASSERT_EQ(status, ERROR_SUCCESS);
        ASSERT_EQ(size, 1023u);
        ASSERT_EQ(value[1022], 'A');
        ASSERT_EQ(value[1023], 'x');
        break;
    }
    case Local::TooLong: paths.Set("Local", std::string(1500, 'A')); break;
    }
    if (c.cd)
        paths.Set("CD", cdSetup.parent_path().parent_path().string() + "\\");

    std::unique_ptr<HelperWindow> window;
    if (c.windowClass)
        window = std::make_unique<HelperWindow>(c.windowClass, c.windowTitle);

    RecordingAlert alert;
    LaunchResult result = RunLauncher(alert);
    window.reset();

    EXPECT_EQ(result.outcome, c.expected);
    switch (c.expected) {
    case O::TitleStarted: expectedProgram = title; break;
    case O::SetupStartedFromCd: expectedProgram = cdSetup; break;
    case O::SetupStartedFromCurrentFolder: expectedProgram = startedFromCurrent; break;
    default: break;
    }
    EXPECT_EQ(result.process.hProcess != nullptr, !expectedProgram.empty());
    if (result.process.hProcess) {
        EXPECT_TRUE(WaitForProcess(result.process.hProcess));
        CloseHandle(result.process.hProcess);
        CloseHandle(result.process.hThread);
    }
    for (const fs::path& program : {title, cdSetup, startedFromCurrent})
        EXPECT_EQ(fs::exists(MarkerOf(program)), program == expectedProgram) << program;

    if (c.expected == O::AskedForCd) {
        ASSERT_EQ(alert.shown.size(), 1u);
        EXPECT_EQ(alert.shown[0].second, "Setup Error");
        EXPECT_EQ(alert.shown[0].first,
                  "Veuillez ins\xE9rer le CD de Tavelo Tisbold et ex\xE9"
                  "cuter le programme d'installation.");
    } else {
        EXPECT_TRUE(alert.shown.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LauncherSteps, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<LaunchCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
