// The text tray on a real stage window with the built data: the text tool
// and its box, the style buttons clicked, the colour, the twist, the sliders,
// the font list opened, scrolled and chosen from, and the typed text painted
// into the canvas when the tray closes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <typeinfo>

#include "media/offscreen_surface.h"
#include "rich_edit_stage.h"
#include "shell/widgets/scroll_bars.h"
#include "shell/widgets/toggle_button.h"
#include "text/font_scroll_list.h"
#include "text/text_box.h"
#include "text/text_tool.h"
#include "text/text_tray.h"
#include "trays/tests/tray_world.h"

namespace {

const KVXComponentPixel kPaper = {250, 250, 250, 0, 1000, 0};

struct TextTrayTest : TrayWorld {
    uint32_t cell = 0x00E0A72E;  // sky blue: bytes blue, green, red
    KVXTextToolCollection* tray = nullptr;

    void SetUp() override
    {
        onWindow = true;
        CanvasBox = {144, 16, 784, 496};
        TrayWorld::SetUp();
        ASSERT_TRUE(LoadRichEditLibrary());
        plane.Fill(kPaper);
        host.bytes = nullptr;
        Step();
        visualsBefore = stage->TopEnclosure()->Visuals().size();
        tray = new KVXTextToolCollection(&cell, &host, nullptr, nullptr, nullptr);
        tray->Begin();
        Step();
    }
    void TearDown() override
    {
        if (tray) {
            tray->DeleteMolecules();
            delete tray;
        }
        TrayWorld::TearDown();
    }

    void Pointer(int32_t x, int32_t y, uint32_t flags)
    {
        Mouse(x, y, flags);
        Step();
    }
    void Click(const Box& box)
    {
        Pair at = box.Center();
        Pointer(at.x, at.y, kPointerPressed | kPointerHeld);
        Pointer(at.x, at.y, kPointerReleased);
    }
    TextTool* Tool() const { return dynamic_cast<TextTool*>(tray->CurrentTool()); }
    size_t visualsBefore = 0;
    KVXTextEditWrapper* TheBox() const { return tray->TextBox(); }
    CHARFORMATA Format()
    {
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessageA(TheBox()->Control()->EditWindow(), EM_GETCHARFORMAT, TRUE,
                     reinterpret_cast<LPARAM>(&format));
        return format;
    }
    uint32_t ScreenPixel(int32_t x, int32_t y)
    {
        MMBitmap store;
        stage->Offscreen()->GetBitmap(store);
        uint32_t word;
        std::memcpy(&word, store.PixelAddress(x, y), 4);
        return word & 0xFFFFFF;
    }
};

}  // namespace

