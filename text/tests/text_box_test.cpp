// The text box on a real stage window: placing, scaling and moving within
// the canvas area, committing typed text into a plane, the stored format,
// and the cloak.
#include <gtest/gtest.h>

#include <cstring>

#include "canvas/plane.h"
#include "media/offscreen_surface.h"
#include "media/picture_visual.h"
#include "rich_edit_stage.h"
#include "text/text_box.h"

namespace {

struct PlaneCanvas : KVXTextCanvas {
    KVXPlaneComponentTop plane{{300, 200}};
    int snapshots = 0;
    int redraws = 0;
    PlaneCanvas() { plane.Fill(KVXComponentPixel{200, 200, 200, 0, 3072, 0}); }
    KVXPlaneComponentTop* Plane() override { return &plane; }
    Pair Origin() override { return {50, 40}; }
    void TakeUndoSnapshot() override { ++snapshots; }
    void PlaneChanged() override { ++redraws; }
};

const Box kCanvasArea = {50, 40, 350, 240};

struct TextBoxTest : RichEditStage {
    PlaneCanvas canvas;
    KVXTextEditWrapper* box = nullptr;
    void SetUp() override
    {
        RichEditStage::SetUp();
        box = new KVXTextEditWrapper(scene, &canvas, kCanvasArea);
        box->MakeHandles();
        box->SetPlain();
        box->SetTextColor(MakeMMColorFromRgb(0x000000));
        box->SetTextSize(32);
    }
    void TearDown() override
    {
        delete box;
        RichEditStage::TearDown();
    }
    bool EditShown() { return IsWindowVisible(box->Control()->EditWindow()) != 0; }
};

TEST_F(TextBoxTest, TheBoxOpensWhereTheRectangleIsWithinTheCanvas)
{
    EXPECT_TRUE(box->IsHidden()) << "hidden until placed";
    EXPECT_FALSE(EditShown());
    box->PlaceBox(Box{100, 60, 300, 160});
    EXPECT_FALSE(box->IsHidden());
    EXPECT_TRUE(EditShown());
    EXPECT_EQ(Box({100, 60, 300, 160}), box->GetBox());
    ASSERT_NE(box->ScaleHandle(), nullptr);
    EXPECT_EQ(Pair({300, 160}), box->ScaleHandle()->GetPosition());
    EXPECT_FALSE(box->ScaleHandle()->IsHidden());

    box->PlaceBox(Box{0, 0, 200, 100});
    EXPECT_EQ(Box({50, 40, 200, 100}), box->GetBox()) << "clipped to the canvas area";
    box->Hide();
    EXPECT_TRUE(box->ScaleHandle()->IsHidden());
    EXPECT_TRUE(box->MoveHandle()->IsHidden());
}

TEST_F(TextBoxTest, ScalingAndMovingKeepTheLimits)
{
    box->PlaceBox(Box{100, 60, 200, 120});
    box->BeginScale(200, 120);
    box->ContinueScale(500, 500);
    EXPECT_EQ(Box({100, 60, 350, 240}), box->GetBox());
    EXPECT_EQ(4096, box->HandleFrequency()) << "further than the start distance";
    box->ContinueScale(90, 50);
    EXPECT_EQ(Box({100, 60, 132, 92}), box->GetBox()) << "never below 32 x 32";
    box->EndScale(90, 50);
    EXPECT_EQ(0x10000, box->HandleFrequency());

    box->BeginMove(100, 60);
    box->ContinueMove(400, 400);
    EXPECT_EQ(Box({318, 208, 350, 240}), box->GetBox());
    box->ContinueMove(0, 0);
    EXPECT_EQ(Box({50, 40, 82, 72}), box->GetBox());
    box->EndMove(120, 100);
    EXPECT_EQ(Box({120, 100, 152, 132}), box->GetBox());
}

TEST_F(TextBoxTest, TypedTextIsCommittedIntoTheCanvasAndTheBoxStartsAgain)
{
    EXPECT_FALSE(box->RenderTextIntoCanvas(510, 510));
    EXPECT_EQ(0, canvas.snapshots) << "an empty box takes no undo";
    box->PlaceBox(Box{100, 60, 300, 160});
    Type(box, "Ami");
    ASSERT_TRUE(PumpUntil([&] { return Text(box) == "Ami"; }));
    ASSERT_TRUE(box->RenderTextIntoCanvas(510, 510));
    EXPECT_EQ(1, canvas.snapshots);
    EXPECT_EQ(1, canvas.redraws);
    int32_t inked = 0;
    int32_t raised = 0;
    for (int32_t y = 0; y < 200; ++y)
        for (int32_t x = 0; x < 300; ++x) {
            const KVXComponentPixel* p = canvas.plane.PixelAt(x, y);
            bool inBox = x >= 50 && x < 250 && y >= 20 && y < 120;
            if (!inBox) {
                ASSERT_EQ(200, p->red) << x << "," << y;
                continue;
            }
            inked += p->red < 100;
            raised += p->height > 3072;
        }
    EXPECT_GT(inked, 50);
    EXPECT_GE(raised, inked);

    box->SetFaceName("DejaVu Sans");
    box->SetItalic(true);
    box->ReapplyFormat();
    EXPECT_TRUE(box->IsEmpty());
    EXPECT_STREQ("DejaVu Sans", box->StoredFace());
    EXPECT_EQ(32, box->StoredSize());
    CHARFORMATA format = ReadFormat(box);
    EXPECT_STREQ("DejaVu Sans", format.szFaceName);
    EXPECT_EQ(480, format.yHeight);
    EXPECT_TRUE(format.dwEffects & CFE_ITALIC);
}

TEST_F(TextBoxTest, TheCloakStandsInForTheBox)
{
    box->Cloak();
    EXPECT_EQ(nullptr, box->CloakVisual()) << "nothing to cloak while hidden";
    box->PlaceBox(Box{100, 60, 300, 160});
    Type(box, "Ami");
    ASSERT_TRUE(PumpUntil([&] { return Text(box) == "Ami"; }));
    box->Cloak();
    KVXTextCloakVisual* cloak = box->CloakVisual();
    ASSERT_NE(cloak, nullptr);
    EXPECT_TRUE(box->IsHidden());
    EXPECT_FALSE(EditShown());
    EXPECT_EQ(Box({100, 60, 300, 160}), cloak->GetBounds());
    EXPECT_EQ(199, cloak->Layer());
    const MMBitmap& shot = cloak->Surface()->Store();
    const uint8_t* corner = shot.PixelAddress(0, 0);
    EXPECT_EQ(0, corner[0] | corner[1] | corner[2]) << "a black outline";
    const uint8_t* inside = shot.PixelAddress(198, 98);
    EXPECT_EQ(255, inside[0] & inside[1] & inside[2]) << "white inside";
    int32_t ink = 0;
    for (int32_t y = 1; y < 99; ++y)
        for (int32_t x = 1; x < 199; ++x)
            ink += shot.PixelAddress(x, y)[1] < 128;
    EXPECT_GT(ink, 50) << "the text is in the snapshot";
    box->Uncloak();
    EXPECT_EQ(nullptr, box->CloakVisual());
    EXPECT_FALSE(box->IsHidden());
    EXPECT_TRUE(EditShown());
}

}  // namespace
