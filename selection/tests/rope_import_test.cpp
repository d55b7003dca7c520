// An imported picture through the tool manager: whatever tray was open, the
// rope tray opens and the picture floats centred on the canvas as its
// selection, with its controls; without a manager or a picture nothing is
// taken.
#include <gtest/gtest.h>

#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "selection/rope_import.h"
#include "selection/rope_interpreters.h"
#include "tool_fixture.h"
#include "trays/manager_tool.h"

namespace {

struct RopeImportTest : ToolFixture {
    KVXManagerTool* manager = nullptr;

    void SetUp() override
    {
        OpenData();
        new MMBitmapPictureCollection(40, 9);
        RegisterRopeInterpreters();
        bare.stage.TopEnclosure()->AddVisual(&canvas);
        manager = new KVXManagerTool(&host);
        manager->Begin();
    }
    void TearDown() override
    {
        manager->DeleteMolecules();
        delete manager;
        bare.stage.TopEnclosure()->RemoveVisual(&canvas);
    }
};

TEST_F(RopeImportTest, APictureFloatsCentredAsTheRopesSelectionWhateverTrayWasOpen)
{
    manager->SelectCollection(kChalkCollection);
    MMSurface* picture = MMSurface::CreateBitmapDC(32, {0, 0, 10, 6}, nullptr);
    ASSERT_NE(nullptr, picture);
    MMBitmap pixels;
    ASSERT_TRUE(picture->GetBitmap(pixels));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            uint8_t* p = pixels.PixelAddress(x, y);
            p[0] = 200, p[1] = 100, p[2] = 50, p[3] = 0;
        }
    EXPECT_FALSE(TakePictureAsRopeSelection(nullptr, picture));
    EXPECT_FALSE(TakePictureAsRopeSelection(manager, nullptr));
    EXPECT_EQ(kChalkCollection, manager->CurrentType()) << "nothing taken, nothing opened";

    ASSERT_TRUE(TakePictureAsRopeSelection(manager, picture));
    picture->Dispose();
    EXPECT_EQ(kRopeCollection, manager->CurrentType());
    KVXBaseRopeToolInterpreter* rope = manager->RopeSelection();
    ASSERT_NE(nullptr, rope);
    EXPECT_TRUE(rope->Selection().FromPicture());
    EXPECT_EQ((Box{37, 31, 47, 37}), rope->Selection().GetBox());
    EXPECT_NE(nullptr, rope->Control(0)) << "with its handles";
    rope->FinishRope(0);
    EXPECT_EQ(50, plane.PixelAt(37 - 10, 31 - 10)->red) << "put down where it floated";
}

}  // namespace
