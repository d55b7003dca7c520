#include "text/text_tray.h"

#include <windows.h>

#include <cstdlib>
#include <new>

#include "canvas/canvas_visual.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "framework/color.h"
#include "framework/heap.h"
#include "shell/widgets/toggle_button.h"
#include "text/font_list.h"
#include "text/font_scroll_list.h"
#include "text/text_box.h"
#include "text/text_tool.h"
#include "trays/creation_zoom.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kButtonLayer = 107;
const int16_t kFontListLayer = 10000;
const int32_t kTrayRowSize = 16;
const int32_t kFirstSizeIndex = 2;
const int32_t kDefaultListSize = 13;

typedef void (KVXTextToolCollection::*StyleHandler)();
const char* const kStyleCommands[4] = {"HandlePlainButton", "HandleItalicButton",
                                       "HandleBoldButton", "HandleUnderlineButton"};
const StyleHandler kStyleHandlers[4] = {
    &KVXTextToolCollection::HandlePlainButton, &KVXTextToolCollection::HandleItalicButton,
    &KVXTextToolCollection::HandleBoldButton, &KVXTextToolCollection::HandleUnderlineButton};

std::string TextOfKey(int16_t key)
{
    MMRecordTable texts;
    texts.Load(TrayTableId(0), 10, gDefaultHeap);
    int32_t row = texts.FindRowByKey(key);
    std::string text = row >= 0 ? texts.StringAt(row, 2) : "";
    texts.Free();
    return text;
}

std::vector<std::string> InstalledFaces()
{
    HDC dc = CreateCompatibleDC(nullptr);
    std::vector<std::string> faces = EnumerateTrueTypeFaces(dc);
    if (dc)
        DeleteDC(dc);
    return faces;
}

}  // namespace

KVXTextToolCollection::KVXTextToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                             KVXPlaneComponentTop* previewPlane,
                                             MMBitmapWithPixels* previewBitmapA,
                                             MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB)
{
}

KVXTextToolCollection::~KVXTextToolCollection()
{
    DeleteFontList();
    DeleteStyleButtons();
}

TextTool* KVXTextToolCollection::CurrentTextTool() const
{
    return dynamic_cast<TextTool*>(CurrentTool());
}

KVXTextEditWrapper* KVXTextToolCollection::TextBox() const
{
    TextTool* tool = CurrentTextTool();
    return tool ? tool->TextBox() : nullptr;
}

void KVXTextToolCollection::Begin()
{
    // The real text box window cannot follow a zoomed canvas.
    HideCreationZoom(this);
    AddTool(new (std::nothrow) TextTool(GetCreationScene(), TrayTableId(kTextToolTable), 2));
    KVXToolCollection::Begin();
    styles = KVXTextStyleButtons();
    MakeStyleButtons();
    MakeFontList();
    PrepareTextBox();
    uint32_t colour = *colorCell;
    StoreOwnerValue(&colour);
}

void KVXTextToolCollection::DeleteMolecules()
{
    ShowCreationZoom(this);
    DeleteFontList();
    DeleteStyleButtons();
    KVXToolCollection::DeleteMolecules();
}

// The list leaves the screen before it goes: the stage would otherwise draw
// a deleted visual at its next redraw.
void KVXTextToolCollection::DeleteFontList()
{
    if (fontList == nullptr)
        return;
    if (MMEnclosure* enclosure = fontList->Enclosure()) {
        fontList->Invalidate();
        enclosure->RemoveVisual(fontList);
    }
    delete fontList;
    fontList = nullptr;
}

void KVXTextToolCollection::MakeStyleButtons()
{
    MMRecordTable layout;
    layout.Load(TrayTableId(kTextTrayTable), kTrayRowSize, gDefaultHeap);
    for (int32_t i = 0; i < 4; ++i) {
        int32_t row = layout.FindRowByKey(int16_t(kTextTrayPlainRow + i));
        if (row < 0 || buttons[i])
            continue;
        Pair at = layout.PairAt(row, 2);
        KVXToggleButtonMolecule::Parameters parameters = {
            this, at.x, at.y, MMPictureID(layout.LongAt(row, 6)),
            MMPictureID(layout.LongAt(row, 10)),
            new MMClassCommand<KVXTextToolCollection, StyleHandler>(kStyleCommands[i], Stage(),
                                                                    this, kStyleHandlers[i]),
            kButtonLayer, TrayCursor(0), nullptr};
        buttons[i] = new (std::nothrow) KVXToggleButtonMolecule(parameters);
    }
    layout.Free();
    ShowStyles();
}

void KVXTextToolCollection::DeleteStyleButtons()
{
    for (KVXToggleButtonMolecule*& button : buttons) {
        delete button;
        button = nullptr;
    }
}

void KVXTextToolCollection::MakeFontList()
{
    if (fontList)
        return;
    MPFontListSetup setup;
    setup.faces = InstalledFaces();
    if (setup.faces.empty())
        return;
    setup.startFace = TextOfKey(kStartFaceKey);
    setup.listFace = TextOfKey(kFontListFaceKey);
    int32_t size = std::atoi(TextOfKey(kFontListSizeKey).c_str());
    setup.listSize = size > 0 ? size : kDefaultListSize;
    setup.suffix = TextOfKey(kFontSuffixKey);
    MMRecordTable layout, pictures;
    layout.Load(TrayTableId(kTextTrayTable), kTrayRowSize, gDefaultHeap);
    int32_t place = layout.FindRowByKey(kTextTrayFontListRow);
    int32_t list = layout.FindRowByKey(kTextTrayFontPicturesRow);
    Pair at = place >= 0 ? layout.PairAt(place, 2) : Pair{0, 0};
    if (list >= 0)
        pictures.Load(layout.LongAt(list, 2), 8, gDefaultHeap);
    for (int32_t i = 0; i < kFontPictureCount; ++i)
        setup.pictures[i] = i < pictures.RowCount() ? MMPictureID(pictures.LongAt(i, 4))
                                                    : MMPictureID(MM_NO_RESOURCE);
    pictures.Free();
    layout.Free();
    fontList = new (std::nothrow) MPTextToolFontScrollList(Stage(), setup, at, kFontListLayer,
                                                           this, TrayCursor(0));
    if (fontList && TopEnclosure())
        TopEnclosure()->AddVisual(fontList);
}

