#pragma once
// A painting screen for the tool tests: a stage driven from the test with a
// clock the test sets, a 64 x 48 canvas visual at (10, 10), settings and
// sound tables, a solid 5 x 5 nib, the application's cursors, a registry key
// of its own and a pick target that records what it is told.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "brush_test_support.h"
#include "brushes/std_brush.h"
#include "canvas/canvas_visual.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/stage_cursors.h"
#include "fake_canvas_scene.h"
#include "framework/registry_key.h"
#include "framework/tests/scratch_folder.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"
#include "resource_fixture.h"
#include "sound_fixture.h"
#include "stage_fixture.h"
#include "tools/palette_target.h"
#include "tools/tool_base.h"
#include "trays/sub_scene.h"

// The tables of the tests.
constexpr MMResourceId kTestToolTable = 900;
constexpr int32_t kPickCursor = 20;
constexpr int32_t kToolCursorKey = 10;
constexpr int32_t kToolCursor = 21;
constexpr const char* kTestKeyPath = "Software\\Holvane\\PennaroToolTests";

// A settings row of 48 bytes.
struct SettingsRow {
    int16_t values[14] = {0, 0, 0, 0, 255, 255, 0, 0, 255, 255, 1, 1, 0, 0};
    int16_t slider1 = 255;
    int16_t slider2 = 255;
    std::string prefix;
};

class RecordingPickTarget : public KVXPaletteTarget {
public:
    void NotifyPaletteMolecule(uint32_t colour) override { colours.push_back(colour); }
    std::vector<uint32_t> colours;
};

class TestHost : public KVXCreationHost {
public:
    MMBaseScene* HostScene() override { return scene; }
    KVXCanvasVisual* CreationCanvas() override { return canvas; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return plane; }
    KVXPlaneUChar* CanvasBytePlane() override { return bytes; }
    KVXPaletteTarget* ColorPickerOwner() override { return &picks; }
    MMCursor* AppCursor(int32_t n) override { return n >= 0 && n < 42 ? &cursors[n] : nullptr; }
    UURegistryKey* SettingsKey() override { return key.IsOpen() ? &key : nullptr; }
    KVXBrushScene* BrushScene() override { return nullptr; }

    MMBaseScene* scene = nullptr;
    KVXCanvasVisual* canvas = nullptr;
    KVXPlaneComponentTop* plane = nullptr;
    KVXPlaneUChar* bytes = nullptr;
    RecordingPickTarget picks;
    MMCursor cursors[42];
    UURegistryKey key;
};

typedef KVXBrushStdTransfer<KVXCoverTransfer, KVXPlainPixelTransfer, KVXHeightTransfer,
                            KVXColorGeneratorColor, KVXOpacityGeneratorNib>
    PlainBrush;

// A standard tool with a plain cover brush of the tool's colour.
class PlainTool : public KVXToolStd {
public:
    using KVXToolStd::KVXToolStd;
    void MakeBrush() override
    {
        BuildWriteAllBrush();
        SetBrush(MakeStdBrush<PlainBrush>(pressures, colour));
    }
    void SetSlider1(int16_t v) override { slider1Calls.push_back(v); }
    void SetSlider2(int16_t v) override { slider2Calls.push_back(v); }
    using KVXToolStd::pressures;
    std::vector<int16_t> slider1Calls;
    std::vector<int16_t> slider2Calls;
};

struct ToolFixture : ::testing::Test {
    ScratchFolder scratch;
    BareStage bare;
    CallLog calls;
    RecordingScene scene{&bare.stage, &calls};
    FakeCanvasScene canvasHost;
    BlankCanvas plane{64, 48};
    BytePlane texture{64, 48, 0};
    UndoSnapshot undo{plane};
    KVXCanvasVisual canvas{&scene, &canvasHost, {10, 10, 74, 58}, 10, &plane, &undo};
    TestHost host;
    MMResourceId nib = MM_NO_RESOURCE;
    std::vector<SettingsRow> rows = std::vector<SettingsRow>(3);
    std::vector<TestTable> extraTables;
    uint8_t colour[3] = {10, 20, 30};

    ToolFixture()
    {
        bare.stage.StartClock();
        host.scene = &scene;
        host.canvas = &canvas;
        host.plane = &plane;
        host.bytes = &texture;
        rows[0].prefix = "chalkTl";
        rows[1].prefix = "";
        rows[2].prefix = "x";
    }

