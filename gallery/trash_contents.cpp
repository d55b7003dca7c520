#include "gallery/trash_contents.h"

#include "framework/folders.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_list.h"

TrashContents::TrashContents(MpSketchbookList& list) : list(list)
{
}

void TrashContents::Refresh()
{
    TrashedBookRecord records[kTrashRecordLimit];
    int32_t books = list.ListTrashFolder(records);
    int32_t bookTimes[kTrashRecordLimit] = {};
    for (int32_t i = 0; i < books; ++i)
        bookTimes[i] = records[i].movedTime != 0 ? records[i].movedTime : 1;
    int32_t pageTimes[kTrashRecordLimit] = {};
    list.TrashPageTimes(pageTimes);
    slots.clear();
    for (const TrashItem& item : OrderTrash(bookTimes, books, pageTimes, kTrashRecordLimit)) {
        TrashSlot slot;
        slot.kind = item.kind;
        if (item.kind == 1) {
            slot.fileName = records[item.index].fileName;
            slot.label = records[item.index].bookName;
        } else {
            slot.index = item.index;
            const char* name = list.TrashPageName(item.index);
            slot.label = name != nullptr ? name : "";
        }
        slots.push_back(slot);
    }
}

void TrashContents::DeleteOldest(const TrashSlot& oldest)
{
    if (oldest.kind == 1) {
        FSDirectory trashFolder;
        if (list.TrashFolder(trashFolder))
            FSDeleteFile(trashFolder, oldest.fileName.c_str());
    } else if (oldest.kind == 2) {
        list.DeleteTrashPage(oldest.index);
    }
}

bool TrashContents::ThrowBook(int32_t book)
{
    Refresh();
    bool full = Count() >= kTrashSlots;
    TrashSlot oldest = full ? slots.front() : TrashSlot();
    if (!list.MoveBookToTrash(book))
        return false;
    if (full)
        DeleteOldest(oldest);
    Refresh();
    return true;
}

bool TrashContents::ThrowPage(int32_t page)
{
    Refresh();
    bool full = Count() >= kTrashSlots;
    TrashSlot oldest = full ? slots.front() : TrashSlot();
    int32_t trashIndex = -1;
    if (!list.TrashPage(page, trashIndex) || trashIndex < 0)
        return false;
    if (full)
        DeleteOldest(oldest);
    Refresh();
    return true;
}

int32_t TrashContents::RestoreBook(int32_t slot)
{
    if (slot < 0 || slot >= Count() || slots[size_t(slot)].kind != 1)
        return -1;
    if (list.BookCount() >= kBookLimit) {
        GalleryAlert(kAlertNoMoreBooks, "no 51st book", kAlertKindInformation);
        return -1;
    }
    int32_t index = list.RestoreBook(slots[size_t(slot)].fileName.c_str());
    Refresh();
    return index;
}

bool TrashContents::RestorePage(int32_t slot, int32_t book, int32_t before)
{
    if (slot < 0 || slot >= Count() || slots[size_t(slot)].kind != 2)
        return false;
    bool restored = list.RestorePage(book, slots[size_t(slot)].index, before);
    Refresh();
    return restored;
}

void TrashContents::Empty()
{
    Refresh();
    bool pages = false;
    FSDirectory trashFolder;
    bool folder = list.TrashFolder(trashFolder);
    for (const TrashSlot& slot : slots) {
        if (slot.kind == 1 && folder)
            FSDeleteFile(trashFolder, slot.fileName.c_str());
        pages = pages || slot.kind == 2;
    }
    if (pages)
        list.OpenTrash(true);
    list.ClearThumbnailCache(true);
    Refresh();
}

bool TrashContents::DragOver(int32_t kind, bool inside)
{
    if (kind != 1 && kind != 2)
        return armed != 0;
    if (inside)
        armed = kind;
    else
        armed = 0;
    return armed != 0;
}

bool TrashContents::Drop(int32_t kind, bool inside)
{
    if (kind == 3 || kind == 4) {
        armed = 0;
        return false;
    }
    if (!inside)
        return false;
    // A drop the trash was not armed for (the pointer never came over it
    // as this kind) is refused: nothing is deleted for it.
    if (armed == 0 || armed != kind) {
        armed = 0;
        return false;
    }
    return true;
}

bool TrashContents::PerformDrop(int32_t book, int32_t page)
{
    if (armed == 0)
        return false;
    bool moved = armed == 1 ? ThrowBook(book) : ThrowPage(page);
    armed = 0;
    return moved;
}
