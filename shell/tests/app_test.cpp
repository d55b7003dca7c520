// The application object: its state at construction and the lookups of
// scenes, cursors and transitions that every screen goes through.
#include <gtest/gtest.h>

#include <string>
#include <windows.h>

#include "engine/stage_cursors.h"
#include "framework/folders.h"
#include "framework/heap.h"
#include "media/sound/sound_format.h"
#include "shell/app.h"

namespace {

TEST(AppTest, ConstructionSetsItsValues)
{
    AFHeap heap;
    SoundFormat = 10;
    KVXApp app(&heap, -1);
    EXPECT_EQ(26u, SoundFormat);
    EXPECT_EQ(13402, app.DisplayMode());
    EXPECT_FALSE(app.QuitFlag());
    EXPECT_EQ(nullptr, app.Stage());
    EXPECT_EQ(nullptr, app.CanvasPlane());
    EXPECT_STREQ("", app.Folder(0));
}

TEST(AppTest, LookupsOutsideTheirTablesYieldNull)
{
    AFHeap heap;
    KVXApp app(&heap, -1);
    MMCursor first;
    MMCursor last;
    app.SetCursorSlot(0, &first);
    app.SetCursorSlot(41, &last);
    struct Case {
        int32_t n;
        MMCursor* cursor;
    } cases[] = {{0, &first}, {41, &last}, {42, nullptr}, {-1, nullptr},
                 // taken as a 16-bit number
                 {0x10000, &first}, {0x10029, &last}};
    for (const Case& c : cases)
        EXPECT_EQ(c.cursor, app.GetCursor(c.n)) << c.n;
    for (int32_t n : {-1, 7, 100})
        EXPECT_EQ(nullptr, app.GetScene(n)) << n;
    EXPECT_EQ(nullptr, app.GetTransition(22));
    app.SetCursorSlot(0, nullptr);
    app.SetCursorSlot(41, nullptr);
}

TEST(AppTest, FilesNamedOnTheCommandLineAreRefused)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string path = std::string(temp) + "pennaro-dropped.png";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    AFHeap heap;
    KVXApp app(&heap, -1);
    EXPECT_FALSE(app.OpenFile(FSDirectory(temp), "pennaro-dropped.png"));
    // Offered and refused: the run then opens the main window.
    EXPECT_FALSE(app.OpenFilesNamedIn(("atelier.exe \"" + path + "\"").c_str()));
    DeleteFileA(path.c_str());
}

}  // namespace
