#include "trays/paint_bucket_tray.h"

#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "engine/animation_molecule.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/scroll_bars.h"
#include "tools/fill_tools.h"
#include "trays/bitmap_buttons.h"
#include "trays/color_pickers.h"
#include "trays/modifier_buttons.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kBucketSliders = 636;
const int16_t kRadialButton = 698;
const int16_t kPatternButton = 699;
// The slider set's own rows: the flood and linear buttons' layout, the
// fill controls.
const int16_t kButtonsKey = 4;
const int16_t kControlsKey = 5;
// Rows of the fill controls' table.
enum : int16_t {
    kColorButtonPlace = 0,  // centre at 2, button size at 6
    kColorButtonBox = 1,    // the pop-up box's size at 2
    kColorButtonPress = 2,  // sounds at 2
    kColorButtonDrag = 3,
    kControlButton = 4,     // two animated buttons
    kControlAnimation = 5,  // two animations
};
const int16_t kControlLayer = 107;
const int16_t kButtonPriority = 100;

MMResourceId SetRow(int16_t key)
{
    MMRecordTable set;
    set.Load(TrayTableId(kBucketSliders), 10, gDefaultHeap);
    return TrayItemAt(set, set.FindRowByKey(key));
}

}  // namespace

void FillCanvasWithColor(KVXSubScene* scene, uint32_t colour)
{
    KVXPlaneComponentTop* plane = scene->GetCanvasComponentPlane();
    if (plane == nullptr || plane->bits == nullptr)
        return;
    KVXCanvasVisual* canvas = scene->GetCreationCanvas();
    if (canvas != nullptr)
        canvas->SnapshotForUndo(false);
    uint8_t blue = uint8_t(colour), green = uint8_t(colour >> 8), red = uint8_t(colour >> 16);
    for (int32_t y = 0; y < plane->height; ++y) {
        KVXComponentPixel* p = plane->Row(y);
        for (int32_t x = 0; x < plane->width; ++x, ++p) {
            p->blue = blue;
            p->green = green;
            p->red = red;
        }
    }
    plane->MarkAllDirty();
    plane->changeState.Advance();
    if (canvas != nullptr)
        canvas->Invalidate();
}

KVXPaintBucketToolCollection::KVXPaintBucketToolCollection(uint32_t* colorCell,
                                                           KVXCreationHost* creationScene,
                                                           KVXPlaneComponentTop* previewPlane,
                                                           MMBitmapWithPixels* previewBitmapA,
                                                           MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(colorCell, creationScene, previewPlane, previewBitmapA, previewBitmapB)
{
}

void KVXPaintBucketToolCollection::Begin()
{
    KVXCreationHost* scene = GetCreationScene();
    const uint8_t* colour = reinterpret_cast<const uint8_t*>(colorCell);
    AddTool(new FloodTool(scene, kFillTable, colour));
    AddTool(new LinearGradientFloodTool(scene, kFillTable, colour, secondColour));
    AddTool(new RadialGradientFloodTool(scene, kFillTable, colour, secondColour));
    AddTool(new PatternFloodTool(scene, kFillTable, colour, &pattern));
    KVXToolCollection::Begin();
}

KVXBaseModifiersObject* KVXPaintBucketToolCollection::MakeModifierButton(int16_t, int16_t index,
                                                                         int16_t toolIndex)
{
    MMRecordTable layout;
    int32_t row = 0;
    if (index <= 1) {
        layout.Load(SetRow(kButtonsKey), 16, gDefaultHeap);
        row = index;
    } else {
        layout.Load(TrayTableId(index == 2 ? kRadialButton : kPatternButton), 16, gDefaultHeap);
    }
    if (row >= layout.RowCount())
        return nullptr;
    MMCommand* command = index == 0 ? MakeModifierCommand(0) : MakeDudCommand();
    return MakeBitmapButton(this, toolIndex, BitmapButtonRow(layout, row), command);
}

void KVXPaintBucketToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (newMode == 0) {
        for (int16_t i = 0; i < 4; ++i)
            AddModifier(MakeModifierButton(0, i, i));
        BuildControls();
    }
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kBucketSliders));
}

