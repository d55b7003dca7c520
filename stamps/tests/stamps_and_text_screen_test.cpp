// The painting screen end to end on a real window: a stamp dropped, dragged
// and glued in colour; a text box opened, "Ami" typed as real keys, and a
// new box started, which commits the text: the canvas holds both.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "canvas/canvas_visual.h"
#include "engine/enclosure.h"
#include "fake_canvas_scene.h"
#include "media/bitmap_picture_collection.h"
#include "media/offscreen_surface.h"
#include "stamps/stamp_glue.h"
#include "stamps/stamp_visual.h"
#include "text/canvas_text_target.h"
#include "text/rich_edit_control.h"
#include "text/text_box.h"
#include "window_fixture.h"

namespace {

class PaintingScene : public MMScene {
public:
    explicit PaintingScene(MMStage* stage) : MMScene(stage) {}
    void Begin() override {}
};

std::unique_ptr<MMBitmapWithPixels> RedDisc(int side)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels({0, 0, side, side}, kPixelBGRA, nullptr));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            int dx = 2 * x - side, dy = 2 * y - side;
            uint32_t word = dx * dx + dy * dy <= side * side ? 0x00E8413C : 0xFF000000;
            std::memcpy(bitmap->PixelAddress(x, y), &word, 4);
        }
    bitmap->transparencyKind = kTransparencyStraight;
    return bitmap;
}

void PressKey(WORD key, bool shift)
{
    INPUT inputs[4] = {};
    int n = 0;
    if (shift) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n++].ki.wVk = VK_SHIFT;
    }
    inputs[n].type = INPUT_KEYBOARD;
    inputs[n++].ki.wVk = key;
    inputs[n].type = INPUT_KEYBOARD;
    inputs[n].ki.wVk = key;
    inputs[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    if (shift) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n].ki.wVk = VK_SHIFT;
        inputs[n++].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(n, inputs, sizeof(INPUT));
}

uint32_t ScreenPixel(MMStage* stage, int x, int y)
{
    MMBitmap store;
    stage->Offscreen()->GetBitmap(store);
    uint32_t word;
    std::memcpy(&word, store.PixelAddress(x, y), 4);
    return word & 0xFFFFFF;
}

}  // namespace

TEST(PaintingScreen, AGluedStampAndCommittedTextStayInTheCanvas)
{
    ASSERT_TRUE(LoadRichEditLibrary());
    MMStageWindow* window = MakeStageWindow(Box{0, 0, 800, 600});
    window->Show(true);
    MMStage* stage = new MMStage(window, Box{0, 0, 800, 600}, 32, nullptr, nullptr, nullptr,
                                 nullptr);
    ASSERT_TRUE(stage->IsUsable());
    FakeClock::now = 1000;
    stage->SetClock(FakeClock::Now);
    auto step = [&] {
        FakeClock::now += 16;
        stage->ChangeSceneOrDispatch();
        stage->RunDueTasks();
        stage->RedrawDirty();
    };
    PaintingScene* scene = new PaintingScene(stage);
    FakeCanvasScene host;
    KVXPlaneComponentTop plane({640, 480});
    plane.Fill(kBlankPixel);
    UndoSnapshot undo(plane);
    KVXCanvasVisual& canvas = *new KVXCanvasVisual(scene, &host, {144, 16, 784, 496}, 10, &plane, &undo);
    canvas.SetDrawMethod(kDrawStatic, 0, 0);
    stage->TopEnclosure()->AddVisual(&canvas);
    step();

    // The stamp is dropped, carried across the screen and glued in colour.
    MMBitmapPictureCollection pictures{2, 0x4300};
    MMPictureReference disc;
    pictures.BindPicture(disc, 0, *RedDisc(60), nullptr);
    MMStampPictureBasedVisual stamp;
    stamp.ConstructWithPictureAt(disc, 200, 100, 90, false, false);
    stamp.SetDisplaySize(60, 60);
    stage->TopEnclosure()->AddVisual(&stamp);
    for (int i = 0; i <= 10; ++i) {
        stamp.SetPosition(200 + 10 * i, 100 + 5 * i);
        step();
    }
    EXPECT_EQ(0xE8413Cu, ScreenPixel(stage, 330, 180)) << "the stamp is shown where it went";
    Box glued = GlueStampPicture(&canvas, disc, stamp.GetPosition());
    EXPECT_EQ(156, glued.left);
    EXPECT_EQ(134, glued.top);
    stage->TopEnclosure()->RemoveVisual(&stamp);
    step();
    EXPECT_EQ(0xE8, plane.PixelAt(186, 164)->red);
    EXPECT_EQ(0x41, plane.PixelAt(186, 164)->green);

    // A text box, typed into with the keyboard.
    KVXCanvasTextTarget target(&canvas);
    KVXTextEditWrapper* box = new KVXTextEditWrapper(scene, &target, canvas.GetBounds());
    // As the text tray starts the box: the format goes to the control's
    // default format too, so that it outlives an emptied box.
    for (bool defaultFormat : {true, false}) {
        box->SetDefaultFormatMode(defaultFormat);
        box->SetFaceName("DejaVu Sans");
        box->SetPlain();
        box->SetTextSize(48);
        box->SetTextColor(MakeMMColorFromRgb(0x2EA7E0));
    }
    box->PlaceBox(Box{450, 250, 700, 350});
    SetForegroundWindow(window->window);
    box->GainFocus();
    PumpUntil([&] { return GetFocus() == box->Control()->EditWindow(); });
    PressKey('A', true);
    PressKey('M', false);
    PressKey('I', false);
    char typed[16] = {};
    EXPECT_TRUE(PumpUntil([&] {
        box->GetText(typed, sizeof typed);
        return std::string(typed) == "Ami";
    })) << typed;

    // A new box commits the old one.
    box->Hide();
    EXPECT_TRUE(box->RenderTextIntoCanvas(510, 255));
    box->ReapplyFormat();
    box->PlaceBox(Box{200, 350, 400, 420});
    EXPECT_TRUE(box->IsEmpty());
    step();
    int32_t ink = 0;
    int32_t outside = 0;
    KVXComponentPixel darkest = kBlankPixel;
    for (int32_t y = 200; y < 380; ++y)
        for (int32_t x = 280; x < 600; ++x) {
            const KVXComponentPixel* p = plane.PixelAt(x, y);
            bool inked = p->red + p->green + p->blue < 600;
            bool inBox = x >= 306 && x < 556 && y >= 234 && y < 334;
            (inBox ? ink : outside) += inked;
            if (inked && p->red + p->green + p->blue < darkest.red + darkest.green + darkest.blue)
                darkest = *p;
        }
    EXPECT_GT(ink, 100) << "the text is paint now";
    EXPECT_EQ(0, outside);
    EXPECT_LT(darkest.red, 120) << "in its colour";
    EXPECT_GT(darkest.blue, 150);
    EXPECT_EQ(0xE8, plane.PixelAt(186, 164)->red) << "and the stamp is still there";

    delete box;
    stage->TopEnclosure()->RemoveVisual(&canvas);
    delete &canvas;
    disc.Clear();
    delete window;
}
