#include "canvas/blend.h"

namespace {

constexpr KVXBlendTable MakeBlendTable()
{
    KVXBlendTable table{};
    for (unsigned i = 0; i < 256; ++i)
        for (unsigned j = 0; j < 256; ++j)
            table.entry[i][j] = static_cast<uint8_t>((128 + i * j) / 255);
    return table;
}

}  // namespace

// Filled by the compiler, so it is ready before any static constructor runs.
extern constinit const KVXBlendTable BlendTable = MakeBlendTable();
