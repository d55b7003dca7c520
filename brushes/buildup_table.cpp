#include "brushes/buildup_table.h"

#include <cmath>

namespace {

struct BuiltBuildupTable : KVXBuildupTable {
    BuiltBuildupTable()
    {
        for (int c = 0; c < 256; ++c)
            for (int w = 0; w < 256; ++w)
                entry[c][w] = c == 255 ? 65535
                                       : uint16_t(65535.0 * std::pow((c + 0.3) / 255.0, w / 255.0));
    }
};

const BuiltBuildupTable& Built()
{
    static const BuiltBuildupTable* table = new BuiltBuildupTable;
    return *table;
}

}  // namespace

const KVXBuildupTable& BuildupTable = Built();