TEST_F(TextTrayTest, OpensWithTheTextToolItsBoxButtonsSlidersAndFonts)
{
    ASSERT_EQ(1, tray->ToolCount());
    EXPECT_EQ(typeid(TextTool), typeid(*tray->ToolAt(0)));
    EXPECT_EQ(0, tray->CurrentModifier());
    ASSERT_NE(nullptr, Tool());
    EXPECT_NE(nullptr, Tool()->Interpreter()) << "the rectangle's interpreter is on the canvas";
    EXPECT_EQ(4, Tool()->CursorIndex()) << "row 16 of the cursor table";
    EXPECT_EQ(478, Tool()->SoundId());
    ASSERT_NE(nullptr, tray->Slider(0));
    ASSERT_NE(nullptr, tray->Slider(1));
    EXPECT_EQ(510, tray->Slider(0)->Position()) << "the tool's opacity: full colour";
    EXPECT_EQ(255, tray->Slider(1)->Position()) << "no relief";
    for (int i = 0; i < 4; ++i)
        ASSERT_NE(nullptr, tray->StyleButton(i));
    EXPECT_TRUE(tray->StyleButton(0)->IsOn()) << "plain starts pressed";
    EXPECT_FALSE(tray->StyleButton(2)->IsOn());

    ASSERT_NE(nullptr, TheBox());
    EXPECT_TRUE(TheBox()->IsHidden()) << "until a rectangle is drawn";
    EXPECT_EQ(32, TheBox()->StoredSize()) << "size index 2";
    ASSERT_NE(nullptr, tray->FontList());
    MPTextToolFontListModifier* faces = tray->FontList()->Model();
    EXPECT_EQ("DejaVu Sans", faces->FaceNameAt(faces->SelectedIndex())) << "the start face";
    EXPECT_STREQ("DejaVu Sans", TheBox()->StoredFace());
    CHARFORMATA format = Format();
    EXPECT_STREQ("DejaVu Sans", format.szFaceName);
    EXPECT_EQ(0x002EA7E0u, format.crTextColor) << "the tray's colour";
    EXPECT_EQ(0u, format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
}

// The style buttons and the closed font box take the shelf under the tray
// (6, 494 to 138, 594, inside its 3-pixel outline): the buttons one over
// each of its 32-pixel play buttons (12, 42, 72 and 102 at 500), the box
// over its signs, neither past its edge.
TEST_F(TextTrayTest, TheStyleButtonsAndFontBoxCoverTheShelf)
{
    const Box shelf = {8, 497, 136, 592};
    Box font = tray->FontList()->GetBounds();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        Box box = tray->StyleButton(i)->Visual()->GetBounds();
        EXPECT_EQ(Box({12 + 30 * i, 500, 44 + 30 * i, 532}), box);
        EXPECT_FALSE(box.Overlaps(font));
    }
    EXPECT_GE(font.left, shelf.left);
    EXPECT_LE(font.right, shelf.right);
    EXPECT_GE(font.top, 532);
    EXPECT_LE(font.bottom, shelf.bottom);
}

TEST_F(TextTrayTest, StyleButtonsFollowEachOtherAndReachTheBox)
{
    struct Case {
        int button;  // 0 plain, 1 italic, 2 bold, 3 underline
        bool plain, italic, bold, underline;
    };
    const Case cases[] = {
        {2, false, false, true, false},  // bold: plain goes off
        {1, false, true, true, false},
        {2, false, true, false, false},  // bold off, italic still on
        {1, true, false, false, false},  // the last style off: plain again
        {3, false, false, false, true},
        {0, true, false, false, false},  // plain turns every style off
        {0, true, false, false, false},  // and pressing it again keeps it on
    };
    for (const Case& c : cases) {
        Click(tray->StyleButton(c.button)->Visual()->GetBounds());
        Step();
        const KVXTextStyleButtons& s = tray->Styles();
        SCOPED_TRACE(c.button);
        EXPECT_EQ(c.plain, s.plain);
        EXPECT_EQ(c.italic, s.italic);
        EXPECT_EQ(c.bold, s.bold);
        EXPECT_EQ(c.underline, s.underline);
        const bool shown[4] = {c.plain, c.italic, c.bold, c.underline};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(shown[i], tray->StyleButton(i)->IsOn()) << "button " << i;
        DWORD effects = Format().dwEffects;
        EXPECT_EQ(c.bold, (effects & CFE_BOLD) != 0);
        EXPECT_EQ(c.italic, (effects & CFE_ITALIC) != 0);
        EXPECT_EQ(c.underline, (effects & CFE_UNDERLINE) != 0);
    }
}

TEST_F(TextTrayTest, WhitePaintsAsOffWhiteAndTheTwistUsesTheLargeSizes)
{
    uint32_t white = 0x12FFFFFF;
    tray->StoreOwnerValue(&white);
    EXPECT_EQ(0x12FAFAFAu, cell) << "the top byte is kept";
    EXPECT_EQ(0x00FAFAFAu, Format().crTextColor);

    tray->SetSizeType(4);
    EXPECT_EQ(72, TheBox()->StoredSize());
    tray->ResetModifiers();
    EXPECT_TRUE(Tool()->Twisted());
    EXPECT_EQ(396, TheBox()->StoredSize());
    EXPECT_EQ(0, tray->CurrentModifier()) << "the twist leaves the button alone";
    tray->SetSizeType(0);
    EXPECT_EQ(96, TheBox()->StoredSize());
    tray->ReselectCurrent();
    EXPECT_EQ(12, TheBox()->StoredSize());
}

