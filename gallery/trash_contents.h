#pragma once
// What the gallery's trash holds, as its three slots show it: the oldest
// trashed books (files of the trash folder) and pages (pages of the trash
// book), and the moves into and out of it. A fourth item makes room by
// deleting the oldest for good, but only once the new one is in.
#include <cstdint>
#include <string>
#include <vector>

#include "gallery/trash_order.h"

class MpSketchbookList;

struct TrashSlot {
    int32_t kind = 0;    // 0 none, 1 book, 2 page
    int32_t index = -1;  // the trash book's page
    std::string fileName;
    std::string label;   // the book's or the page's name
};

class TrashContents {
public:
    explicit TrashContents(MpSketchbookList& list);

    void Refresh();
    int32_t Count() const { return int32_t(slots.size()); }
    const TrashSlot& Slot(int32_t i) const { return slots[size_t(i)]; }

    // Into the trash: the book at that index, or the current book's page.
    // False when nothing moved (then nothing was deleted either).
    bool ThrowBook(int32_t book);
    bool ThrowPage(int32_t page);
    // Out of it: slot i's book (its index in the list, -1 when refused, with
    // the no-more-books alert at 50 books) or page into `book` before
    // `before` (-1: last).
    int32_t RestoreBook(int32_t slot);
    bool RestorePage(int32_t slot, int32_t book, int32_t before);
    // The garbage truck.
    void Empty();

    // A drag over the trash (its open panel or its toggle): books and pages
    // (kinds 1 and 2) arm it while inside. Answers whether it is armed.
    bool DragOver(int32_t kind, bool inside);
    // A drop: accepted only for what armed the trash, inside; the move
    // itself waits for PerformDrop (after the zoom).
    bool Drop(int32_t kind, bool inside);
    // Throws the armed item away: the book at that index or the current
    // book's page. Nothing when not armed.
    bool PerformDrop(int32_t book, int32_t page);
    int32_t Armed() const { return armed; }

private:
    // After a fourth item went in: the oldest goes for good.
    void DeleteOldest(const TrashSlot& oldest);

    MpSketchbookList& list;
    std::vector<TrashSlot> slots;
    int32_t armed = 0;
};
