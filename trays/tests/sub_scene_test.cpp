// A sub-scene borrows the creation scene's stage and enclosure and reads its
// canvas objects; it owns and deletes its molecules like any scene.
#include <gtest/gtest.h>

#include "canvas/plane.h"
#include "engine/molecule.h"
#include "stage_fixture.h"
#include "trays/sub_scene.h"

namespace {

class Host : public KVXCreationHost {
public:
    MMBaseScene* HostScene() override { return scene; }
    KVXCanvasVisual* CreationCanvas() override { return nullptr; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return plane; }
    KVXPlaneUChar* CanvasBytePlane() override { return &bytes; }
    KVXPaletteTarget* ColorPickerOwner() override { return nullptr; }
    MMCursor* AppCursor(int32_t) override { return nullptr; }
    UURegistryKey* SettingsKey() override { return nullptr; }
    KVXBrushScene* BrushScene() override { return nullptr; }

    MMBaseScene* scene = nullptr;
    KVXPlaneComponentTop* plane = nullptr;
    KVXPlaneUChar bytes;
};

class Tray : public KVXSubScene {
public:
    using KVXSubScene::KVXSubScene;
    void Begin() override { new MMMolecule(this); }
};

TEST(SubScene, BorrowsTheCreationScenesStageAndReadsItsPlanes)
{
    BareStage bare;
    CallLog calls;
    RecordingScene creation(&bare.stage, &calls);
    KVXPlaneComponentTop plane({4, 3});
    Host host;
    host.scene = &creation;
    host.plane = &plane;
    Tray tray(&host);
    EXPECT_EQ(tray.Stage(), &bare.stage);
    EXPECT_EQ(tray.TopEnclosure(), creation.TopEnclosure());
    EXPECT_EQ(tray.GetCanvasComponentPlane(), &plane);
    EXPECT_EQ(tray.GetCanvasBytePlane(), &host.bytes);
    EXPECT_EQ(tray.GetCreationCanvas(), nullptr);
    tray.TakeKeyboardFocus();  // no control window: nothing to focus

    for (int visit = 0; visit < 2; ++visit) {
        tray.Begin();
        EXPECT_EQ(tray.Molecules().size(), 1u);
        tray.DeleteMolecules();
        EXPECT_TRUE(tray.Molecules().empty());
    }

    Tray orphan(nullptr);
    EXPECT_EQ(orphan.Stage(), nullptr);
    EXPECT_EQ(orphan.GetCanvasComponentPlane(), nullptr);
}

}  // namespace
