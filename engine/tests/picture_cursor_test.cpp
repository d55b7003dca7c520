// The picture cursor follows pointer events on the stage while it is shown
// and never takes the mouse.
#include <gtest/gtest.h>
#include "engine/picture_cursor.h"
#include "engine/picture_loader.h"
#include "engine/stage.h"
#include "framework/pending_error.h"
#include "resource_fixture.h"
#include "stage_fixture.h"

namespace {

TEST(PictureCursorTest, FollowsThePointerWhileShown)
{
    TempFolder temp;
    ASSERT_TRUE(WritePictureFile(temp.Folder(), "c.MMP", StandardPictures(), StandardSharedTables()));
    MMPictureLoader* loader = MMOpenPictureFile(temp.Folder(), "c.MMP", false);
    ASSERT_NE(nullptr, loader);
    BareStage bare;
    MMStage& stage = bare.stage;
    {
        MMPictureReference picture;
        picture.Load(loader->MakePictureId(0));
        MMPictureCursor cursor(&stage, picture, 2, 3);
        MMPictureVisual* visual = cursor.Visual();
        EXPECT_TRUE(visual->IsHidden());
        EXPECT_EQ(2, loader->ReferenceManager()->UseCount(0));  // ours and the visual's

        stage.StoreEvent(MMStageEvent{kStageEventPointer, 0, 0, 40, 50, 0});
        EXPECT_TRUE(visual->IsHidden());  // not shown yet
        cursor.Activate();
        EXPECT_FALSE(visual->IsHidden());
        EXPECT_EQ(Pair({38, 47}), visual->GetPosition());
        stage.StoreEvent(MMStageEvent{kStageEventPointer, 0, 0, 60, 70, 0});
        EXPECT_EQ(Pair({58, 67}), visual->GetPosition());
        EXPECT_FALSE(visual->ContainsPoint(60, 70));
        EXPECT_EQ(nullptr, stage.TopEnclosure()->FindVisualAt(Pair{60, 70}));
        stage.StoreEvent(MMStageEvent{kStageEventMenuCommand, 0, 0, 0, 0, 12801});
        EXPECT_FALSE(visual->IsHidden());  // other events change nothing
        stage.StoreEvent(MMStageEvent{kStageEventPointerLeft, 0, 0, 0, 0, 0});
        EXPECT_TRUE(visual->IsHidden());
        stage.StoreEvent(MMStageEvent{kStageEventPointer, 0, 0, 61, 71, 0});
        EXPECT_FALSE(visual->IsHidden());
        cursor.Deactivate();
        EXPECT_TRUE(visual->IsHidden());
    }
    EXPECT_EQ(0, loader->ReferenceManager()->UseCount(0));
    delete loader;
    ClearPendingError();
}

}  // namespace
