#pragma once
// The trash's three slots show the oldest thrown-away books and pages:
// ordered by the time they were thrown away, a book before a page of the
// same time, then by position, so items of equal times all show.
#include <cstdint>
#include <vector>

constexpr int32_t kTrashSlots = 3;

struct TrashItem {
    int32_t kind;   // 1 a book, 2 a page
    int32_t index;  // the book's record or the trash book's page
    int32_t time;
};

// Times of 0 are empty records.
std::vector<TrashItem> OrderTrash(const int32_t* bookTimes, int32_t books,
                                  const int32_t* pageTimes, int32_t pages);
