#pragma once
// Helpers that append whole items to a resource file being written, so that
// a small build tool can make the program's picture and script files from
// pictures and tables it holds in memory. Items are appended at the end of
// the file in the order they are written.
#include <cstdint>
#include "engine/picture_resource_file.h"
#include "engine/script_file.h"

class MMBitmap;

struct MMPictureSource {
    const MMBitmap* bitmap = nullptr;            // pixel kind 0 (8-bit) or 1 (32-bit)
    const MMColorTable* ownColorTable = nullptr; // stored in front of the pixels
    int16_t sharedColorTable = -1;               // number of a shared table, -1 none
    bool encode = false;                         // store as a run-length encoded image
    bool compress = false;                       // store LZO1X-compressed
    const char* name = nullptr;                  // up to 31 characters
    int32_t value = 0;
};

// Writes one picture as item `item`; false when the picture cannot be
// stored (no bitmap, a kind other than 0 or 1, no pixels, an image too large
// to encode, both an own and a shared colour table, a shared table the file
// lacks, an 8-bit picture with alpha and no table) or the file reports an
// error. Refusals leave a pending error that says why.
bool MMWritePicture(MMPictureResourceFile& file, int16_t item, const MMPictureSource& source);

// Writes one record table as item `item` and maps it to table number
// `table`: the row count, rowCount x rowSize bytes of rows in the machine's
// order, then the string area (NUL-terminated texts; refused when its last
// byte is not a NUL).
bool MMWriteRecordTable(MMScriptFile& file, int16_t item, int16_t table, const void* rows,
                        int32_t rowCount, int32_t rowSize, const char* strings,
                        int32_t stringBytes);
