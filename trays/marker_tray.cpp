#include "trays/marker_tray.h"

#include "canvas/bitmap_ops.h"
#include "engine/animation_molecule.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "tools/marker_tools.h"
#include "trays/bitmap_buttons.h"
#include "trays/color_pickers.h"
#include "trays/manager_tool.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kMarkerTable = 519;
const int16_t kLeakyTable = 520;
const int16_t kInkTable = 521;
const int16_t kMarkerButtons = 602;
const int16_t kMarkerStrokes = 686;
const int16_t kTwistedButtons = 607;
const int16_t kMarkerSliders = 606;
const int16_t kTwistedSliders = 609;
const int16_t kFirstTwistedTool = 3;
const int16_t kRainbowPen = 2;
// Rows of the slider set and of the first slider's table.
const int16_t kArrowKey = 5;
const int16_t kArrowLayer = 107;
const int16_t kGradientKey = 5;
const int16_t kStopKey = 2;
// The rainbow pen's bands fill the inside of its pill, centred on the button.
const int32_t kBandsWidth = 24;
const int32_t kBandsHeight = 4;

// The bands painted over the composed pill, band k in its colour.
void PaintBands(const MMBitmap& bitmap, const KVXMarkerToolCollection& tray)
{
    int32_t bands = tray.GradientSteps() + 1;
    if (bands <= 0)
        return;
    bands = bands < kBandsWidth ? bands : kBandsWidth;
    int32_t left = (bitmap.box.left + bitmap.box.right - kBandsWidth) / 2;
    int32_t top = (bitmap.box.top + bitmap.box.bottom - kBandsHeight) / 2;
    for (int32_t k = 0; k < bands; ++k) {
        Box band = {left + k * kBandsWidth / bands, top, left + (k + 1) * kBandsWidth / bands,
                    top + kBandsHeight};
        MMClippedBitmap part(bitmap, band);
        uint32_t colour = tray.GradientBand(k);
        FillBitmapColor(part, uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16));
        SetBitmapAlpha(part, 0);
    }
}

}  // namespace

KVXMarkerToolCollection::~KVXMarkerToolCollection() { DeleteGradientArrows(); }

void KVXMarkerToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new MarkerTool(scene, TrayTableId(kMarkerTable), sizeType, colour));
    AddTool(new LeakyMarkerTool(scene, TrayTableId(kLeakyTable), sizeType, colour));
    AddTool(new KVXToolInvisibleInkMarkerTool(scene, TrayTableId(kInkTable), sizeType, colour));
    AddTool(new KVXToolInvisibleInkRevealMarkerTool(scene, TrayTableId(kInkTable), sizeType,
                                                    colour));
    AddTwin(new ModifierMarkerTool(scene, TrayTableId(kMarkerTable), 0, CopyRecord(),
                                   previewPlane));
    AddTwin(new ModifierLeakyMarkerTool(scene, TrayTableId(kLeakyTable), 0, CopyRecord(),
                                        previewPlane));
    BeginTwins();
    ReadGradient();
    KVXToolCollection::Begin();
}

// The first slider's table names the gradient; of its stops the tray keeps
// the first and how many follow.
void KVXMarkerToolCollection::ReadGradient()
{
    MMRecordTable set, slider, gradient;
    set.Load(TrayTableId(kMarkerSliders), 10, gDefaultHeap);
    slider.Load(TrayItemAt(set, set.RowCount() > 0 ? 0 : -1), 10, gDefaultHeap);
    gradient.Load(TrayItemAt(slider, slider.FindRowByKey(kGradientKey)), 10, gDefaultHeap);
    gradientSteps = gradient.CountRows(0, 0, kStopKey) - 1;
    gradientStart = uint32_t(TrayValueAt(gradient, gradient.FindRowByKey(kStopKey))) & 0xFFFFFFu;
}

uint32_t KVXMarkerToolCollection::GradientBand(int32_t k) const
{
    // The first stop exactly: a turn through the wheel rounds its bytes.
    if (gradientSteps < 0 || k % (gradientSteps + 1) == 0)
        return gradientStart;
    double hue, saturation, value;
    ColorToHsv(gradientStart, hue, saturation, value);
    hue += double(k) / double(gradientSteps + 1);
    return HsvToColor(hue - int32_t(hue), saturation, value);
}

MMAnimationMolecule* KVXMarkerToolCollection::GradientArrow(int32_t k) const
{
    return k == 0 || k == 1 ? gradientArrows[k] : nullptr;
}

