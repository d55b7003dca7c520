// The simple text tool on a stage without window: where the line goes, and
// the committed text with its shadow in a 32-bit picture.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/tests/stage_fixture.h"
#include "media/offscreen_surface.h"
#include "media/surface.h"
#include "text/simple_text_tool.h"
#include "text/smart_font.h"
#include "text/text_edits.h"
#include "text/text_renderer.h"

namespace {

TEST(SimpleTextTool, ALineNearTheTopMovesDownAndIsDrawnWithItsShadow)
{
    BareStage bare;
    RecordingScene scene(&bare.stage, &bare.log);
    WinMMOffscreenSurface* picture = MMSurface::CreateBitmapDC(32, Box{0, 0, 240, 120}, nullptr);
    ASSERT_NE(picture, nullptr);
    const MMBitmap& store = picture->Store();
    for (int32_t y = 0; y < 120; ++y)
        std::memset(store.PixelAddress(0, y), 255, 240 * 4);
    CTextTarget target{picture};
    const uint8_t blue[3] = {220, 60, 20};
    CTextTool tool(&scene, blue);
    tool.SetSize(30);
    tool.SetShadow(true);
    tool.Activate();
    EXPECT_TRUE(tool.IsActive());

    MPSmartFont font("DejaVu Sans", 30, 400, false, false);
    MPTextRenderer renderer(picture);
    renderer.SetFont(&font);
    tool.PlaceAt(20.7, 3.2, &target);
    ASSERT_NE(tool.Edit(), nullptr);
    EXPECT_EQ(Pair({20, renderer.Ascent()}), tool.Position()) << "the ascent fits in";
    EXPECT_EQ(220, tool.Room());
    tool.PlaceAt(20, 500, &target);
    EXPECT_EQ(120 - renderer.Descent(), tool.Position().y) << "the descent fits in";

    tool.PlaceAt(10, 60, &target);
    for (char c : std::string("Ami"))
        tool.Edit()->HandleKey(MMStageEvent::KeyData(0, uint8_t(c), 0));
    EXPECT_STREQ("Ami", tool.Edit()->Text());
    EXPECT_TRUE(target.dirty.IsEmpty());
    tool.Deactivate();  // commits
    EXPECT_FALSE(tool.IsActive());
    EXPECT_EQ(nullptr, tool.Edit());
    ASSERT_FALSE(target.dirty.IsEmpty());
    EXPECT_LT(target.dirty.left, 10) << "the shadow's box, grown by a quarter of the size";
    int32_t inked = 0;
    int32_t shadowed = 0;
    for (int32_t y = 0; y < 120; ++y)
        for (int32_t x = 0; x < 240; ++x) {
            const uint8_t* p = store.PixelAddress(x, y);
            if (p[0] > 150 && p[2] < 80) {
                ++inked;
                ASSERT_EQ(0, p[3]) << "alpha bytes of the drawn box are cleared";
            }
            bool grey = p[0] == p[1] && p[1] == p[2] && p[0] < 255;
            shadowed += grey;
            if (grey)
                ASSERT_GE(p[0], 255 - 81) << "the shadow darkens by at most 80/255";
        }
    EXPECT_GT(inked, 30);
    EXPECT_GT(shadowed, 10);
    picture->Dispose();
}

}  // namespace
