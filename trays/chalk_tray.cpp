#include "trays/chalk_tray.h"

#include "canvas/canvas_visual.h"
#include "canvas/plane.h"
#include "tools/chalk_tools.h"
#include "trays/manager_tool.h"
#include "trays/tray_rows.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kChalkTable = 518;
const int16_t kChalkButtons = 590;
const int16_t kChalkStrokes = 683;
const int16_t kChalkSliders = 592;

}  // namespace

void InvertCanvas(KVXSubScene* scene)
{
    KVXPlaneComponentTop* plane = scene->GetCanvasComponentPlane();
    if (plane == nullptr || plane->bits == nullptr)
        return;
    KVXCanvasVisual* canvas = scene->GetCreationCanvas();
    if (canvas != nullptr)
        canvas->SnapshotForUndo(false);
    for (int32_t y = 0; y < plane->height; ++y) {
        KVXComponentPixel* p = plane->Row(y);
        for (int32_t x = 0; x < plane->width; ++x, ++p) {
            p->blue = uint8_t(255 - p->blue);
            p->green = uint8_t(255 - p->green);
            p->red = uint8_t(255 - p->red);
        }
    }
    plane->MarkAllDirty();
    plane->changeState.Advance();
    if (canvas != nullptr)
        canvas->Invalidate();
}

void UseFreeHand(KVXToolBase* tool)
{
    if (auto* chalk = dynamic_cast<ChalkTool*>(tool))
        chalk->UseFreeHandInterpreter();
}

void KVXChalkToolCollection::Begin()
{
    AddTool(new ChalkTool(GetCreationScene(), TrayTableId(kChalkTable), sizeType,
                          reinterpret_cast<const uint8_t*>(colorCell)));
    AddTwin(new ModifierChalkTool(GetCreationScene(), TrayTableId(kChalkTable), CopyRecord(),
                                  previewPlane));
    BeginTwins();
    KVXToolCollection::Begin();
}

void KVXChalkToolCollection::SetModeAndSelect(int16_t newMode, int16_t index)
{
    if (newMode == 0) {
        TakeColour();
        AddStrokedButtons(kChalkButtons, kChalkStrokes, ModifierTwin(0), 0);
    }
    if (manager != nullptr)
        manager->ShowSizeButtons();
    KVXToolCollection::SetModeAndSelect(newMode, index);
    if (newMode == 0)
        MakeSliders(TrayTableId(kChalkSliders));
}

void KVXChalkToolCollection::SelectModifier(int16_t index)
{
    index = RefuseAllBut(this, index, 0);
    if (index == currentModifier)
        return;
    SelectModifierOfTool(index, mode);
    UseFreeHand(CurrentTool());
}

void KVXChalkToolCollection::ForwardSizeOrShape(int16_t which, bool rebuild)
{
    SlideToolAndTwin(ModifierTwin(0), which, rebuild);
}

void KVXChalkToolCollection::ResetModifiers() { InvertCanvas(this); }

void KVXChalkToolCollection::ReselectCurrent() { InvertCanvas(this); }
