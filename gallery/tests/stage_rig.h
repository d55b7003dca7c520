#pragma once
// An 800 x 600 stage stepped by hand on the fake clock, with the program's
// data, texts and sounds, the application's settings and a small canvas
// plane, over real books in a scratch folder: the stage of the gallery's
// panel tests and of the slideshow's.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "canvas/plane.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_list.h"
#include "page_fixture.h"
#include "shell/app.h"
#include "shell/registry_settings.h"
#include "shell_fixture.h"
#include "stage_fixture.h"

class GalleryStageTest : public BookTest {
protected:
    static constexpr int32_t kWidth = 64;
    static constexpr int32_t kHeight = 48;

    void SetUp() override
    {
        BookTest::SetUp();
        // The program's own texts and layout.
        SetGalleryTextSource(nullptr);
        gApp = &app;
        RemoveSettingsKey();
        ASSERT_TRUE(OpenBuiltData());
        ASSERT_TRUE(OpenBuiltSounds());
        settings.reset(new RegistrySettings);
        settings->Open();
        app.SetSettingsForTest(settings.get());
        plane.reset(new KVXPlaneComponentTop({kWidth, kHeight}));
        app.SetCanvasForTest(plane.get(), nullptr);
        ASSERT_TRUE(FSCreateSubfolder(scratch.folder, "Corbeille", trashFolder));
        FakeClock::now = 1000;
        stage.SetClock(FakeClock::Now);
        stage.StartClock();
    }
    void TearDown() override
    {
        if (stage.Scene() != nullptr)
            stage.Scene()->DeleteMolecules();
        ReleaseScenes();
        for (int32_t n = 0; n < kSceneCount; ++n)
            app.SetSceneSlot(n, nullptr);
        app.SetSketchbookListForTest(nullptr);
        list.reset();
        app.SetCanvasForTest(nullptr, nullptr);
        app.SetSettingsForTest(nullptr);
        settings.reset();
        RemoveSettingsKey();
        CloseBuiltData();
        gApp = nullptr;
        BookTest::TearDown();
    }
    // The test's own scenes go before the stage and the application.
    virtual void ReleaseScenes() {}

    // The books of the scratch folder as the application's list, the first
    // one current.
    void UseBooks()
    {
        list.reset(new MpSketchbookList(scratch.folder, trashFolder, blank.content));
        ASSERT_TRUE(list->ScanFolder());
        ASSERT_TRUE(list->OpenTrash(false));
        ASSERT_TRUE(list->SelectBook(0));
        app.SetSketchbookListForTest(list.get());
    }
    void EnterScene(MMScene* scene)
    {
        stage.SetPendingScene(scene, nullptr, nullptr);
        stage.ChangeSceneOrDispatch();
    }
    void Step(int32_t ms = 20)
    {
        FakeClock::now += ms;
        stage.ChangeSceneOrDispatch();
        stage.RunDueTasks();
        stage.RedrawDirty();
        stage.FrameTick();
    }
    void Pointer(int32_t x, int32_t y, uint32_t flags)
    {
        MMStageEvent event = {kStageEventPointer, 0, 0, x, y, flags};
        stage.QueueInputEvent(event);
        Step();
    }
    void Click(const Pair& at)
    {
        Pointer(at.x, at.y, kPointerPressed | kPointerHeld);
        Pointer(at.x, at.y, kPointerReleased);
    }

    AFHeap heap;
    KVXApp app{&heap, -1};
    CallLog log;
    MMStage stage{nullptr, Box{0, 0, 800, 600}, 32, new RecordingSound(&log), nullptr, nullptr,
                  nullptr};
    std::unique_ptr<RegistrySettings> settings;
    std::unique_ptr<KVXPlaneComponentTop> plane;
    std::unique_ptr<MpSketchbookList> list;
    FSDirectory trashFolder;
    RealCanvas blank{kWidth, kHeight};
};
