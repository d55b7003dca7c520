#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/command.h"
#include "engine/molecule.h"
#include "media/enclosure_visual.h"
#include "media/visual.h"
#include "stage_fixture.h"

namespace {

class Member : public MMMolecule {
public:
    Member(MMBaseScene* scene, CallLog* log, const char* name)
        : MMMolecule(scene), log(log), name(name) {}
    void Show() override { log->push_back(std::string("show ") + name); }
    void GainFocus() override
    {
        MMMolecule::GainFocus();
        log->push_back(std::string("gain ") + name);
    }
    void LoseFocus() override
    {
        MMMolecule::LoseFocus();
        log->push_back(std::string("lose ") + name);
    }
    void FrameDone() override
    {
        log->push_back(std::string("frame ") + name);
        if (onFrame)
            onFrame();
    }
    CallLog* log;
    const char* name;
    std::function<void()> onFrame;
};

class FocusScene : public RecordingScene {
public:
    using RecordingScene::RecordingScene;
    void TakeKeyboardFocus() override { takes++; }
    void NotifyFrameDone() override { MMBaseScene::NotifyFrameDone(); }
    int takes = 0;
};

struct SceneTest : ::testing::Test {
    BareStage bare;
    MMStage& stage = bare.stage;
    CallLog log;
    FocusScene scene{&stage, &log};
};

TEST_F(SceneTest, FocusMovesAndDeletingTheFocusedMoleculeDropsIt)
{
    Member* a = new Member(&scene, &log, "a");
    Member* b = new Member(&scene, &log, "b");
    scene.SetFocus(a);
    scene.SetFocus(b);
    scene.SetFocus(nullptr);
    scene.SetFocus(a);
    EXPECT_EQ(log, (CallLog{"gain a", "lose a", "gain b", "lose b", "gain a"}));
    EXPECT_EQ(scene.takes, 2) << "only when there was no focus before";
    log.clear();
    // The scene drops the focus from the molecule's base destructor, where
    // only the base LoseFocus can run: nothing reaches the deleted member.
    delete a;
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scene.Focus(), nullptr);
    scene.SetFocus(b);
    EXPECT_EQ(log, (CallLog{"gain b"})) << "the deleted molecule is not told again";
    EXPECT_EQ(scene.takes, 3) << "the scene had no focus left";
    std::unique_ptr<MMCommand> show(b->MakeShowCommand());
    show->Post();
    stage.RunQueue()->RunOnce();
    EXPECT_EQ(log.back(), "show b") << "the command runs the molecule's own Show";
    scene.DeleteMolecules();
    EXPECT_TRUE(scene.Molecules().empty());
}

TEST_F(SceneTest, RegistrationsCanChangeDuringANotification)
{
    Member* a = new Member(&scene, &log, "a");
    Member* b = new Member(&scene, &log, "b");
    scene.AddNotificationRegistration(a, kNotifyFrameDone);
    scene.AddNotificationRegistration(a, kNotifyFrameDone);
    scene.AddNotificationRegistration(b, kNotifyFrameDone);
    scene.RemoveNotificationRegistration(a, kNotifyFrameDone);
    EXPECT_TRUE(scene.HasNotificationRegistration(a, kNotifyFrameDone));
    a->onFrame = [&] { scene.RemoveNotificationRegistration(b, kNotifyFrameDone); };
    scene.NotifyFrameDone();
    EXPECT_EQ(log, (CallLog{"frame a"})) << "b left during the loop and is not called";
    scene.DeleteMolecules();
    log.clear();
    scene.NotifyFrameDone();
    EXPECT_TRUE(log.empty()) << "deleted molecules are not notified";
}

TEST_F(SceneTest, LayersDrawAndHitInOrder)
{
    MMEnclosure& top = *stage.TopEnclosure();
    MMBoxVisual first(Box{0, 0, 10, 10}, 5);
    MMBoxVisual second(Box{0, 0, 10, 10}, 5);
    MMBoxVisual low(Box{0, 0, 10, 10}, -3);
    top.AddVisual(&first);
    top.AddVisual(&second);
    top.AddVisual(&low);
    EXPECT_EQ(top.Visuals(), (std::vector<MMVisual*>{&low, &first, &second}));
    EXPECT_EQ(top.FindVisualAt(Pair{5, 5}), &second);
    second.SetHidden(true);
    EXPECT_EQ(top.FindVisualAt(Pair{5, 5}), &first);
    for (MMVisual* visual : {&first, &second, &low})
        top.RemoveVisual(visual);
}

TEST_F(SceneTest, ChildEnclosureConvertsAndClipsThroughItsOrigin)
{
    MMEnclosure& top = *stage.TopEnclosure();
    MMChildEnclosure* child = new MMChildEnclosure(100, 50);
    MMEnclosureVisual panel(child);
    panel.SetBox(Box{100, 50, 140, 80});
    top.AddVisual(&panel);
    EXPECT_EQ(child->GetBounds(), (Box{0, 0, 40, 30}));
    EXPECT_TRUE(child->IsInside(&top));
    EXPECT_FALSE(child->IsInside(nullptr));
    Pair point = {110, 60};
    child->PointFromStage(point);
    EXPECT_EQ(point, (Pair{10, 10}));
    child->PointToStage(point);
    EXPECT_EQ(point, (Pair{110, 60}));

    stage.RedrawDirty();
    stage.FrameTick();  // empties the dirty list
    child->Invalidate(Box{30, 20, 60, 60});
    ASSERT_EQ(stage.DirtyList().Count(), 1);
    EXPECT_EQ(stage.DirtyList().At(0), (Box{130, 70, 140, 80}));
    top.RemoveVisual(&panel);
}

}  // namespace
