#pragma once
// A sketchbook: one file of up to 50 pages (little-endian):
//   0     26  signature, NUL-padded
//   26    17  book name, NUL-terminated
//   43     4  creation time, seconds since 1970
//   47  50x37 page slots
//   1897  ... page regions: a 31916-byte thumbnail, then `allotment` bytes
// A slot's position is > 0 for a page, -1 for a never-used slot, and minus
// the start of a released region kept for reuse otherwise.
//
// Only a file whose signature and every slot are sound is a book; nothing
// else is written. A region that overlaps another or runs past the file's
// end is damaged: its page is listed but never read, copied or released.
// Writes never destroy good data: page data only goes into free space, and
// the header and table, written last in one flushed write, make it live.
#include <cstdint>
#include <functional>
#include <memory>

#include "framework/files.h"
#include "gallery/sketchbook_page_content.h"

constexpr int32_t kBookPageLimit = 50;
constexpr int32_t kSignatureSize = 26;
constexpr int32_t kBookNameSize = 17;
constexpr int32_t kBookHeaderSize = 47;
constexpr int32_t kPageSlotSize = 37;
constexpr int32_t kBookTableEnd = kBookHeaderSize + kBookPageLimit * kPageSlotSize;
static_assert(kBookTableEnd == 1897, "page regions start at 1897");
extern const char kBookSignature[];

struct SketchbookPageInfo {
    char name[18] = " ";
    int16_t modified = 0;
    int16_t music = 0;
    int16_t transition = 0;
    int16_t delay = 2;
    uint8_t changed = 1;
    int32_t mark = 0;
};

struct SketchbookPageSlot {
    int32_t position = -1;
    int32_t allotment = 0;
    bool damaged = false;
    SketchbookPageInfo info;
    std::unique_ptr<uint32_t[]> thumbnail;  // cached once read

    bool IsUsed() const { return position > 0; }
    bool IsReleased() const { return position < -1; }
    int32_t Start() const { return position > 0 ? position : -position; }
    int64_t End() const { return int64_t(Start()) + kThumbnailBytes + allotment; }
};

// A file of a book; its writes can be made to fail in tests.
class SketchbookStream : public FSFile {
public:
    bool WriteBytes(const void* source, int32_t count) override;
    // The n-th write from now on (1 = the next) fails; 0 never.
    static void FailWrite(int32_t n);
};

class SketchbookFile {
public:
    SketchbookFile(const FSDirectory& folder, const char* fileName);
    SketchbookFile(const SketchbookFile&) = delete;
    SketchbookFile& operator=(const SketchbookFile&) = delete;

    // Opens the book, creating it with blankPages pages of `blank` when it
    // is missing (under a temporary name, renamed once complete).
    bool Open(int32_t blankPages, SketchbookPageContent* blank);
    // Opens an existing file only; readOnly for operations that only read.
    bool OpenExisting(bool readOnly);
    bool Close();
    bool IsOpen() const { return file.IsOpen(); }

    // Header and table; false for a file that is not a sound book.
    bool ReadHeader();
    bool ReadPageTable();
    // Header and table in one flushed write.
    bool WritePageTable();
    bool IsBook() const { return sound; }

    int32_t PageCount() const { return pageCount; }
    const char* PageName(int32_t i) const;
    bool IsDamaged(int32_t i) const;
    SketchbookPageSlot& Slot(int32_t i) { return slots[i]; }

    bool AddPage(SketchbookPageContent& blank);
    // Fails with the book-full alert when asked; sets current to the page.
    bool AddPageAndSelect(SketchbookPageContent& blank, bool alert, int32_t& current);
    bool WritePage(SketchbookPageContent& content, int32_t i);
    bool LoadPage(SketchbookPageContent& content, int32_t i);
    // 101 x 79 words, top row first; read from the file once.
    const uint32_t* ReadThumbnail(int32_t i);
    // A fresh copy with byte 3 of each pixel 128.
    bool ReadThumbnailUncached(int32_t i, uint32_t* pixels);
    void ClearThumbnails();

    // Both files open; the destination slot already holds its region.
    bool CopyPageData(SketchbookFile& source, int32_t sourceIndex, int32_t destinationIndex);
    // The slot and region a new page of that allotment would take: its slot
    // becomes slot PageCount(), its position set; false when none is free.
    bool ChooseNewPageSlot(int32_t allotment);
    // Makes the slot ChooseNewPageSlot chose a page with this information
    // and writes the table; on failure the table is read back.
    bool AdoptChosenSlot(const SketchbookPageInfo& info);
    // Reads the table, edits page i's information, writes the table.
    bool EditPageInfo(int32_t i, const std::function<void(SketchbookPageInfo&)>& edit);
    bool ReadPageInfo(int32_t i, SketchbookPageInfo& info);
    // Frees the released slot at index PageCount() by moving the region that
    // ends the file into it, then cuts the file.
    bool Compact();

    bool RemovePage(int32_t i);
    bool MovePageBefore(int32_t from, int32_t to);
    bool MovePageTo(int32_t from, int32_t to);
    int32_t LastRegionSlot() const;
    int32_t FirstNewPage() const;

    const FSDirectory& Folder() const { return folder; }
    const char* FileName() const { return fileName; }
    const char* BookName() const { return bookName; }
    void SetBookName(const char* name);
    int32_t CreationTime() const { return creationTime; }
    void SetCreationTime(int32_t time) { creationTime = time; }

private:
    class Opened;
    bool WriteNewFile(int32_t blankPages, SketchbookPageContent* blank);
    bool WriteRegion(int32_t position, SketchbookPageContent& content, bool blank);
    int64_t FreeEnd();
    // Makes a free region no slot holds usable again: the region that ends
    // the file moves into it, the table is written, then the file is cut.
    bool ReclaimRegion(int32_t start, int64_t size);
    // A write that failed: the alert, the file's error cleared and the table
    // read back as the file holds it; false.
    bool WriteFailed(const char* what);
    // WritePageTable, or WriteFailed when it fails.
    bool CommitPageTable();
    void OrderSlots();
    void MarkDamage(int32_t fileSize);
    void MoveSlot(int32_t from, int32_t to);
    bool PageInRange(int32_t i) const { return i >= 0 && i < pageCount; }

    FSDirectory folder;
    char fileName[FS_NAME_SIZE];
    SketchbookStream file;
    char signature[kSignatureSize];
    char bookName[kBookNameSize];
    int32_t creationTime;
    bool sound;
    int32_t pageCount;
    SketchbookPageSlot slots[kBookPageLimit];
};