TEST_F(TextTrayTest, SlidersSetTheToolsOpacityAndRelief)
{
    tray->Slider(0)->SetPosition(100);
    tray->ForwardSizeOrShape(0, true);
    EXPECT_EQ(100, Tool()->Slider1());
    EXPECT_FALSE(Tool()->Slider1Full());
    tray->Slider(1)->SetPosition(400);
    tray->ForwardSizeOrShape(1, true);
    EXPECT_EQ(400, Tool()->Slider2());
    EXPECT_EQ(145, Tool()->Pressures().heightMax) << "raised by 400 - 255";
    EXPECT_NE(nullptr, Tool()->Interpreter());
    EXPECT_EQ(1, tray->ModifierCount()) << "no rebuild of the buttons";
}

TEST_F(TextTrayTest, TheFontListOpensOverTheCanvasAndChoosesAFace)
{
    MPTextToolFontScrollList* list = tray->FontList();
    ASSERT_NE(nullptr, list);
    MPTextToolFontListModifier* faces = list->Model();
    ASSERT_GE(faces->FaceCount(), 2) << "the machine's TrueType faces";
    // The box is open, so opening the list cloaks it.
    TheBox()->PlaceBox(Box{300, 200, 500, 300});
    Step();
    Box closed = list->NameBox();
    Pointer(closed.left + 20, closed.top + 10, kPointerPressed | kPointerHeld);
    EXPECT_TRUE(list->IsOpen());
    EXPECT_NE(nullptr, TheBox()->CloakVisual());
    Box rows = list->ListBox();
    EXPECT_LT(rows.top, closed.top) << "the list drops up";
    EXPECT_EQ(closed.left + 4, rows.left);
    int32_t other = faces->SelectedIndex() == 0 ? 1 : 0;
    int32_t row = other - faces->Rows().FirstShown() + faces->Rows().ArrowOffset();
    Box target = list->RowBox(row);
    uint32_t before = ScreenPixel(target.left + 100, target.top + 3);
    Pointer(target.left + 40, target.top + 5, kPointerHeld);
    EXPECT_EQ(row, faces->Rows().Hovered());
    EXPECT_NE(before, ScreenPixel(target.left + 100, target.top + 3)) << "the hovered row is lit";
    Pointer(target.left + 40, target.top + 5, kPointerReleased);
    EXPECT_FALSE(list->IsOpen());
    EXPECT_EQ(other, faces->SelectedIndex());
    EXPECT_EQ(faces->FaceNameAt(other), std::string(TheBox()->StoredFace()));
    EXPECT_EQ(nullptr, TheBox()->CloakVisual()) << "uncloaked";
    EXPECT_FALSE(TheBox()->IsHidden());
}

