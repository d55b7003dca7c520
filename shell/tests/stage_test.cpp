// The application stage on its real thread, with the real main window, menu
// and shortcuts: menu commands, volume steps, preference toggles, quitting
// with one leave step, and the pause and volume hand-over on (de)activation.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "engine/stage_control.h"
#include "framework/heap.h"
#include "framework/registry_key.h"
#include "media/sound/sound_manager.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell/creation_scene.h"
#include "shell/registry_settings.h"
#include "shell/stage.h"
#include "shell/stage_window.h"
#include "shell_fixture.h"
#include "window_fixture.h"

namespace {

struct FakeWaveOut {
    static inline DWORD systemVolume = 0;
    static inline std::mutex lock;
    static inline std::vector<int32_t> set;
    static UINT WINAPI Devices() { return 1; }
    static MMRESULT WINAPI Get(HWAVEOUT, LPDWORD volume)
    {
        *volume = systemVolume;
        return MMSYSERR_NOERROR;
    }
    static MMRESULT WINAPI Set(HWAVEOUT, DWORD volume)
    {
        std::lock_guard<std::mutex> hold(lock);
        set.push_back(int32_t((volume & 0xFFFF) >> 6));
        return MMSYSERR_NOERROR;
    }
    static int32_t Last()
    {
        std::lock_guard<std::mutex> hold(lock);
        return set.empty() ? -1 : set.back();
    }
};

// The creation scene, noting the menu commands the stage leaves to it.
class NotingScene : public CreationScene {
public:
    using CreationScene::CreationScene;
    bool HandleMenuCommand(int32_t id) override
    {
        std::lock_guard<std::mutex> hold(lock);
        seen.push_back(id);
        return false;
    }
    bool Saw(int32_t id)
    {
        std::lock_guard<std::mutex> hold(lock);
        for (int32_t s : seen)
            if (s == id)
                return true;
        return false;
    }
    std::vector<int32_t> Seen()
    {
        std::lock_guard<std::mutex> hold(lock);
        return seen;
    }
    void Forget()
    {
        std::lock_guard<std::mutex> hold(lock);
        seen.clear();
    }

private:
    std::mutex lock;
    std::vector<int32_t> seen;
};

const AFWindowClass kMainClass = {
    CS_OWNDC | CS_DBLCLKS, 0, 0, false, nullptr, nullptr, false, IDC_ARROW,
    static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), "menu", "ShellTestStageWindow",
    AFWindow::WindowProc};

const int32_t kSync = 13601;  // left to the scene: marks that earlier commands ran

struct StageTest : ::testing::Test {
    AFHeap heap;
    KVXApp* app = nullptr;
    RegistrySettings* settings = nullptr;
    KVXStageWindow* window = nullptr;
    KVXStage* stage = nullptr;
    NotingScene* scene = nullptr;
    MMWaveOutCalls savedCalls = gWaveOutCalls;

    void SetUp() override
    {
        RemoveSettingsKey();
        ASSERT_TRUE(OpenBuiltData());
        BoxScript::Reset();
        SetAlertMessageBox(BoxScript::Show);
        FakeWaveOut::systemVolume = 512 << 6;
        FakeWaveOut::set.clear();
        gWaveOutCalls = {FakeWaveOut::Devices, FakeWaveOut::Get, FakeWaveOut::Set};
        app = new KVXApp(&heap, -1);
        gApp = app;
        app->uiThreadId = GetCurrentThreadId();
        app->LoadAcceleratorTable();
        settings = new RegistrySettings;
        settings->Open();
        app->SetSettingsForTest(settings);
        AFWindowCreation creation = {&kMainClass, Box{0, 0, 800, 600}, WS_POPUP, 0};
        window = new KVXStageWindow(creation);
        app->SetStageWindowForTest(window);
        stage = new KVXStage(window, Box{0, 0, 800, 600});
        app->SetStageForTest(stage);
        scene = new NotingScene(stage, nullptr, nullptr);
        app->SetSceneSlot(kSceneCreation, scene);
        ASSERT_TRUE(stage->StartWithScene(scene));
        ASSERT_TRUE(PumpUntil([&] { return stage->Scene() == scene; }));
    }
    void TearDown() override
    {
        if (!app)
            return;
        EndStage();
        app->SetSettingsForTest(nullptr);
        delete settings;
        gApp = nullptr;
        delete app;
        app = nullptr;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        gWaveOutCalls = savedCalls;
        SetAlertMessageBox(nullptr);
        CloseBuiltData();
        RemoveSettingsKey();
    }
    void EndStage()
    {
        if (!window)
            return;
        delete window;  // stops the stage thread; the stage ends its scene
        window = nullptr;
        stage = nullptr;
        scene = nullptr;
        app->SetStageWindowForTest(nullptr);
        app->SetStageForTest(nullptr);
        app->SetSceneSlot(kSceneCreation, nullptr);
    }
    // Gives the stage the command the way the menu does, and waits until it
    // and everything before it has run.
    void Command(int32_t id)
    {
        window->HandleCommand(uint16_t(id));
        scene->Forget();
        window->HandleCommand(uint16_t(kSync));
        ASSERT_TRUE(PumpUntil([&] { return scene->Saw(kSync); })) << id;
    }
    int32_t Setting(const char* name)
    {
        int32_t value = -1;
        settings->ReadLong(name, -1, value);
        return value;
    }
    std::vector<int32_t> CheckedVolumes()
    {
        std::vector<int32_t> checked;
        for (int32_t id = 13001; id <= 13008; ++id)
            if (window->IsMenuItemChecked(UINT(id)))
                checked.push_back(id);
        return checked;
    }
};