    // Writes and opens the tables, sounds and the nib; tests may change the
    // rows first.
    void OpenData()
    {
        std::vector<TestPicture> pictures(1);
        pictures[0].width = 5;
        pictures[0].height = 5;
        pictures[0].bits = 8;
        pictures[0].ownTable = true;
        pictures[0].pixels.assign(size_t(pictures[0].Pitch()) * 5, 255);
        pictures[0].table = PatternTable(3);
        MMBitmap& b = pictures[0].bitmap;
        b.bitsPerPixel = 8;
        b.bytesPerPixel = 1;
        b.pixelKind = kPixelIndexed;
        b.transparencyKind = 0;
        b.box = Box{0, 0, 5, 5};
        b.pitch = pictures[0].Pitch();
        b.pixels = pictures[0].pixels.data();
        ASSERT_TRUE(WritePictureFile(scratch.folder, "t.MMP", pictures, {}));
        MMPictureLoader* loader = MMOpenPictureFile(scratch.folder, "t.MMP", false);
        ASSERT_NE(loader, nullptr);
        nib = loader->MakePictureId(0);

        std::vector<TestTable> tables;
        tables.push_back(SettingsTable(int16_t(kTestToolTable), rows, 0));
        std::vector<SettingsRow> eraser(5);
        tables.push_back(SettingsTable(int16_t(kWriteAllTable), eraser, 1));
        TestTable cursorTable;
        cursorTable.table = int16_t(kCursorTable);
        cursorTable.item = 2;
        for (auto [key, index] : {std::pair{0, kPickCursor}, std::pair{kToolCursorKey, kToolCursor}}) {
            PutShort(cursorTable.rows, int16_t(key));
            PutLong(cursorTable.rows, index);
            PutLong(cursorTable.rows, 0);
        }
        tables.push_back(cursorTable);
        int16_t item = 3;
        // Sound tables: start (sound 0), loop (1), two turn variants (2, 3).
        for (int16_t id : {int16_t(472), int16_t(463), int16_t(456), int16_t(465)}) {
            TestTable sound;
            sound.table = id;
            sound.item = item++;
            for (auto [key, n] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{2, 2}, std::pair{2, 3}}) {
                PutShort(sound.rows, int16_t(key));
                PutLong(sound.rows, MMMakeResourceId(kTestSoundCollection, int16_t(n)));
                PutLong(sound.rows, 0);
            }
            tables.push_back(sound);
        }
        for (TestTable t : extraTables) {
            t.item = item++;
            tables.push_back(t);
        }
        ASSERT_TRUE(WriteScriptFile(scratch.folder, "t.mms", tables, 1100, int16_t(MM_NO_CODE_PAGE),
                                    int16_t(MM_NO_CODE_PAGE)));
        ASSERT_TRUE(OpenScriptFile(scratch.folder, "t.mms"));
        std::vector<TestSound> sounds(4);
        for (TestSound& sound : sounds) {
            sound.samples = Tone(440, 2205, true);
            sound.source.stereo = true;
        }
        ASSERT_TRUE(WriteSoundFile(scratch.folder, "t.MMA", sounds));
        ASSERT_NE(CreateSoundLoader("t.MMA", scratch.folder, false), nullptr);
    }

    TestTable SettingsTable(int16_t id, const std::vector<SettingsRow>& settings, int16_t item)
    {
        TestTable t;
        t.table = id;
        t.item = item;
        t.rowSize = kToolRowSize;
        for (const SettingsRow& row : settings) {
            for (int16_t v : row.values)
                PutShort(t.rows, v);
            for (int i = 0; i < 4; ++i)
                PutShort(t.rows, 0);
            PutShort(t.rows, row.slider1);
            PutShort(t.rows, row.slider2);
            PutLong(t.rows, nib);
            PutLong(t.rows, int32_t(t.strings.size()));
            t.strings.insert(t.strings.end(), row.prefix.begin(), row.prefix.end());
            t.strings.push_back(0);
        }
        return t;
    }

    void OpenKey()
    {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKeyPath);
        ASSERT_TRUE(host.key.Open(HKEY_LOCAL_MACHINE, kTestKeyPath));
    }

    ~ToolFixture() override
    {
        if (host.key.IsOpen()) {
            host.key.Close();
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, kTestKeyPath);
        }
        DeleteAllSoundCollections();
        CloseAllScriptFiles();
        DeleteAllPictureCollections();
    }

    // A pointer event at a stage point.
    MMStageEvent Event(int32_t x, int32_t y, uint32_t flags) const
    {
        return MMStageEvent{kStageEventPointer, 0, 0, x, y, flags};
    }
    void Pass() { bare.stage.RunDueTasks(); }
    void Queue(int32_t x, int32_t y, int16_t cursor = kMouseCursor, int16_t pressure = 255)
    {
        bare.stage.QueuePointerSample(MMPointerSample{x, y, cursor, pressure});
    }
};
