#pragma once
// Modifier buttons whose two pictures are composed at run time: each of the
// manager's preview bitmaps is cleared to a see-through white, given the tray
// buttons' shared background (table 549: A at offset 4, B at offset 12) and a
// picture centred on it; what neither picture covers stays see-through.
#include <cstdint>

#include "engine/picture_collection.h"
#include "engine/record_table.h"

class KVXModifierBitmapObject;
class KVXToolCollection;
class MMCommand;

enum : int16_t { kBitmapButtonBackgrounds = 549 };

// A row of a bitmap-button layout (16-byte rows): the button's position at
// 0, the picture on background A at 4 and on background B at 8.
struct KVXBitmapButtonRow {
    Pair position = {0, 0};
    MMPictureID pictureA = MMPictureID(MM_NO_RESOURCE);
    MMPictureID pictureB = MMPictureID(MM_NO_RESOURCE);
};
// Row 'row' of a loaded layout; the empty row when the table has none.
KVXBitmapButtonRow BitmapButtonRow(const MMRecordTable& layout, int32_t row);

// A KVXModifierBitmapObject of the tray at layer 107 with cursor 0, taking
// the command; null when the tray has no preview bitmaps.
KVXModifierBitmapObject* MakeBitmapButton(KVXToolCollection* tray, int16_t toolIndex,
                                          const KVXBitmapButtonRow& row, MMCommand* command);
// The same in two steps, for a tray that paints more on the bitmaps before
// the button takes them: false when the tray has no preview bitmaps.
bool ComposeBitmapButton(KVXToolCollection* tray, const KVXBitmapButtonRow& row);
KVXModifierBitmapObject* MakeComposedButton(KVXToolCollection* tray, int16_t toolIndex,
                                            const Pair& position, MMCommand* command);