TEST_F(StageTest, VolumeCommandsKeepOneCheckAndTheLevel)
{
    struct Case {
        std::vector<int32_t> commands;
        int32_t level;
        int32_t wave;
    } cases[] = {
        {{13001}, 0, 0},
        {{13008}, 7, 1023},  // the device's scale stops at 1023
        {{13004}, 3, 438},
        {{13005, 13009}, 5, 731},
        {{13005, 13010}, 3, 438},
        {{13008, 13009}, 7, 1023},  // the ends rewrite the same level
        {{13001, 13010}, 0, 0},
    };
    for (const Case& c : cases) {
        for (int32_t id : c.commands)
            Command(id);
        EXPECT_EQ(c.level, Setting("Volume")) << c.commands.back();
        EXPECT_EQ(std::vector<int32_t>{13001 + c.level}, CheckedVolumes()) << c.commands.back();
        EXPECT_EQ(c.wave, FakeWaveOut::Last()) << c.commands.back();
    }
    EXPECT_EQ(std::vector<int32_t>{kSync}, scene->Seen());
    // The volume keys step the same way.
    struct Key {
        char c;
        int32_t level;
    } keys[] = {{'+', 1}, {'=', 2}, {'-', 1}, {'_', 0}, {'_', 0}};
    for (const Key& k : keys) {
        MMStageEvent event = {kStageEventKey, 0, 0, 0, 0,
                              MMStageEvent::KeyData(0, uint8_t(k.c), 0)};
        stage->QueueInputEvent(event);
        Command(kSync);
        // The key comes through the input ring, which may be read after the command.
        PumpUntil([&] { return Setting("Volume") == k.level; });
        EXPECT_EQ(k.level, Setting("Volume")) << k.c;
        EXPECT_EQ(std::vector<int32_t>{13001 + k.level}, CheckedVolumes()) << k.c;
    }
}

TEST_F(StageTest, PreferencesToggleAndTheSceneSeesWhatIsLeftToIt)
{
    struct Case {
        int32_t id;
        const char* name;
        bool reachesScene;
    } cases[] = {
        {13101, "AutoSave", false},
        {13102, "Printing", true},
        {13103, "Fancy Printing", false},
        {13104, "TrashCan", true},
        {13105, "Duplicate", true},
    };
    for (const Case& c : cases) {
        Command(c.id);
        EXPECT_EQ(1, Setting(c.name)) << c.name;
        EXPECT_TRUE(window->IsMenuItemChecked(UINT(c.id))) << c.name;
        std::vector<int32_t> seen = scene->Seen();
        Command(c.id);
        EXPECT_EQ(0, Setting(c.name)) << c.name;
        EXPECT_FALSE(window->IsMenuItemChecked(UINT(c.id))) << c.name;
        EXPECT_EQ(c.reachesScene, seen.front() == c.id) << c.name;
    }
    // The relative tablet asks first: Cancel changes nothing, OK writes.
    BoxScript::answers = {IDCANCEL};
    Command(13106);
    EXPECT_EQ(-1, Setting("Relative Tablet Support"));
    EXPECT_FALSE(window->IsMenuItemChecked(13106));
    ASSERT_EQ(1u, BoxScript::shown.size());
    EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONHAND), BoxScript::shown[0].style);
    EXPECT_EQ("'Relative Tablet' mode will not be activated until 'Tavelo's Pennaro' is restarted",
              BoxScript::shown[0].text);
    Command(13106);
    EXPECT_EQ(1, Setting("Relative Tablet Support"));
    EXPECT_TRUE(window->IsMenuItemChecked(13106));
}

