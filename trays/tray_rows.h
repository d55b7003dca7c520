#pragma once
// The rows that describe a tray's modifier buttons, and the buttons built
// from them: stroked buttons (a layout row of 16 bytes with a position and
// the two backgrounds at 4 and 8, and a stroke list of 2-byte rows naming
// point tables) and picture buttons; with the trays' shared small rules.
#include <cstdint>

#include "engine/record_table.h"
#include "engine/resource_collection.h"
#include "framework/geometry.h"

class BrushBase;
class KVXBaseModifiersObject;
class KVXToolBase;
class KVXToolCollection;
class MMCommand;
class MMPictureMolecule;

class KVXTrayButtonRows {
public:
    // strokeList -1: a layout without strokes.
    KVXTrayButtonRows(int16_t layoutTable, int16_t strokeList);

    // The buttons the stroke list asks for (the layout rows without one).
    int32_t Count() const;
    bool HasRow(int32_t j) const { return j >= 0 && j < layout.RowCount(); }
    Pair Position(int32_t j) const;
    // The background behind the black stroke (0) or the coloured one (1).
    MMResourceId Background(int32_t j, int32_t which) const;
    MMResourceId PointTable(int32_t j) const;

private:
    MMRecordTable layout;
    MMRecordTable strokes;
    bool withStrokes;
};

// Row j stroked by the brush in the colour; null when the row is missing.
KVXBaseModifiersObject* MakeStrokedButton(KVXToolCollection* tray, const KVXTrayButtonRows& rows,
                                          int16_t j, BrushBase* brush, uint32_t* colour,
                                          int16_t toolIndex, MMCommand* command);
// Row j laid as gloppy blobs in the colour.
KVXBaseModifiersObject* MakeGlobbyButton(KVXToolCollection* tray, const KVXTrayButtonRows& rows,
                                         int16_t j, int16_t parameter, uint32_t* colour,
                                         int16_t toolIndex, MMCommand* command);
// Row j's two backgrounds as the button's pictures.
KVXBaseModifiersObject* MakeRowPictureButton(KVXToolCollection* tray,
                                             const KVXTrayButtonRows& rows, int16_t j,
                                             int16_t toolIndex, MMCommand* command);
// The buttons of a twisted tray that the child never needs to see: no
// pictures, at the origin.
KVXBaseModifiersObject* MakeBlankButton(KVXToolCollection* tray, int16_t toolIndex,
                                        MMCommand* command);

// The refusal of the trays that offer one modifier: any index but the
// allowed one and -1 plays the dud sound and becomes the allowed one.
int16_t RefuseAllBut(KVXToolCollection* tray, int16_t index, int16_t allowed);

// Both sliders' thumbs shown or put away.
void ShowSliders(KVXToolCollection* tray, bool first, bool second);
// The gloppy previews' height: the twin's slider 2 (255, flat, without one).
int16_t GlobbyParameter(KVXToolBase* twin);
// A switch slider's position: 0 and the full range (510) stay, others go
// to 0 below 256, else to the full range.
int16_t SwitchPosition(int16_t position);
// The tray's slider (0 or 1) moved to its switch position when it is not
// there already.
void SnapSliderToEnds(KVXToolCollection* tray, int16_t which);
// A picture molecule of the tray at row 0 of an 8-byte picture table (its
// position at 0, its picture at 4), layer 107; null when the table is empty.
MMPictureMolecule* MakeTrayDecoration(KVXToolCollection* tray, int16_t table);