void KVXMarkerToolCollection::BuildGradientArrows()
{
    MMRecordTable set;
    set.Load(TrayTableId(kMarkerSliders), 10, gDefaultHeap);
    for (int32_t k = 0; k < 2; ++k) {
        MMResourceId script = TrayItemAt(set, set.FindRowByKey(kArrowKey, 0, k));
        if (script == MM_NO_RESOURCE || gradientArrows[k] != nullptr)
            continue;
        gradientArrows[k] = new MMAnimationMolecule(this, script, 1);
        // Over the tray, with its buttons.
        gradientArrows[k]->SetLayerOffset(kArrowLayer);
        gradientArrows[k]->SetMouseCommand(MakeDudCommand("Change Gradient Type"));
        gradientArrows[k]->Show();
    }
}

void KVXMarkerToolCollection::DeleteGradientArrows()
{
    for (MMAnimationMolecule*& arrow : gradientArrows) {
        delete arrow;
        arrow = nullptr;
    }
}

void KVXMarkerToolCollection::ReleaseModifiers()
{
    KVXToolCollection::ReleaseModifiers();
    DeleteGradientArrows();
}

void KVXMarkerToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    TakeColour();
    mode = newMode;
    for (int16_t i = 0; i < 3; ++i)
        if (KVXBaseModifiersObject* button =
                MakeModifierButton(newMode, i, int16_t(newMode == 0 ? i : kFirstTwistedTool + i)))
            AddModifier(button);
    if (newMode == 0)
        BuildGradientArrows();
    if (manager != nullptr)
        manager->ShowSizeButtons();
    // Each mode has sliders of its own, there before its tool shows or
    // hides them.
    MMResourceId sliders = TrayTableId(newMode == 0 ? kMarkerSliders : kTwistedSliders);
    if (sliders != sliderTable)
        DeleteSliders();
    MakeSliders(sliders);
    KVXToolCollection::SetModeAndSelect(newMode, index);
}

KVXBaseModifiersObject* KVXMarkerToolCollection::MakeModifierButton(int16_t buttonMode,
                                                                    int16_t index,
                                                                    int16_t toolIndex)
{
    if (buttonMode != 0)
        return MakeTwistedButton(index, toolIndex);
    KVXTrayButtonRows rows(kMarkerButtons, kMarkerStrokes);
    MMCommand* command = MakeModifierCommand(index);
    switch (index) {
    case 0:
        return MakeStrokedButton(this, rows, index, BrushOf(ModifierTwin(0)), &colorCopy,
                                 toolIndex, command);
    case 1:
        return MakeGlobbyButton(this, rows, index, GlobbyParameter(ModifierTwin(1)), &colorCopy,
                                toolIndex, command);
    default:
        return MakeRowPictureButton(this, rows, index, toolIndex, command);
    }
}

// The twisted buttons; the rainbow pen's pill gets the gradient's bands.
KVXBaseModifiersObject* KVXMarkerToolCollection::MakeTwistedButton(int16_t index,
                                                                     int16_t toolIndex)
{
    MMRecordTable rows;
    rows.Load(TrayTableId(kTwistedButtons), 16, gDefaultHeap);
    KVXBitmapButtonRow row = BitmapButtonRow(rows, index);
    if (index != kRainbowPen || !ComposeBitmapButton(this, row))
        return MakeBitmapButton(this, toolIndex, row, MakeModifierCommand(index));
    PaintBands(*previewBitmapA, *this);
    PaintBands(*previewBitmapB, *this);
    return MakeComposedButton(this, toolIndex, row.position, MakeModifierCommand(index));
}

void KVXMarkerToolCollection::SelectModifier(int16_t index)
{
    KVXToolCollection::SelectModifier(RefuseAllBut(this, index, 0));
    KVXToolBase* tool = CurrentTool();
    if (dynamic_cast<KVXToolInvisibleInkRevealMarkerTool*>(tool) != nullptr)
        ShowSliders(this, true, false);
    else if (tool != nullptr && tool == ToolAt(0))
        ShowSliders(this, true, true);
}

void KVXMarkerToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    SlideTwin(ModifierTwin(currentModifier), which);
    KVXToolCollection::ForwardSizeOrShape(which, false);
    if (which != 1 || currentModifier < 0)
        return;
    RedrawCurrentButton();
}
