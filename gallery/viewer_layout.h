#pragma once
// Where the viewer's pages go: nine thumbnails in three rows of three, the
// first shown page a multiple of 3, the current page kept in view, and the
// insertion point of a dragged page between thumbnails.
#include <cstdint>

#include "framework/geometry.h"

constexpr int32_t kViewerSlots = 9;
constexpr int32_t kViewerColumns = 3;
extern const Box kViewerBox;

// The first shown page when the viewer opens on page `current`.
int32_t FirstShownPage(int32_t current, int32_t pageCount);

struct ViewerArrows {
    bool up;
    bool down;
};
ViewerArrows ViewerArrowsFor(int32_t first, int32_t pageCount);

// Scrolling by rows: the first shown page moves by 3 a row (never below 0)
// and a current page that left the view keeps its column in the nearest row
// (the first shown page when that page does not exist).
struct ViewerScroll {
    int32_t first;
    int32_t current;
};
ViewerScroll ScrollViewerDown(int32_t first, int32_t current, int32_t pageCount, int32_t rows);
ViewerScroll ScrollViewerUp(int32_t first, int32_t current, int32_t pageCount, int32_t rows);

// The page a dropped page goes before (-1: after the last page), from the
// slots' top-left corners and the thumbnails' width.
int32_t InsertionIndex(const Pair& point, const Pair* slots, int32_t thumbnailWidth,
                       int32_t first, int32_t pageCount);
