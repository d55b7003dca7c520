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
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "stamp_world.h"
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
    stage->SetPendingScene(scene, nullptr, nullptr);
    FakeCanvasScene host;
    KVXPlaneComponentTop plane({640, 480});
    plane.Fill(kBlankPixel);
    UndoSnapshot undo(plane);
    KVXCanvasVisual& canvas = *new KVXCanvasVisual(scene, &host, {144, 16, 784, 496}, 10, &plane, &undo);
    canvas.SetDrawMethod(kDrawStatic, 0, 0);
    stage->TopEnclosure()->AddVisual(&canvas);
    step();

    // A fish is dropped from the drawer, carried across the canvas and glued
    // in colour through its options panel.
    FSDirectory data = BuiltDataFolder();
    ASSERT_TRUE(OpenScriptFile(data, "Hd.mms"));
    for (const char* name : {"Hd.MMP", "App.MMP", "Stmp1.MMP", "Stmp2.MMP"})
        ASSERT_NE(nullptr, MMOpenPictureFile(data, name, false)) << name;
    // Deleted with the picture files at the end.
    auto* rendered = new MMBitmapPictureCollection{64, 0x4500};
    KVXStampHost creation(scene, &canvas);
    KVXStampManager* stamps = new KVXStampManager(&creation);
    stamps->SetPictureCollection(rendered);
    MMRecordTable entry;
    entry.Load(StampWorld::EntryTable(4, 0, 3), 10, gDefaultHeap);
    stamps->PlaceStampsFromTable(&entry, 220, 380);
    entry.Free();
    ASSERT_EQ(1u, stamps->Listed().size());
    KVXStampBase* fish = stamps->Listed()[0];
    uint32_t paper = ScreenPixel(stage, 700, 470);
    step();
    Box dropped = fish->GetBox();
    auto pointer = [&](int32_t x, int32_t y, uint32_t flags) {
        MMStageEvent event = {kStageEventPointer, 0, 0, x, y, flags};
        stage->DispatchMouseEvent(event);
        step();
    };
    Pair grab = {(dropped.left + dropped.right) / 2, (dropped.top + dropped.bottom) / 2};
    ASSERT_TRUE(fish->Visual()->ContainsPoint(grab.x, grab.y));
    ASSERT_LT(dropped.right, 280) << "clear of the text box below";
    pointer(grab.x, grab.y, kPointerPressed | kPointerHeld);
    for (int i = 1; i <= 10; ++i)
        pointer(grab.x + 15 * i, grab.y + 10 * i, kPointerHeld);
    pointer(grab.x + 150, grab.y + 100, kPointerReleased);
    Box carried = fish->GetBox();
    EXPECT_EQ(dropped.left + 150, carried.left);
    EXPECT_EQ(dropped.top + 100, carried.top);
    Pair middle = {(carried.left + carried.right) / 2, (carried.top + carried.bottom) / 2};
    EXPECT_NE(paper, ScreenPixel(stage, middle.x, middle.y)) << "the fish is shown where it went";
    EXPECT_EQ(paper, ScreenPixel(stage, grab.x, grab.y)) << "and no longer where it was";
    Box handle = stamps->Selector()->OptionsHandle()->GetBounds();
    pointer((handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2, 0);
    ASSERT_NE(nullptr, stamps->Selector()->ColourButton());
    Box colour = stamps->Selector()->ColourButton()->GetBounds();
    pointer((colour.left + colour.right) / 2, (colour.top + colour.bottom) / 2,
            kPointerPressed | kPointerHeld);
    pointer((colour.left + colour.right) / 2, (colour.top + colour.bottom) / 2, kPointerReleased);
    step();
    EXPECT_TRUE(stamps->Listed().empty()) << "glued";
    int32_t gluedPixels = 0;
    for (int32_t y = carried.top; y < carried.bottom; ++y)
        for (int32_t x = carried.left; x < carried.right; ++x) {
            const KVXComponentPixel* p = plane.PixelAt(x - 144, y - 16);
            gluedPixels += std::memcmp(p, &kBlankPixel, 4) != 0;
        }
    EXPECT_GT(gluedPixels, carried.Width() * carried.Height() / 4);
    const KVXComponentPixel gluedMiddle = *plane.PixelAt(middle.x - 144, middle.y - 16);
    EXPECT_NE(gluedMiddle.red + gluedMiddle.green + gluedMiddle.blue, 0) << "in colour";

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
    // Real keys go to the foreground window, which a test of another folder
    // running alongside may take for a moment: type again into an empty box.
    char typed[16] = {};
    for (int attempt = 0; attempt < 5 && std::string(typed) != "Ami"; ++attempt) {
        SetWindowTextA(box->Control()->EditWindow(), "");
        SetForegroundWindow(window->window);
        box->GainFocus();
        PumpUntil([&] { return GetFocus() == box->Control()->EditWindow(); });
        PressKey('A', true);
        PressKey('M', false);
        PressKey('I', false);
        DWORD start = GetTickCount();
        PumpUntil([&] {
            box->GetText(typed, sizeof typed);
            return std::string(typed) == "Ami" || GetTickCount() - start > 4000;
        });
    }
    EXPECT_STREQ("Ami", typed);

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
    EXPECT_EQ(0, std::memcmp(plane.PixelAt(middle.x - 144, middle.y - 16), &gluedMiddle, 4))
        << "and the stamp is still there";

    delete box;
    delete stamps;
    stage->TopEnclosure()->RemoveVisual(&canvas);
    delete &canvas;
    delete window;
    DeleteAllPictureCollections();
    CloseAllScriptFiles();
}
