// The main window's start: the screen size check through the metrics seam
// and where the stage lands once the menu bar is hidden.
#include <gtest/gtest.h>

#include "engine/stage.h"
#include "framework/heap.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell/stage.h"
#include "shell/stage_window.h"
#include "shell_fixture.h"

namespace {

struct Screen {
    static inline int width = 800;
    static inline int height = 600;
    static int WINAPI Metrics(int index)
    {
        if (index == SM_CXSCREEN)
            return width;
        if (index == SM_CYSCREEN)
            return height;
        return GetSystemMetrics(index);
    }
};

TEST(OpenDefaultTest, ScreenCheckAndStagePlace)
{
    RemoveSettingsKey();
    SetScreenMetrics(Screen::Metrics);
    SetAlertMessageBox(BoxScript::Show);
    struct Case {
        int width;
        int height;
        bool opens;
        Box stage;
    } cases[] = {
        {799, 600, false, {}},
        {800, 599, false, {}},
        {800, 600, true, {0, 0, 800, 600}},
        {1024, 768, true, {112, 84, 912, 684}},
        // An odd difference leaves the extra pixel right and below.
        {801, 601, true, {0, 0, 800, 600}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(OpenBuiltData());
        BoxScript::Reset();
        Screen::width = c.width;
        Screen::height = c.height;
        AFHeap heap;
        KVXApp app(&heap, -1);
        gApp = &app;
        EXPECT_EQ(c.opens, app.OpenDefault()) << c.width << "x" << c.height;
        if (c.opens) {
            ASSERT_NE(nullptr, app.Stage());
            EXPECT_EQ(c.stage, app.Stage()->StageBox()) << c.width << "x" << c.height;
            HWND window = FindWindowA("PennaroWindowClass", nullptr);
            EXPECT_EQ(app.StageWindow()->window, window);
            EXPECT_EQ(DWORD(WS_POPUP | WS_CLIPCHILDREN),
                      DWORD(GetWindowLongA(window, GWL_STYLE)) & (WS_POPUP | WS_CLIPCHILDREN |
                                                                  WS_CAPTION));
            EXPECT_EQ(nullptr, GetMenu(window));
            char title[64] = "";
            GetWindowTextA(window, title, sizeof(title));
            EXPECT_STREQ("Pennaro", title);
            EXPECT_TRUE(BoxScript::shown.empty());
        } else {
            ASSERT_EQ(1u, BoxScript::shown.size());
            EXPECT_EQ("Pennaro a besoin d'un \xE9" "cran d'au moins 800 \xD7 600 points.",
                      BoxScript::shown[0].text);
            EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), BoxScript::shown[0].style);
            EXPECT_EQ(nullptr, BoxScript::shown[0].owner);
            EXPECT_EQ(nullptr, app.StageWindow());
        }
        app.DeleteAllWindows();
        app.Terminate();
        CloseBuiltData();
        gApp = nullptr;
    }
    SetScreenMetrics(nullptr);
    SetAlertMessageBox(nullptr);
    RemoveSettingsKey();
}

}  // namespace
