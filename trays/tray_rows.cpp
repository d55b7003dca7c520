#include "trays/tray_rows.h"

#include "engine/command.h"
#include "engine/picture_collection.h"
#include "engine/picture_molecule.h"
#include "framework/heap.h"
#include "shell/widgets/scroll_bars.h"
#include "trays/modifier_buttons.h"
#include "trays/stroked_modifiers.h"
#include "trays/tool_collection.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kModifierLayer = 107;
const int16_t kSliderFullScale = 510;

}  // namespace

KVXTrayButtonRows::KVXTrayButtonRows(int16_t layoutTable, int16_t strokeList)
    : withStrokes(strokeList >= 0)
{
    layout.Load(TrayTableId(layoutTable), 16, gDefaultHeap);
    if (withStrokes)
        strokes.Load(TrayTableId(strokeList), 2, gDefaultHeap);
}

int32_t KVXTrayButtonRows::Count() const
{
    return withStrokes ? strokes.RowCount() : layout.RowCount();
}

Pair KVXTrayButtonRows::Position(int32_t j) const
{
    return HasRow(j) ? layout.PairAt(j, 0) : Pair{0, 0};
}

MMResourceId KVXTrayButtonRows::Background(int32_t j, int32_t which) const
{
    return HasRow(j) ? MMResourceId(layout.LongAt(j, which == 0 ? 4 : 8)) : MM_NO_RESOURCE;
}

MMResourceId KVXTrayButtonRows::PointTable(int32_t j) const
{
    return withStrokes && j >= 0 && j < strokes.RowCount() ? TrayTableId(strokes.ShortAt(j, 0))
                                                            : MM_NO_RESOURCE;
}

namespace {

KVXStrokedPreview PreviewOf(KVXToolCollection* tray, const KVXTrayButtonRows& rows, int16_t j,
                            uint32_t* colour)
{
    return {colour,
            rows.PointTable(j),
            MMPictureID(rows.Background(j, 0)),
            MMPictureID(rows.Background(j, 1)),
            tray->PreviewPlane(),
            tray->PreviewBitmapA()};
}

}  // namespace

KVXBaseModifiersObject* MakeStrokedButton(KVXToolCollection* tray, const KVXTrayButtonRows& rows,
                                          int16_t j, BrushBase* brush, uint32_t* colour,
                                          int16_t toolIndex, MMCommand* command)
{
    if (!rows.HasRow(j)) {
        delete command;
        return nullptr;
    }
    return new KVXStrokedModifierObject(tray, toolIndex, rows.Position(j), brush,
                                        PreviewOf(tray, rows, j, colour), command, kModifierLayer,
                                        TrayCursor(0));
}

KVXBaseModifiersObject* MakeGlobbyButton(KVXToolCollection* tray, const KVXTrayButtonRows& rows,
                                         int16_t j, int16_t parameter, uint32_t* colour,
                                         int16_t toolIndex, MMCommand* command)
{
    if (!rows.HasRow(j)) {
        delete command;
        return nullptr;
    }
    return new KVXStrokedGlobbyModifierObject(tray, toolIndex, rows.Position(j), parameter,
                                              PreviewOf(tray, rows, j, colour), command,
                                              kModifierLayer, TrayCursor(0));
}

KVXBaseModifiersObject* MakeRowPictureButton(KVXToolCollection* tray,
                                             const KVXTrayButtonRows& rows, int16_t j,
                                             int16_t toolIndex, MMCommand* command)
{
    if (!rows.HasRow(j)) {
        delete command;
        return nullptr;
    }
    return new KVXModifiersPictureObject(tray, toolIndex, rows.Position(j),
                                         MMPictureID(rows.Background(j, 0)),
                                         MMPictureID(rows.Background(j, 1)), command,
                                         kModifierLayer, TrayCursor(0));
}

KVXBaseModifiersObject* MakeBlankButton(KVXToolCollection* tray, int16_t toolIndex,
                                        MMCommand* command)
{
    return new KVXModifiersPictureObject(tray, toolIndex, Pair{0, 0}, MMPictureID(MM_NO_RESOURCE),
                                         MMPictureID(MM_NO_RESOURCE), command, kModifierLayer,
                                         nullptr);
}

int16_t RefuseAllBut(KVXToolCollection* tray, int16_t index, int16_t allowed)
{
    if (index == allowed || index == -1)
        return index;
    tray->PlayDudSound();
    return allowed;
}

void ShowSliders(KVXToolCollection* tray, bool first, bool second)
{
    if (KVXModifierScrollBarMolecule* slider = tray->Slider(0))
        first ? slider->ShowSlider() : slider->HideSlider();
    if (KVXModifierScrollBarMolecule* slider = tray->Slider(1))
        second ? slider->ShowSlider() : slider->HideSlider();
}

int16_t GlobbyParameter(KVXToolBase* twin)
{
    int16_t slider1 = 255, slider2 = 255;
    if (twin == nullptr || !ToolSliderValues(twin, slider1, slider2))
        return 255;
    return slider2;
}

int16_t SwitchPosition(int16_t position)
{
    if (position == 0 || position == kSliderFullScale)
        return position;
    return position < 256 ? 0 : kSliderFullScale;
}

void SnapSliderToEnds(KVXToolCollection* tray, int16_t which)
{
    KVXModifierScrollBarMolecule* slider = tray->Slider(which);
    if (slider == nullptr)
        return;
    int16_t value = slider->Position();
    if (SwitchPosition(value) != value)
        slider->SetPosition(SwitchPosition(value));
}

MMPictureMolecule* MakeTrayDecoration(KVXToolCollection* tray, int16_t table)
{
    MMRecordTable rows;
    rows.Load(TrayTableId(table), 8, gDefaultHeap);
    if (rows.RowCount() == 0)
        return nullptr;
    return new MMPictureMolecule(tray, MMPictureID(rows.LongAt(0, 4)), rows.PairAt(0, 0),
                                 kModifierLayer);
}
