// The paint bucket's recolouring thread and the scaling thread.
#include <gtest/gtest.h>

#include <cstdio>

#include "button_fixture.h"
#include "engine/picture_loader.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "resource_fixture.h"
#include "shell/widgets/color_changing_thread.h"
#include "shell/widgets/scaling_thread.h"
#include "stamps/stamp_visual.h"

namespace {

const uint16_t kBucketPictures = 0x4000;
const uint16_t kPainted = 0x4100;

// An 8 x 4 8-bit picture: index 0 on the left half, 9 on the right.
TestPicture BucketPicture()
{
    TestPicture picture;
    picture.width = 8;
    picture.height = 4;
    picture.bits = 8;
    picture.ownTable = true;
    picture.pixels.assign(size_t(picture.Pitch()) * 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x)
            picture.pixels[size_t(y) * picture.Pitch() + x] = 9;
    picture.bitmap.bitsPerPixel = 8;
    picture.bitmap.bytesPerPixel = 1;
    picture.bitmap.pixelKind = kPixelIndexed;
    picture.bitmap.transparencyKind = kTransparencyOpaque;
    picture.bitmap.box = Box{0, 0, 8, 4};
    picture.bitmap.pitch = picture.Pitch();
    return picture;
}

int BoundSlots(const MMBitmapPictureCollection& pictures)
{
    int bound = 0;
    for (int16_t i = 0; i < pictures.SlotCount(); ++i)
        bound += pictures.SlotAt(i).bound ? 1 : 0;
    return bound;
}

struct ThreadsTest : ButtonTest {
    // Deleted with the other collections at the end.
    MMBitmapPictureCollection& painted = *new MMBitmapPictureCollection(67, kPainted);
    uint8_t colour[3] = {10, 20, 30};

    void SetUp() override
    {
        MMResourceId bucket = MMMakeResourceId(kBucketPictures, 0);
        // Label 1 recolours visual 1 (and visual 2, which has no picture);
        // label 2 tries operands 0 and 4; label 3 recolours every 10 ms.
        ScriptRows script = ScriptRows().Visuals(3)
            .Frame(1, 0).Place(1, 0, 10, 10).Picture(bucket).Row(14, 1).Row(14, 2)
            .Frame(2, 0).Place(1, 0, 10, 10).Picture(bucket).Row(14, 0).Row(14, 4)
            .Frame(3, 10).Place(1, 0, 10, 10).Picture(bucket).Row(14, 1).Jump(3);
        ScriptRows scaled = ScriptRows().Visuals(1)
            .Frame(1, 0).Place(0, 0, 15, 10).Picture(LabelPicture(1));
        Open({{0, script}, {1, scaled}});
        TestPicture picture = BucketPicture();
        picture.bitmap.pixels = picture.pixels.data();
        ASSERT_TRUE(WritePictureFile(scratch.folder, "k.MMP", {picture}, {}));
        ASSERT_NE(MMOpenPictureFile(scratch.folder, "k.MMP", false), nullptr);
    }
    MMAnimationMolecule* Bucket()
    {
        return new MMAnimationMolecule(scene, ScriptId(0), 1,
                                       new KVXColorChangingAnimationThread(&stage, &painted, colour));
    }
};

TEST_F(ThreadsTest, TheBucketRecoloursVisualOneInThePaintColour)
{
    MMAnimationMolecule* bucket = Bucket();
    bucket->Run(1);
    Pass();
    const MMPictureReference& shown = bucket->Visual(1)->GetPicture();
    ASSERT_EQ(shown.Collection(), &painted);
    MMBitmap bitmap;
    ASSERT_TRUE(shown.LockBitmap(bitmap));
    EXPECT_EQ(bitmap.bitsPerPixel, 32);
    EXPECT_EQ(bitmap.transparencyKind, kTransparencyStraight);
    const uint8_t* left = bitmap.PixelAddress(1, 2);
    const uint8_t* right = bitmap.PixelAddress(6, 2);
    EXPECT_EQ((std::vector<int>{left[0], left[1], left[2], left[3]}),
              (std::vector<int>{10, 20, 30, 255})) << "index 0 becomes clear";
    EXPECT_EQ((std::vector<int>{right[0], right[1], right[2], right[3]}),
              (std::vector<int>{10, 20, 30, 0})) << "the rest the paint colour";
    shown.Unlock();
    EXPECT_TRUE(bucket->Visual(2)->GetPicture().IsEmpty()) << "no picture: an empty one";

    bucket->Run(2);
    Pass();
    EXPECT_EQ(bucket->Visual(1)->GetPicture().Id(), MMMakeResourceId(kBucketPictures, 0))
        << "operands 0 and 4 change nothing";
    delete bucket;
}

TEST_F(ThreadsTest, AHundredRecolouringsKeepOneSlotOfTheCollection)
{
    MMAnimationMolecule* bucket = Bucket();
    bucket->Run(3);
    for (int i = 0; i < 100; ++i) {
        colour[0] = uint8_t(i);
        Pass();
        ASSERT_EQ(BoundSlots(painted), 1) << "recolouring " << i;
    }
    MMBitmap bitmap;
    const MMPictureReference& shown = bucket->Visual(1)->GetPicture();
    ASSERT_TRUE(shown.LockBitmap(bitmap));
    EXPECT_EQ(bitmap.PixelAddress(6, 0)[0], 99) << "the latest colour";
    shown.Unlock();
    delete bucket;
}

TEST_F(ThreadsTest, TheScalingThreadPlacesScaledAndMirroredVisualsAroundThePivot)
{
    // The script places the 20 x 10 picture at (15, 10); pivot (5, 5) lands
    // on (100, 50).
    const struct {
        double sx, sy;
        bool mirrorX, mirrorY;
        Pair at;
        Box expected;
    } cases[] = {
        {1.0, 1.0, false, false, {15, 10}, {110, 55, 130, 65}},
        {2.0, 0.5, false, false, {15, 10}, {120, 52, 160, 57}},
        {1.0, 1.0, true, false, {15, 10}, {70, 55, 90, 65}},
        {1.5, 1.5, true, true, {15, 10}, {55, 28, 85, 43}},
        {1.5, 1.5, false, false, {0, 0}, {93, 43, 123, 58}},
    };
    for (const auto& c : cases) {
        auto* thread = new KVXScalingAnimationThread(&stage, nullptr);
        MMAnimationMolecule molecule(scene, ScriptId(1), 1, thread);
        thread->SetPivotAndPosition({5, 5}, {100, 50});
        thread->SetScale(c.sx, c.sy);
        thread->SetMirror(c.mirrorX, c.mirrorY);
        molecule.Run(1);
        Pass();
        thread->PlaceVisual(0, 0, c.at);
        auto* visual = dynamic_cast<MMStampPictureBasedVisual*>(molecule.Visual(0));
        ASSERT_NE(visual, nullptr);
        char name[64];
        std::snprintf(name, sizeof name, "scale %.1f x %.1f, mirror %d %d", c.sx, c.sy,
                      c.mirrorX, c.mirrorY);
        EXPECT_EQ(visual->GetBounds(), c.expected) << name;
        EXPECT_EQ(visual->ScaleX(), c.sx) << name;
        EXPECT_EQ(visual->MirrorsHorizontally(), c.mirrorX) << name;
        EXPECT_EQ(visual->MirrorsVertically(), c.mirrorY) << name;
    }
}

}  // namespace
