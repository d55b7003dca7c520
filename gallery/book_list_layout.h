#pragma once
// The book-list panel's column: up to four of the other books (the current
// one is in the viewer), scrolled one book at a time.
#include <cstdint>
#include <vector>

constexpr int32_t kBookEntries = 4;

struct BookColumn {
    int32_t first;              // first shown position, after any correction
    std::vector<int32_t> books; // the book index of each shown entry
    bool up;
    bool down;
};

// The column for `count` books with `current` in the viewer, asked to start
// at position `first`.
BookColumn LayOutBookColumn(int32_t count, int32_t current, int32_t first);
// Where the column starts after a book was added (it scrolls to its end).
int32_t FirstAfterBookAdded(int32_t count);