void KVXTextToolCollection::ApplyFormat(int32_t sizeIndex)
{
    KVXTextEditWrapper* box = TextBox();
    TextTool* tool = CurrentTextTool();
    box->SetItalic(styles.italic);
    box->SetBold(styles.bold);
    box->SetUnderline(styles.underline);
    box->SetTextColor(MakeMMColorFromRgb(PaintableTextColour(*colorCell) & 0xFFFFFF));
    box->SetTextSize(TextSizeForIndex(sizeIndex, tool->Twisted()));
    if (fontList && fontList->Model()->FaceCount() > 0)
        box->SetFaceName(fontList->Model()->FaceNameAt(fontList->Model()->SelectedIndex()).c_str());
}

void KVXTextToolCollection::PrepareTextBox()
{
    KVXTextEditWrapper* box = TextBox();
    if (!box)
        return;
    box->SetSelection(0, -1);
    box->Clear();
    box->SetDefaultFormatMode(true);
    ApplyFormat(kFirstSizeIndex);
    box->SetDefaultFormatMode(false);
    ApplyFormat(sizeType);
    box->UpdatePlacement();
}

void KVXTextToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (ModifierCount() == 0) {
        MMRecordTable layout;
        layout.Load(TrayTableId(kTextTrayTable), kTrayRowSize, gDefaultHeap);
        int32_t row = layout.FindRowByKey(kTextTrayToolButtonRow);
        if (row >= 0)
            AddModifier(new (std::nothrow) KVXModifiersPictureObject(
                this, 0, layout.PairAt(row, 2), MMPictureID(layout.LongAt(row, 6)),
                MMPictureID(layout.LongAt(row, 10)), MakeModifierCommand(0), kButtonLayer,
                TrayCursor(0)));
        layout.Free();
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    MMRecordTable layout;
    layout.Load(TrayTableId(kTextTrayTable), kTrayRowSize, gDefaultHeap);
    int32_t sliders = layout.FindRowByKey(kTextTraySlidersRow);
    if (sliders >= 0)
        MakeSliders(layout.LongAt(sliders, 2));
    layout.Free();
}

void KVXTextToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    auto* tool = dynamic_cast<KVXToolStd*>(CurrentTool());
    if (!tool || (which != 0 && which != 1))
        return;
    if (which == 0) {
        UpdateFirstPreview();
        tool->SetSlider1(GetSliderValue(0));
    } else {
        UpdateSecondPreview();
        tool->SetSlider2(GetSliderValue(1));
    }
}

void KVXTextToolCollection::ResetModifiers()
{
    savedModifier = currentModifier;
    if (TextTool* tool = CurrentTextTool())
        tool->SetTwisted(true);
}

void KVXTextToolCollection::ReselectCurrent()
{
    if (TextTool* tool = CurrentTextTool())
        tool->SetTwisted(false);
}

void KVXTextToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    uint32_t paintable = PaintableTextColour(*colour);
    if (KVXTextEditWrapper* box = TextBox()) {
        box->SetTextColor(MakeMMColorFromRgb(paintable & 0xFFFFFF));
        box->UpdatePlacement();
    }
    KVXToolCollection::StoreOwnerValue(&paintable);
}

void KVXTextToolCollection::CloakTextBox()
{
    if (KVXTextEditWrapper* box = TextBox())
        box->Cloak();
}

void KVXTextToolCollection::UncloakTextBox()
{
    if (KVXTextEditWrapper* box = TextBox())
        box->Uncloak();
}

void KVXTextToolCollection::SetFaceName(const char* face)
{
    if (KVXTextEditWrapper* box = TextBox()) {
        box->SetFaceName(face);
        box->UpdatePlacement();
    }
}

void KVXTextToolCollection::ShowStyles()
{
    const bool on[4] = {styles.plain, styles.italic, styles.bold, styles.underline};
    for (int32_t i = 0; i < 4; ++i) {
        if (!buttons[i])
            continue;
        if (on[i])
            buttons[i]->SetOn();
        else
            buttons[i]->SetOff();
    }
}

void KVXTextToolCollection::StyleChanged()
{
    ShowStyles();
    if (KVXTextEditWrapper* box = TextBox())
        box->UpdatePlacement();
}

void KVXTextToolCollection::HandlePlainButton()
{
    styles.PressPlain();
    if (KVXTextEditWrapper* box = TextBox())
        box->SetPlain();
    StyleChanged();
}

void KVXTextToolCollection::HandleItalicButton()
{
    styles.SetItalic(buttons[1] && buttons[1]->IsOn());
    if (KVXTextEditWrapper* box = TextBox())
        box->SetItalic(styles.italic);
    StyleChanged();
}

void KVXTextToolCollection::HandleBoldButton()
{
    styles.SetBold(buttons[2] && buttons[2]->IsOn());
    if (KVXTextEditWrapper* box = TextBox())
        box->SetBold(styles.bold);
    StyleChanged();
}

void KVXTextToolCollection::HandleUnderlineButton()
{
    styles.SetUnderline(buttons[3] && buttons[3]->IsOn());
    if (KVXTextEditWrapper* box = TextBox())
        box->SetUnderline(styles.underline);
    StyleChanged();
}