TEST_F(StageTest, AboutShowsTheTextOfTheTable)
{
    Command(12801);
    ASSERT_EQ(1u, BoxScript::shown.size());
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), BoxScript::shown[0].style);
    EXPECT_EQ(0u, BoxScript::shown[0].text.find("Pennaro, l'atelier"));
    EXPECT_EQ(window->window, BoxScript::shown[0].owner);
}

// The shortcut's key as the stage thread would see it, with the modifier down.
void PressShortcut(KVXApp* app, UINT message, WPARAM key, int modifier)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE saved = keys[modifier];
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    LPARAM data = message == WM_SYSKEYDOWN ? (1 << 29) : 0;
    MSG msg = {app->StageWindow()->window, message, key, data, 0, {0, 0}};
    EXPECT_TRUE(TranslateAcceleratorA(app->StageWindow()->window, app->Accelerators(), &msg));
    keys[modifier] = saved;
    SetKeyboardState(keys);
}

TEST_F(StageTest, QuittingRunsTheLeaveStepOnce)
{
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        int modifier;  // 0: the menu command 12906 itself
    } cases[] = {
        {"menu", 0, 0, 0},
        {"Ctrl+Q", WM_KEYDOWN, 'Q', VK_CONTROL},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, VK_MENU},
    };
    for (const Case& c : cases) {
        if (!window)
            SetUp();
        EXPECT_EQ(0, app->LeaveStepCount());
        if (c.modifier == 0)
            window->HandleCommand(12906);
        else
            PressShortcut(app, c.message, c.key, c.modifier);
        // The stage thread posts the quit message before it sets the flag.
        bool sawQuit = false;
        DWORD start = GetTickCount();
        while (!(sawQuit && app->QuitFlag()) && GetTickCount() - start < 20000) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT)
                    sawQuit = true;
                else
                    DispatchMessageA(&message);
            }
            Sleep(1);
        }
        EXPECT_TRUE(app->QuitFlag()) << c.name;
        EXPECT_TRUE(sawQuit) << c.name;
        EXPECT_EQ(1, app->LeaveStepCount()) << c.name;
        EndStage();
        EXPECT_EQ(1, app->LeaveStepCount()) << c.name;
        TearDown();
    }
}

TEST_F(StageTest, VolumeAtStartAndActivationPauseAndResume)
{
    // No "Volume" and a system volume of 512: 3.5 rounds to 4 at start...
    EXPECT_EQ(4, Setting("Volume"));
    EXPECT_EQ(585, FakeWaveOut::Last());
    // Let the window's own activation notices arrive first.
    DWORD settle = GetTickCount();
    PumpUntil([&] { return GetTickCount() - settle > 2000; });
    while (stage->PauseCount() > 0)
        stage->Resume();
    HWND control = stage->Control()->Window();
    FakeWaveOut::systemVolume = 300 << 6;
    SendMessageA(control, kNotifyDeactivated, 0, 0);
    EXPECT_EQ(1, stage->PauseCount());
    EXPECT_EQ(512, FakeWaveOut::Last());  // the user's own volume back
    UURegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, SettingsKeyPath()));
    key.DeleteValue("Volume");
    FakeWaveOut::systemVolume = 512 << 6;
    SendMessageA(control, kNotifyActivated, 0, 0);
    // ...and is cut to 3 on activation.
    EXPECT_EQ(3, Setting("Volume"));
    EXPECT_EQ(438, FakeWaveOut::Last());
    EXPECT_EQ(0, stage->PauseCount());
    // Activation never resumes below zero.
    SendMessageA(control, kNotifyActivated, 0, 0);
    EXPECT_EQ(0, stage->PauseCount());
}

TEST_F(StageTest, MenuMarksFollowTheSettings)
{
    settings->SetVolume(5);
    settings->SetAutoSave(0);
    settings->SetPrinting(0);
    settings->SetRelativeTablet(1);
    window->Show(true);
    // A test of another folder may show its window in front at that moment:
    // the window is brought to the front again until it is the active one.
    ASSERT_TRUE(PumpUntil([&] {
        if (!window->IsActive())
            window->BringToForeground();
        return window->IsActive();
    }));
    window->InitMenu();
    EXPECT_EQ(std::vector<int32_t>{13006}, CheckedVolumes());
    EXPECT_FALSE(window->IsMenuItemChecked(13101));
    EXPECT_FALSE(window->IsMenuItemChecked(13102));
    EXPECT_EQ(UINT(MF_GRAYED), GetMenuState(window->menu, 12902, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(window->IsMenuItemChecked(13104));
    EXPECT_TRUE(window->IsMenuItemChecked(13105));
    EXPECT_TRUE(window->IsMenuItemChecked(13106));
    EXPECT_FALSE(window->IsMenuItemChecked(13103));
}

}  // namespace
