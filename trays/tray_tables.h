#pragma once
// Reading the trays' layout tables: items and values at offset 2 of a row,
// the creation scene's layout rows the trays share, and the program's
// cursors.
#include <cstdint>

#include "engine/record_table.h"
#include "engine/resource_collection.h"

class MMCursor;

enum : int16_t {
    kCreationLayoutTable = 734,
    kLayoutSliderShow = 9,      // the sliders' thumb comes back
    kLayoutSliderHide = 10,     // and goes
    kLayoutTexturePreview = 45,
    kLayoutTexturePanel = 46,
    kLayoutTexturePanelTop = 47,
    kLayoutRefusalSound = 63,
};

// A table of the scripts file (collection 0) by number.
inline MMResourceId TrayTableId(int16_t number) { return MMMakeResourceId(0, number); }
inline MMResourceId CreationLayoutTable() { return TrayTableId(kCreationLayoutTable); }
// The resource id at offset 2 of the row; MM_NO_RESOURCE for row -1.
MMResourceId TrayItemAt(const MMRecordTable& table, int32_t row);
// The 32-bit value at offset 2 of the row; 0 for row -1.
int32_t TrayValueAt(const MMRecordTable& table, int32_t row);
// The item of the first row keyed key of the creation layout.
MMResourceId CreationLayoutId(int16_t key);
// Cursor n of the application's set; null when there is none.
MMCursor* TrayCursor(int16_t n);
