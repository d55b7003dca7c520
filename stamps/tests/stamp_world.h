#pragma once
// A painting screen for the stamp tests: a stage without a window driven
// step by step, a host scene, the canvas on its plane, the data files the
// build wrote, and a stamp manager on them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "canvas/canvas_scene.h"
#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "canvas/undo_snapshot.h"
#include "engine/enclosure.h"
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "engine/run_queue.h"
#include "engine/scene.h"
#include "engine/script_file.h"
#include "engine/stage.h"
#include "engine/tests/built_data.h"
#include "fake_canvas_scene.h"
#include "framework/heap.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "shell/alert_box.h"
#include "stage_fixture.h"
#include "stamps/stamp_host.h"
#include "stamps/stamp_kinds.h"
#include "stamps/stamp_manager.h"
#include "stamps/stamp_selector.h"

class StampHostScene : public MMScene {
public:
    using MMScene::MMScene;
    void Begin() override {}
};

// What the manager told the painting screen.
class RecordingStampLink : public KVXStampSceneLink {
public:
    bool UpdateStampButtons() override
    {
        log.push_back("buttons");
        return true;
    }
    void UpdatePageGenre(int16_t genre) override { log.push_back("genre " + std::to_string(genre)); }
    void MarkCurrentPageModified() override { log.push_back("modified"); }
    bool HasRadio() const override { return radio; }
    void SaveRadio(int16_t words[4]) override
    {
        words[0] = 2;
        words[1] = station;
        words[2] = 700;
        words[3] = 2;
    }
    void LoadRadio(const int16_t words[4]) override { station = words[1]; }
    void SelectStation(int16_t s) override { log.push_back("station " + std::to_string(s)); }

    std::vector<std::string> log;
    bool radio = false;
    int16_t station = 4;
};

inline int WINAPI SilentAlert(HWND, LPCSTR text, LPCSTR, UINT)
{
    extern std::vector<std::string> gStampAlerts;
    gStampAlerts.push_back(text ? text : "");
    return IDOK;
}

class StampWorld : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        FSDirectory folder = BuiltDataFolder();
        ASSERT_TRUE(OpenScriptFile(folder, "Hd.mms"));
        for (const char* name : {"Hd.MMP", "App.MMP", "Stmp1.MMP", "Stmp2.MMP"})
            ASSERT_NE(nullptr, MMOpenPictureFile(folder, name, false)) << name;
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        CloseAllScriptFiles();
    }

    void SetUp() override
    {
        extern std::vector<std::string> gStampAlerts;
        gStampAlerts.clear();
        SetAlertMessageBox(SilentAlert);
        CanvasBox = {144, 16, 784, 496};
        FakeClock::now = 1000;
        stage = new MMStage(nullptr, Box{0, 0, 800, 600}, 32, new RecordingSound(&soundLog),
                            nullptr, nullptr, nullptr);
        stage->SetClock(FakeClock::Now);
        host = new StampHostScene(stage);
        stage->SetPendingScene(host, nullptr, nullptr);
        stage->StartClock();
        stage->ChangeSceneOrDispatch();
        plane.Fill(kBlankPixel);
        canvas = new KVXCanvasVisual(host, &canvasHost, CanvasBox, 10, &plane, &undo);
        canvas->SetDrawMethod(kDrawStatic, 0, 0);
        stage->TopEnclosure()->AddVisual(canvas);
        creation = new KVXStampHost(host, canvas);
        manager = new KVXStampManager(creation);
        manager->SetPictureCollection(&rendered);
        manager->SetSceneLink(&link);
    }
    void TearDown() override
    {
        delete manager;
        delete creation;
        stage->TopEnclosure()->RemoveVisual(canvas);
        delete canvas;
        delete host;
        delete stage;
        SetAlertMessageBox(nullptr);
        CanvasBox = {0, 0, 0, 0};
    }

    // Runs the stage's queued commands.
    void Step(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            FakeClock::now += 16;
            stage->ChangeSceneOrDispatch();
            stage->RunDueTasks();
        }
    }

    void Press(int32_t x, int32_t y, uint32_t flags)
    {
        MMStageEvent event = {kStageEventPointer, 0, 0, x, y, flags};
        stage->DispatchMouseEvent(event);
    }

    // The table of a drawer entry: genre g, page p, entry e of table 996.
    static MMResourceId EntryTable(int16_t g, int16_t p, int16_t e)
    {
        MMResourceId genre = MMItemOfRow(996, 2, g);
        MMResourceId page = MMItemOfRow(genre, 2, p);
        return MMItemOfRow(page, 0, e);
    }
    // Places the entry's stamps at the point, as a drop from the drawer does.
    void Drop(MMResourceId entry, int32_t x, int32_t y)
    {
        MMRecordTable table;
        table.Load(entry, 10, gDefaultHeap);
        manager->PlaceStampsFromTable(&table, x, y);
        table.Free();
    }
    // A stamp made from one stamp table (character, prop or layer).
    KVXStampBase* Make(MMResourceId entry, int32_t x, int32_t y, bool select = true)
    {
        MMResourceId stampTable = MMItemOfRow(entry, 1, 0);
        MMRecordTable table;
        table.Load(stampTable, 10, gDefaultHeap);
        KVXStampValues values = StampValuesFromTable(table);
        int32_t codeRow = table.FindRowByKey(0);
        int16_t code = table.ShortAt(codeRow, 2);
        table.Free();
        int32_t kind = code == 0 ? 0 : code == 1 ? 1 : code == 3 ? 2 : values.kind;
        KVXStampBase* stamp = manager->CreateStampFromTable(stampTable, kind, x, y);
        if (stamp)
            manager->AddStamp(stamp, select);
        return stamp;
    }

    std::vector<std::string> soundLog;
    MMStage* stage = nullptr;
    StampHostScene* host = nullptr;
    FakeCanvasScene canvasHost;
    KVXPlaneComponentTop plane{Pair{640, 480}};
    UndoSnapshot undo{plane};
    KVXCanvasVisual* canvas = nullptr;
    MMBitmapPictureCollection rendered{64, 0x4500};
    RecordingStampLink link;
    KVXStampHost* creation = nullptr;
    KVXStampManager* manager = nullptr;
};