TEST_F(TextTrayTest, ARectangleOpensTheBoxAndClosingTheTrayPaintsTheText)
{
    // A rectangle dragged on the canvas.
    Pointer(300, 150, kPointerPressed | kPointerHeld);
    for (int i = 1; i <= 5; ++i)
        Pointer(300 + 40 * i, 150 + 20 * i, kPointerHeld);
    Pointer(500, 250, kPointerReleased);
    ASSERT_FALSE(TheBox()->IsHidden());
    EXPECT_EQ(Box({300, 150, 500, 250}), TheBox()->GetBox());
    EXPECT_EQ(TheBox(), scene->Focus()) << "keys go to the box";
    for (char c : std::string("Ami"))
        TheBox()->HandleKey(MMStageEvent::KeyData(0, uint8_t(c), 0));
    char typed[16] = {};
    PumpUntil([&] {
        TheBox()->GetText(typed, sizeof typed);
        return std::string(typed) == "Ami";
    });
    ASSERT_STREQ("Ami", typed);

    tray->DeleteMolecules();
    EXPECT_EQ(visualsBefore, stage->TopEnclosure()->Visuals().size())
        << "the font list, buttons and sliders leave the screen with the tray";
    delete tray;
    tray = nullptr;
    int32_t ink = 0, outside = 0;
    for (int32_t y = 100; y < 300; ++y)
        for (int32_t x = 100; x < 420; ++x) {
            const KVXComponentPixel* p = plane.PixelAt(x, y);
            bool inked = p->ColorWord() != kPaper.ColorWord() || p->height != kPaper.height;
            bool inBox = x >= 156 && x < 356 && y >= 134 && y < 234;
            (inBox ? ink : outside) += inked;
        }
    EXPECT_GT(ink, 100) << "the text is paint now";
    EXPECT_EQ(0, outside);
}

// The list's rows and arrows with more faces than it shows: resting on the
// up arrow scrolls it a face at a time until the first face shows.
TEST_F(TextTrayTest, RestingOnAnArrowScrollsTheList)
{
    struct Client : MPFontListClient {
        std::string face;
        int cloaks = 0, uncloaks = 0;
        void SetFaceName(const char* f) override { face = f; }
        void CloakTextBox() override { ++cloaks; }
        void UncloakTextBox() override { ++uncloaks; }
        void PlayOpenSound() override {}
        void Redraw() override {}
    } client;
    MPFontListSetup setup;
    for (int i = 0; i < 20; ++i)
        setup.faces.push_back("Face " + std::string(1, char('T' - i)));
    setup.startFace = "Face T";
    setup.listFace = "DejaVu Sans";
    setup.suffix = "...";
    MMRecordTable layout, pictures;
    layout.Load(MMMakeResourceId(0, kTextTrayTable), 16, nullptr);
    pictures.Load(layout.LongAt(layout.FindRowByKey(kTextTrayFontPicturesRow), 2), 8, nullptr);
    ASSERT_EQ(kFontPictureCount, pictures.RowCount());
    for (int i = 0; i < kFontPictureCount; ++i)
        setup.pictures[i] = pictures.LongAt(i, 4);
    pictures.Free();
    layout.Free();
    MPTextToolFontScrollList list(stage, setup, Pair{300, 550}, 10000, &client, nullptr);
    stage->TopEnclosure()->AddVisual(&list);
    const MPFontListRows& rows = list.Model()->Rows();
    EXPECT_EQ("Face T", client.face) << "sorted, the start face chosen";
    EXPECT_EQ(19, rows.Selected());
    EXPECT_EQ(4, rows.FirstShown()) << "the chosen face among the last shown";

    Box closed = list.NameBox();
    Pointer(closed.left + 20, closed.top + 10, kPointerPressed | kPointerHeld);
    ASSERT_TRUE(list.IsOpen());
    EXPECT_EQ(1, client.cloaks);
    EXPECT_EQ(18, rows.ShownRows());
    Box up = list.RowBox(0);
    EXPECT_EQ(0, list.RowAt(up.left + 50, up.top + 2));
    Pointer(up.left + 50, up.top + 5, kPointerHeld);
    EXPECT_TRUE(rows.Scrolling());
    EXPECT_TRUE(rows.ScrollingUp());
    for (int i = 0; i < 10 && rows.Scrolling(); ++i)
        Step();
    EXPECT_EQ(0, rows.FirstShown());
    EXPECT_FALSE(rows.Scrolling()) << "stopped at the first face";
    EXPECT_EQ(kMMThreadInactive, list.Thread()->State());
    // Let go on the arrow: nothing chosen.
    Pointer(up.left + 50, up.top + 5, kPointerReleased);
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(19, rows.Selected());
    EXPECT_EQ(1, client.uncloaks);
    stage->TopEnclosure()->RemoveVisual(&list);
}
