#include "gallery/trash_order.h"

#include <algorithm>
#include <tuple>

std::vector<TrashItem> OrderTrash(const int32_t* bookTimes, int32_t books,
                                  const int32_t* pageTimes, int32_t pages)
{
    std::vector<TrashItem> items;
    for (int32_t i = 0; i < books; ++i)
        if (bookTimes[i] != 0)
            items.push_back({1, i, bookTimes[i]});
    for (int32_t i = 0; i < pages; ++i)
        if (pageTimes[i] != 0)
            items.push_back({2, i, pageTimes[i]});
    std::stable_sort(items.begin(), items.end(), [](const TrashItem& a, const TrashItem& b) {
        return std::tie(a.time, a.kind, a.index) < std::tie(b.time, b.kind, b.index);
    });
    if (items.size() > size_t(kTrashSlots))
        items.resize(kTrashSlots);
    return items;
}
