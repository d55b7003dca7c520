// The arithmetic of placed stamps: scaling by the handle, the size step, the
// scale sound's pitch, the page's main genre and the 15-stamp limit.
#include <gtest/gtest.h>

#include <vector>

#include "stamps/stamp_genres.h"
#include "stamps/stamp_record.h"
#include "stamps/stamp_scaling.h"

namespace {

const Box kCanvas = {144, 16, 784, 496};
const Pair k200x100 = {200, 100};

struct ScaleCase {
    const char* name;
    Box box;
    Pair point;
    bool applies;
    Box result;
};

TEST(StampScaling, TheHandleKeepsTheAspectAndTheLimits)
{
    const Box natural = {200, 300, 400, 400};
    const ScaleCase cases[] = {
        {"at the corner", natural, {400, 300}, true, {200, 300, 400, 400}},
        {"half size", natural, {300, 350}, true, {200, 350, 300, 400}},
        {"the smaller ratio wins", natural, {350, 200}, true, {200, 325, 350, 400}},
        {"25 pixels high at least", natural, {300, 380}, true, {200, 375, 250, 400}},
        {"floor 50 x 25", natural, {201, 399}, true, {200, 375, 250, 400}},
        {"ceiling at natural size", natural, {700, 50}, true, {200, 300, 400, 400}},
        {"right edge on left + 10", {90, 300, 290, 400}, {154, 368}, false, {}},
        {"right edge past left + 10", {90, 300, 290, 400}, {155, 367}, true, {90, 368, 155, 400}},
        {"smallest still too far left", {90, 300, 290, 400}, {100, 390}, false, {}},
        {"top below bottom - 10", {200, 420, 400, 520}, {250, 495}, false, {}},
        {"top above bottom - 10", {200, 420, 400, 520}, {300, 470}, true, {200, 470, 300, 520}},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        Box result = {-1, -1, -1, -1};
        ASSERT_EQ(c.applies, ScaleStampBox(c.box, k200x100, c.point, kCanvas, &result));
        if (c.applies) {
            EXPECT_EQ(c.result.left, result.left);
            EXPECT_EQ(c.result.top, result.top);
            EXPECT_EQ(c.result.right, result.right);
            EXPECT_EQ(c.result.bottom, result.bottom);
        }
    }
}

TEST(StampScaling, APictureWithoutSizeIsNotScaled)
{
    Box result = {1, 2, 3, 4};
    EXPECT_FALSE(ScaleStampBox({200, 300, 400, 400}, {0, 100}, {300, 350}, kCanvas, &result));
    EXPECT_FALSE(ScaleStampBox({200, 300, 400, 400}, {200, 0}, {300, 350}, kCanvas, &result));
    EXPECT_EQ(1, result.left);
    EXPECT_EQ(0, SizeStepFor({50, 50}, {0, 0}));
}

TEST(StampScaling, TallPicturesKeepTheirWidthAtTheFloor)
{
    Box result;
    ASSERT_TRUE(ScaleStampBox({300, 100, 400, 400}, {100, 300}, {301, 399}, kCanvas, &result));
    EXPECT_EQ(25, result.right - result.left);
    EXPECT_EQ(75, result.bottom - result.top);
}

TEST(StampScaling, TheHandleStaysOffTheCanvasEdges)
{
    Pair limited = LimitScalePoint({100, 600}, kCanvas);
    EXPECT_EQ(154, limited.x);
    EXPECT_EQ(486, limited.y);
    limited = LimitScalePoint({400, 300}, kCanvas);
    EXPECT_EQ(400, limited.x);
    EXPECT_EQ(300, limited.y);
}

TEST(StampScaling, SizeStepsFromTenAtNaturalSizeDownToZero)
{
    struct Case {
        Pair size;
        int16_t step;
    };
    const Case cases[] = {
        {{200, 100}, 10}, {{190, 95}, 9}, {{100, 50}, 5}, {{40, 20}, 2},
        {{21, 10}, 1},    {{20, 10}, 0},  {{50, 25}, 2},  {{400, 200}, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.step, SizeStepFor(c.size, k200x100)) << c.size.x << " x " << c.size.y;
}

TEST(StampScaling, TheScaleSoundPitchStaysWithinItsRange)
{
    EXPECT_EQ(0x10000, ScaleSoundFrequency(0, 100));
    EXPECT_EQ(0x8000, ScaleSoundFrequency(100, 100));
    EXPECT_EQ(4096, ScaleSoundFrequency(300, 100));
    EXPECT_EQ(0x10000, ScaleSoundFrequency(50, 0));
    EXPECT_EQ(0x10000, ScaleSoundFrequency(-20, 100));
}

TEST(StampGenres, TheMidgroundDecidesThenTheCountsWithTiesToTheCurrentGenre)
{
    const int16_t genres[] = {2, 2, 0, 0};
    EXPECT_EQ(3, MainStampGenre(3, 5, genres, 4, nullptr));
    EXPECT_EQ(1, MainStampGenre(0, 5, genres, 4, nullptr));
    EXPECT_EQ(1, MainStampGenre(2, 5, genres, 4, nullptr));
    const int16_t midground = 4;
    EXPECT_EQ(5, MainStampGenre(0, 5, genres, 4, &midground));
    const int16_t outside[] = {7, -1, 7};
    EXPECT_EQ(0, MainStampGenre(0, 5, outside, 3, nullptr));
    EXPECT_EQ(4, MainStampGenre(4, 5, outside, 3, nullptr));
    EXPECT_EQ(0, MainStampGenre(0, 5, nullptr, 0, nullptr));
}

TEST(StampGenres, TheLayerCodeAndKindValueGiveTheKind)
{
    EXPECT_EQ(kStampBackground, StampKindFromTable(0, 3));
    EXPECT_EQ(kStampMidground, StampKindFromTable(1, 3));
    EXPECT_EQ(kStampForeground, StampKindFromTable(3, 4));
    EXPECT_EQ(kStampCharacter, StampKindFromTable(2, 3));
    EXPECT_EQ(kStampProp, StampKindFromTable(5, 4));
    EXPECT_EQ(kStampProp, StampKindFromTable(2, 9));
}

// A drawer entry that places a background, two characters, a prop and a
// second background onto a page that lists 13 stamps: the list reaches 15
// and stops there; the refused prop takes the later background with it.
TEST(StampGenres, AGroupedEntryIsRefusedAtFifteenListedStamps)
{
    const int32_t entry[] = {kStampBackground, kStampCharacter, kStampCharacter, kStampProp,
                             kStampBackground};
    const bool expected[] = {true, true, true, false, false};
    int32_t listed = 13;
    KVXPlacementGate gate;
    for (int i = 0; i < 5; ++i) {
        bool allowed = gate.Allows(entry[i], listed);
        EXPECT_EQ(expected[i], allowed) << "stamp " << i;
        if (allowed && (entry[i] == kStampCharacter || entry[i] == kStampProp))
            ++listed;
    }
    EXPECT_EQ(15, listed);
    EXPECT_TRUE(gate.Refused());

    KVXPlacementGate layersOnly;
    EXPECT_TRUE(layersOnly.Allows(kStampForeground, 15));
    EXPECT_FALSE(layersOnly.Refused());
}

}  // namespace
