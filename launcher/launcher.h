#pragma once

#include <windows.h>

// Where the other title records its installed folder ("Local") and its CD ("CD").
inline constexpr char kTitlePathsKey[] = "Software\\Holvane\\PetimoFR\\Paths";

// The last resort's message box, in code page 1252 for MessageBoxA.
inline constexpr char kSetupErrorCaption[] = "Setup Error";
inline constexpr char kInsertCdText[] =
    "Veuillez ins\xE9rer le CD de Tavelo Tisbold et ex\xE9"
    "cuter le programme d'installation.";

// Values of the EnumWindows parameter of FindTitleWindowProc.
inline constexpr LPARAM kFindInstallerWindow = 0;
inline constexpr LPARAM kFindTitleWindow = 1;

enum class LaunchOutcome {
    TitleRunning,
    TitleStarted,
    InstallerRunning,
    SetupStartedFromCd,
    SetupStartedFromCurrentFolder,
    AskedForCd,
};

struct LaunchResult {
    LaunchOutcome outcome = LaunchOutcome::AskedForCd;
    // Handles of the started program, left open; all zero when nothing started.
    PROCESS_INFORMATION process = {};
};

// Tells the user that nothing could be started.
class SetupAlert {
public:
    virtual ~SetupAlert() = default;
    virtual void Show(const char* text, const char* caption) = 0;
};

class MessageBoxSetupAlert : public SetupAlert {
public:
    void Show(const char* text, const char* caption) override;
};

// EnumWindows callback: sets the found flag and stops at the first window of
// the other title (kFindTitleWindow) or of its installer (kFindInstallerWindow).
BOOL CALLBACK FindTitleWindowProc(HWND window, LPARAM mode);

// Brings the user to the other title: does nothing while it or an installer
// runs, else starts the installed title, else the CD's setup program, else the
// setup program below the current folder, else asks for the CD.
LaunchResult RunLauncher(SetupAlert& alert);
