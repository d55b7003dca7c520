#include "gallery/viewer_layout.h"

const Box kViewerBox = {284, 51, 701, 438};

int32_t FirstShownPage(int32_t current, int32_t pageCount)
{
    int32_t first = 0;
    if (current > kViewerSlots - 1)
        first = current / kViewerColumns * kViewerColumns;
    if (current > kViewerSlots - 1 && current >= pageCount / kViewerSlots * kViewerSlots)
        first = current - current % kViewerColumns - 2 * kViewerColumns;
    return first < 0 ? 0 : first;
}

ViewerArrows ViewerArrowsFor(int32_t first, int32_t pageCount)
{
    return {first > 0, !(pageCount - 1 < first + kViewerSlots)};
}

ViewerScroll ScrollViewerDown(int32_t first, int32_t current, int32_t pageCount, int32_t rows)
{
    first += kViewerColumns * rows;
    if (current < first) {
        current = current % kViewerColumns + first;
        if (current >= pageCount)
            current = first;
    }
    return {first, current};
}

ViewerScroll ScrollViewerUp(int32_t first, int32_t current, int32_t pageCount, int32_t rows)
{
    first -= kViewerColumns * rows;
    if (first < 0)
        first = 0;
    if (current >= first + kViewerSlots) {
        current = current % kViewerColumns + first + 2 * kViewerColumns;
        if (current >= pageCount)
            current = first;
    }
    return {first, current};
}

int32_t InsertionIndex(const Pair& point, const Pair* slots, int32_t thumbnailWidth,
                       int32_t first, int32_t pageCount)
{
    // Bands: to the second row's top - 10, to the third row's top - 10,
    // then from the third row's top - 9 to the box's bottom.
    const int32_t bandTops[3] = {kViewerBox.top, slots[3].y - 10, slots[6].y - 9};
    const int32_t bandBottoms[3] = {slots[3].y - 10, slots[6].y - 10, kViewerBox.bottom};
    int32_t index = first + kViewerSlots;
    for (int32_t r = 0; r < 3; ++r) {
        if (point.y < bandTops[r] || point.y >= bandBottoms[r] || point.x < kViewerBox.left ||
            point.x >= kViewerBox.right)
            continue;
        int32_t k = 0;
        while (k < kViewerColumns &&
               point.x > slots[r * kViewerColumns + k].x + thumbnailWidth / 2)
            ++k;
        index = first + r * kViewerColumns + k;
        break;
    }
    return index >= pageCount ? -1 : index;
}