void KVXPaintBucketToolCollection::BuildControls()
{
    MMRecordTable controls;
    controls.Load(SetRow(kControlsKey), 10, gDefaultHeap);
    int32_t place = controls.FindRowByKey(kColorButtonPlace);
    if (place >= 0 && colorButton == nullptr) {
        Pair centre = controls.PairAt(place, 2);
        Pair button = controls.PairAt(place, 6);
        int32_t boxRow = controls.FindRowByKey(kColorButtonBox);
        Pair box = boxRow >= 0 ? controls.PairAt(boxRow, 2) : Pair{150, 100};
        KVXColorButtonAndRainbowBoxMolecule::Geometry geometry = {centre.x, centre.y, button.x,
                                                                  button.y, box.x, box.y};
        colorButton = new KVXColorButtonAndRainbowBoxMolecule(
            this, *colorCell, geometry, MakeDudCommand(), kControlLayer,
            TrayItemAt(controls, controls.FindRowByKey(kColorButtonPress)),
            TrayItemAt(controls, controls.FindRowByKey(kColorButtonDrag)));
    }
    for (int32_t k = 0; k < 2; ++k) {
        MMResourceId script = TrayItemAt(controls, controls.FindRowByKey(kControlButton, 0, k));
        if (script != MM_NO_RESOURCE && controlButtons[k] == nullptr)
            controlButtons[k] = new KVXAnimatedButtonMolecule(this, script, MakeDudCommand(),
                                                              kControlLayer, 0, kButtonPriority, 1);
        script = TrayItemAt(controls, controls.FindRowByKey(kControlAnimation, 0, k));
        if (script != MM_NO_RESOURCE && controlAnimations[k] == nullptr) {
            controlAnimations[k] = new MMAnimationMolecule(this, script, 1);
            controlAnimations[k]->SetLayerOffset(kControlLayer);
            controlAnimations[k]->SetMouseCommand(MakeDudCommand());
            controlAnimations[k]->Show();
        }
    }
}

void KVXPaintBucketToolCollection::DeleteControls()
{
    delete colorButton;
    colorButton = nullptr;
    for (int32_t k = 0; k < 2; ++k) {
        delete controlButtons[k];
        delete controlAnimations[k];
        controlButtons[k] = nullptr;
        controlAnimations[k] = nullptr;
    }
}

KVXAnimatedButtonMolecule* KVXPaintBucketToolCollection::ControlButton(int32_t k) const
{
    return k == 0 || k == 1 ? controlButtons[k] : nullptr;
}

MMAnimationMolecule* KVXPaintBucketToolCollection::ControlAnimation(int32_t k) const
{
    return k == 0 || k == 1 ? controlAnimations[k] : nullptr;
}

int32_t KVXPaintBucketToolCollection::ControlCount() const
{
    int32_t n = colorButton != nullptr ? 1 : 0;
    for (int32_t k = 0; k < 2; ++k)
        n += (controlButtons[k] != nullptr) + (controlAnimations[k] != nullptr);
    return n;
}

void KVXPaintBucketToolCollection::ReleaseModifiers()
{
    KVXToolCollection::ReleaseModifiers();
    DeleteControls();
}

void KVXPaintBucketToolCollection::SelectModifier(int16_t index)
{
    // The other fills' buttons answer with the refusal sound themselves.
    if (index != -1 && index != 0)
        index = 0;
    SelectModifierOfTool(index, 0);
}

void KVXPaintBucketToolCollection::ForwardSizeOrShape(int16_t which, bool)
{
    if (which == 0)
        SnapSliderToEnds(this, 0);
    KVXToolCollection::ForwardSizeOrShape(which, false);
}

void KVXPaintBucketToolCollection::ResetModifiers() { FillCanvasWithColor(this, *colorCell); }

void KVXPaintBucketToolCollection::ReselectCurrent() { FillCanvasWithColor(this, *colorCell); }

void KVXPaintBucketToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    KVXToolCollection::StoreOwnerValue(colour);
    if (colorButton != nullptr && colour != nullptr)
        colorButton->SetColor(*colour);
    RebuildModifiers();
}
