#include "gallery/sketchbook_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>
#include <utility>

#include "gallery/gallery_messages.h"
#include "stamps/stamps_block.h"

const char kBookSignature[] = "Tavelo Quillmark v1.0";

namespace {

constexpr int32_t kSmallestAllotment = kSlateStoredSize + kStampsBlockSize;
constexpr int32_t kCopyPiece = kThumbnailBytes;
constexpr int32_t kThumbnailWords = kThumbnailWidth * kThumbnailHeight;

int32_t gFailingWrite = 0;

// A name field: at most 16 characters, whatever the file holds.
void CopyName(char* to, const char* from, size_t fieldSize)
{
    size_t n = strnlen(from, fieldSize);
    n = std::min<size_t>(n, kBookNameSize - 1);
    std::memcpy(to, from, n);
    to[n] = '\0';
}

bool SoundAllotment(int32_t allotment)
{
    return allotment > kSmallestAllotment && (allotment - kSmallestAllotment) % 6 == 0;
}

bool SoundSlot(int32_t position, int32_t allotment)
{
    if (position == -1)
        return true;
    if (position == 0 || position == INT32_MIN)
        return false;
    int32_t start = position > 0 ? position : -position;
    return start >= kBookTableEnd && SoundAllotment(allotment);
}

int32_t FileSize(FSFile& file)
{
    int32_t size = -1;
    file.Seek(0, FS_SEEK_FROM_END, &size);
    return size;
}

// Copies bytes between two places of open files in thumbnail-sized pieces.
bool CopyBytes(FSFile& from, int32_t fromPosition, FSFile& to, int32_t toPosition, int64_t bytes)
{
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kCopyPiece]);
    if (!buffer)
        return false;
    for (int64_t done = 0; done < bytes;) {
        int32_t piece = int32_t(std::min<int64_t>(kCopyPiece, bytes - done));
        if (!from.Seek(int32_t(fromPosition + done), FS_SEEK_FROM_START, nullptr) ||
            !from.ReadBytes(buffer.get(), piece) ||
            !to.Seek(int32_t(toPosition + done), FS_SEEK_FROM_START, nullptr) ||
            !to.WriteBytes(buffer.get(), piece))
            return false;
        done += piece;
    }
    return to.Flush();
}

}  // namespace

int32_t PageAllotment(int32_t width, int32_t height)
{
    return kSmallestAllotment + width * height * 6;
}

bool SketchbookStream::WriteBytes(const void* source, int32_t count)
{
    if (gFailingWrite > 0 && --gFailingWrite == 0) {
        SetError(FS_ERROR_WRITE_FAULT);
        return false;
    }
    return FSFile::WriteBytes(source, count);
}

void SketchbookStream::FailWrite(int32_t n)
{
    gFailingWrite = n;
}

// Opens the book for one operation when it is closed, and closes it again.
class SketchbookFile::Opened {
public:
    Opened(SketchbookFile& book, bool readOnly) : book(book), opened(false)
    {
        if (!book.IsOpen())
            opened = book.OpenExisting(readOnly);
        else
            book.file.SetError(0);
    }
    ~Opened()
    {
        if (opened)
            book.Close();
    }
    explicit operator bool() const { return book.IsOpen(); }

private:
    SketchbookFile& book;
    bool opened;
};

SketchbookFile::SketchbookFile(const FSDirectory& folder, const char* name)
    : folder(folder), creationTime(int32_t(std::time(nullptr))), sound(false), pageCount(0)
{
    std::snprintf(fileName, sizeof fileName, "%s", name != nullptr ? name : "");
    std::memset(signature, 0, sizeof signature);
    std::memcpy(signature, kBookSignature, sizeof kBookSignature);
    char digits[kBookNameSize] = {};
    const char* p = fileName;
    const char* limit = fileName + strnlen(fileName, 16);
    while (p < limit && (*p < '0' || *p > '9'))
        ++p;
    for (int n = 0; p < limit && *p >= '0' && *p <= '9' && n < 16; ++p)
        digits[n++] = *p;
    char name17[64];
    std::snprintf(name17, sizeof name17, "%s %s", GalleryText(kTextBookName), digits);
    SetBookName(name17);
}

void SketchbookFile::SetBookName(const char* name)
{
    std::memset(bookName, 0, sizeof bookName);
    CopyName(bookName, name != nullptr ? name : "", 64);
}

bool SketchbookFile::Open(int32_t blankPages, SketchbookPageContent* blank)
{
    if (FSFileExists(folder, fileName))
        return OpenExisting(false);
    return WriteNewFile(blankPages, blank) && OpenExisting(false);
}

bool SketchbookFile::OpenExisting(bool readOnly)
{
    if (!FSFileExists(folder, fileName))
        return false;
    return file.Open(folder, fileName, readOnly ? FS_OPEN_READ : FS_OPEN_READ_WRITE);
}

bool SketchbookFile::Close()
{
    return file.Close();
}

bool SketchbookFile::WriteNewFile(int32_t blankPages, SketchbookPageContent* blank)
{
    char temporary[FS_NAME_SIZE];
    if (std::snprintf(temporary, sizeof temporary, "%s.new", fileName) >= int(sizeof temporary)) {
        GalleryAlert(kAlertWriteFailed, "file name too long");
        return false;
    }
    FSDeleteFile(folder, temporary);
    bool written = file.Open(folder, temporary, FS_OPEN_CREATE);
    sound = true;
    pageCount = 0;
    for (SketchbookPageSlot& slot : slots)
        slot = SketchbookPageSlot();
    written = written && WritePageTable();
    for (int32_t i = 0; written && i < blankPages; ++i)
        written = blank != nullptr && AddPage(*blank);
    written = file.Close() && written;
    if (written && FSRenameFile(folder, temporary, fileName))
        return true;
    FSDeleteFile(folder, temporary);
    if (LastGalleryAlert() != kAlertWriteFailed)
        GalleryAlert(kAlertWriteFailed, "new book not written");
    return false;
}

bool SketchbookFile::ReadHeader()
{
    Opened opened(*this, true);
    char header[kBookHeaderSize];
    if (!opened || !file.Seek(0, FS_SEEK_FROM_START, nullptr) ||
        !file.ReadBytes(header, kBookHeaderSize))
        return false;
    if (std::memcmp(header, signature, kSignatureSize) != 0)
        return false;
    CopyName(bookName, header + kSignatureSize, kBookNameSize);
    std::memcpy(&creationTime, header + kSignatureSize + kBookNameSize, 4);
    return true;
}

bool SketchbookFile::ReadPageTable()
{
    sound = false;
    Opened opened(*this, true);
    uint8_t bytes[kBookTableEnd];
    if (!opened || !ReadHeader() || !file.Seek(0, FS_SEEK_FROM_START, nullptr) ||
        !file.ReadBytes(bytes, kBookTableEnd))
        return false;
    int32_t fileSize = FileSize(file);

    // Thumbnails already read stay with the regions they were read from.
    std::unique_ptr<uint32_t[]> cached[kBookPageLimit];
    int32_t cachedAt[kBookPageLimit];
    for (int32_t i = 0; i < kBookPageLimit; ++i) {
        cachedAt[i] = slots[i].IsUsed() ? slots[i].position : 0;
        cached[i] = std::move(slots[i].thumbnail);
    }

    FSMemory table(bytes + kBookHeaderSize, kBookTableEnd - kBookHeaderSize);
    bool allSound = true;
    for (SketchbookPageSlot& slot : slots) {
        slot = SketchbookPageSlot();
        int32_t head[2];
        table.ReadLongs(head, 2);
        char name[17];
        int16_t values[4];
        int32_t mark;
        table.ReadBytes(name, 17);
        table.ReadShorts(values, 4);
        table.ReadLongs(&mark, 1);
        allSound = allSound && SoundSlot(head[0], head[1]);
        slot.position = head[0];
        slot.allotment = head[0] == -1 ? 0 : head[1];
        slot.info.changed = 0;
        if (slot.IsUsed()) {
            CopyName(slot.info.name, name, 17);
            slot.info.modified = values[0];
            slot.info.music = values[1];
            slot.info.transition = values[2];
            slot.info.delay = values[3];
            slot.info.mark = mark;
        }
    }
    if (!allSound || table.GetError() != 0 || fileSize < kBookTableEnd) {
        for (SketchbookPageSlot& slot : slots)
            slot = SketchbookPageSlot();
        pageCount = 0;
        return false;
    }
    OrderSlots();
    MarkDamage(fileSize);
    for (int32_t i = 0; i < pageCount; ++i) {
        for (int32_t k = 0; k < kBookPageLimit; ++k) {
            if (cached[k] && cachedAt[k] == slots[i].position && !slots[i].damaged)
                slots[i].thumbnail = std::move(cached[k]);
        }
    }
    sound = true;
    return true;
}

void SketchbookFile::OrderSlots()
{
    std::stable_partition(slots, slots + kBookPageLimit,
                          [](const SketchbookPageSlot& s) { return s.IsUsed(); });
    pageCount = int32_t(std::count_if(slots, slots + kBookPageLimit,
                                      [](const SketchbookPageSlot& s) { return s.IsUsed(); }));
    std::stable_partition(slots + pageCount, slots + kBookPageLimit,
                          [](const SketchbookPageSlot& s) { return s.IsReleased(); });
}

void SketchbookFile::MarkDamage(int32_t fileSize)
{
    for (int32_t i = 0; i < kBookPageLimit; ++i) {
        SketchbookPageSlot& a = slots[i];
        if (a.position == -1)
            continue;
        if (a.End() > fileSize)
            a.damaged = true;
        for (int32_t k = i + 1; k < kBookPageLimit; ++k) {
            SketchbookPageSlot& b = slots[k];
            if (b.position != -1 && a.Start() < b.End() && b.Start() < a.End())
                a.damaged = b.damaged = true;
        }
    }
}

bool SketchbookFile::WriteFailed(const char* what)
{
    GalleryAlert(kAlertWriteFailed, what);
    file.SetError(0);
    ReadPageTable();
    return false;
}

bool SketchbookFile::CommitPageTable()
{
    return WritePageTable() || WriteFailed("table not written");
}

bool SketchbookFile::WritePageTable()
{
    if (!sound)
        return false;
    uint8_t bytes[kBookTableEnd] = {};
    FSMemory table(bytes, kBookTableEnd);
    table.WriteBytes(signature, kSignatureSize);
    char name[kBookNameSize] = {};
    CopyName(name, bookName, kBookNameSize);
    table.WriteBytes(name, kBookNameSize);
    table.WriteLongs(&creationTime, 1);
    for (const SketchbookPageSlot& slot : slots) {
        SketchbookPageInfo defaults;
        const SketchbookPageInfo& info = slot.IsUsed() ? slot.info : defaults;
        int32_t head[2] = {slot.position, slot.allotment};
        char field[17] = {};
        CopyName(field, info.name, sizeof info.name);
        int16_t values[4] = {info.modified, info.music, info.transition, info.delay};
        table.WriteLongs(head, 2);
        table.WriteBytes(field, 17);
        table.WriteShorts(values, 4);
        table.WriteLongs(&info.mark, 1);
    }
    if (!file.Seek(0, FS_SEEK_FROM_START, nullptr) || !file.WriteBytes(bytes, kBookTableEnd) ||
        !file.Flush())
        return false;
    for (SketchbookPageSlot& slot : slots)
        slot.info.changed = 0;
    return true;
}

const char* SketchbookFile::PageName(int32_t i) const
{
    return PageInRange(i) ? slots[i].info.name : nullptr;
}

bool SketchbookFile::IsDamaged(int32_t i) const
{
    return PageInRange(i) && slots[i].damaged;
}

int64_t SketchbookFile::FreeEnd()
{
    int64_t end = FileSize(file);
    for (const SketchbookPageSlot& slot : slots) {
        if (slot.position != -1)
            end = std::max(end, slot.End());
    }
    return end;
}

void SketchbookFile::MoveSlot(int32_t from, int32_t to)
{
    SketchbookPageSlot taken = std::move(slots[from]);
    if (from < to)
        std::move(slots + from + 1, slots + to + 1, slots + from);
    else
        std::move_backward(slots + to, slots + from, slots + from + 1);
    slots[to] = std::move(taken);
}

bool SketchbookFile::ChooseNewPageSlot(int32_t allotment)
{
    if (pageCount >= kBookPageLimit)
        return false;
    int32_t found = -1;
    for (int32_t i = pageCount; i < kBookPageLimit && found < 0; ++i) {
        const SketchbookPageSlot& slot = slots[i];
        if (slot.position == -1 ||
            (slot.IsReleased() && !slot.damaged && slot.allotment >= allotment))
            found = i;
    }
    int64_t position;
    if (found >= 0 && slots[found].IsReleased()) {
        position = slots[found].Start();
    } else {
        // Every free slot holds a region too small to reuse: the last one
        // is given up for the new page.
        if (found < 0)
            found = kBookPageLimit - 1;
        position = FreeEnd();
        if (position < kBookTableEnd ||
            position + kThumbnailBytes + int64_t(allotment) > INT32_MAX)
            return false;
    }
    MoveSlot(found, pageCount);
    SketchbookPageSlot& slot = slots[pageCount];
    slot = SketchbookPageSlot();
    slot.position = int32_t(position);
    slot.allotment = allotment;
    return true;
}

bool SketchbookFile::WriteRegion(int32_t position, SketchbookPageContent& content, bool blank)
{
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[kThumbnailWords]);
    if (!pixels || !content.RenderThumbnail(pixels.get(), blank))
        return false;
    for (int32_t i = 0; i < kThumbnailWords; ++i)
        pixels[i] &= 0x00FFFFFF;
    if (!file.Seek(position, FS_SEEK_FROM_START, nullptr) ||
        !file.WriteLongs(pixels.get(), kThumbnailWords))
        return false;
    bool written = blank ? content.WriteBlank(file) : content.Write(file);
    return written && file.GetError() == 0 && file.Flush();
}

bool SketchbookFile::AddPage(SketchbookPageContent& blank)
{
    Opened opened(*this, false);
    if (!opened || !ReadPageTable() || file.IsReadOnly()) {
        GalleryAlert(kAlertWriteFailed, "not a book");
        return false;
    }
    if (pageCount >= kBookPageLimit)
        return false;
    if (!ChooseNewPageSlot(blank.Allotment())) {
        GalleryAlert(kAlertWriteFailed, "no room for a page");
        ReadPageTable();
        return false;
    }
    SketchbookPageSlot& slot = slots[pageCount];
    char name[64];
    std::snprintf(name, sizeof name, "%s %d", GalleryText(kTextPageName), int(pageCount));
    CopyName(slot.info.name, name, sizeof name);
    slot.info.mark = 1;
    if (!WriteRegion(slot.position, blank, true) || (++pageCount, !WritePageTable()))
        return WriteFailed("page not written");
    return true;
}

bool SketchbookFile::AddPageAndSelect(SketchbookPageContent& blank, bool alert, int32_t& current)
{
    Opened opened(*this, false);
    if (!ReadPageTable())
        return false;
    if (pageCount > kBookPageLimit - 1) {
        if (alert)
            GalleryAlert(kAlertBookFull, "book full");
        return false;
    }
    if (!AddPage(blank))
        return false;
    current = pageCount - 1;
    return true;
}

bool SketchbookFile::WritePage(SketchbookPageContent& content, int32_t i)
{
    Opened opened(*this, false);
    if (!opened || !ReadPageTable() || file.IsReadOnly()) {
        GalleryAlert(kAlertWriteFailed, "not a book");
        return false;
    }
    if (!PageInRange(i) || slots[i].damaged || slots[i].allotment != content.Allotment()) {
        GalleryAlert(kAlertWriteFailed, !PageInRange(i) ? "no such page"
                                        : slots[i].damaged ? "damaged page"
                                                           : "other canvas size");
        return false;
    }
    int32_t old = slots[i].position;
    int32_t size = slots[i].allotment;
    bool full = pageCount == kBookPageLimit;
    int64_t fresh;
    if (!full) {
        if (!ChooseNewPageSlot(size)) {
            GalleryAlert(kAlertWriteFailed, "no room for a page");
            ReadPageTable();
            return false;
        }
        fresh = slots[pageCount].position;
    } else {
        fresh = FreeEnd();
        if (fresh + kThumbnailBytes + int64_t(size) > INT32_MAX) {
            GalleryAlert(kAlertWriteFailed, "file too large");
            return false;
        }
    }
    bool written = WriteRegion(int32_t(fresh), content, false);
    if (written) {
        if (!full) {
            // The old region is released into the slot the fresh one came from.
            slots[pageCount] = SketchbookPageSlot();
            slots[pageCount].position = -old;
            slots[pageCount].allotment = size;
        }
        slots[i].position = int32_t(fresh);
        slots[i].thumbnail.reset();
        slots[i].info.mark = 0;
        slots[i].info.changed = 1;
        written = WritePageTable();
    }
    if (written && full)
        written = ReclaimRegion(old, kThumbnailBytes + size);
    return written || WriteFailed("page not written");
}

bool SketchbookFile::ReclaimRegion(int32_t start, int64_t size)
{
    // Released regions after the freed one are given up first.
    int32_t last = LastRegionSlot();
    while (last >= 0 && slots[last].IsReleased() && !slots[last].damaged &&
           slots[last].Start() > start) {
        slots[last] = SketchbookPageSlot();
        last = LastRegionSlot();
    }
    int32_t cut = start;
    if (last >= 0 && slots[last].Start() > start) {
        SketchbookPageSlot& moved = slots[last];
        int64_t bytes = moved.End() - moved.Start();
        if (moved.damaged || bytes > size) {
            OrderSlots();
            return WritePageTable();  // the space stays unused
        }
        if (!CopyBytes(file, moved.Start(), file, start, bytes))
            return false;
        cut = moved.Start();
        moved.position = moved.IsUsed() ? start : -start;
    }
    OrderSlots();
    return WritePageTable() && file.Seek(cut, FS_SEEK_FROM_START, nullptr) && file.SetEnd();
}

bool SketchbookFile::Compact()
{
    Opened opened(*this, false);
    if (!opened || !ReadPageTable() || file.IsReadOnly())
        return false;
    if (pageCount >= kBookPageLimit || !slots[pageCount].IsReleased() || slots[pageCount].damaged)
        return true;
    int32_t start = slots[pageCount].Start();
    int64_t size = slots[pageCount].End() - start;
    slots[pageCount] = SketchbookPageSlot();
    return ReclaimRegion(start, size);
}

bool SketchbookFile::AdoptChosenSlot(const SketchbookPageInfo& info)
{
    if (pageCount >= kBookPageLimit || !slots[pageCount].IsUsed())
        return false;
    slots[pageCount].info = info;
    slots[pageCount].info.changed = 1;
    ++pageCount;
    return CommitPageTable();
}

bool SketchbookFile::EditPageInfo(int32_t i, const std::function<void(SketchbookPageInfo&)>& edit)
{
    Opened opened(*this, false);
    if (!opened || !ReadPageTable() || file.IsReadOnly() || !PageInRange(i))
        return false;
    edit(slots[i].info);
    slots[i].info.changed = 1;
    return CommitPageTable();
}

bool SketchbookFile::ReadPageInfo(int32_t i, SketchbookPageInfo& info)
{
    Opened opened(*this, true);
    if (!opened || !ReadPageTable() || !PageInRange(i))
        return false;
    info = slots[i].info;
    return true;
}

bool SketchbookFile::LoadPage(SketchbookPageContent& content, int32_t i)
{
    Opened opened(*this, true);
    if (!opened || !ReadPageTable()) {
        GalleryAlert(kAlertReadFailed, "not a book");
        return false;
    }
    const char* refused = !PageInRange(i)                              ? "no such page"
                          : slots[i].damaged                           ? "damaged page"
                          : slots[i].allotment != content.Allotment() ? "other canvas size"
                                                                       : nullptr;
    if (refused == nullptr &&
        (!file.Seek(slots[i].position + kThumbnailBytes, FS_SEEK_FROM_START, nullptr) ||
         !content.Read(file)))
        refused = "page not read";
    if (refused != nullptr) {
        GalleryAlert(kAlertReadFailed, refused);
        return false;
    }
    return true;
}

const uint32_t* SketchbookFile::ReadThumbnail(int32_t i)
{
    if (PageInRange(i) && slots[i].thumbnail)
        return slots[i].thumbnail.get();
    Opened opened(*this, true);
    if (!opened || !ReadPageTable() || !PageInRange(i) || slots[i].damaged)
        return nullptr;
    if (slots[i].thumbnail)
        return slots[i].thumbnail.get();
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[kThumbnailWords]);
    if (!pixels) {
        GalleryAlert(kAlertNoThumbnailBuffer, "no memory");
        return nullptr;
    }
    if (!file.Seek(slots[i].position, FS_SEEK_FROM_START, nullptr) ||
        !file.ReadLongs(pixels.get(), kThumbnailWords))
        return nullptr;
    slots[i].thumbnail = std::move(pixels);
    return slots[i].thumbnail.get();
}

bool SketchbookFile::ReadThumbnailUncached(int32_t i, uint32_t* pixels)
{
    Opened opened(*this, true);
    if (!opened || !ReadPageTable() || !PageInRange(i) || slots[i].damaged ||
        !file.Seek(slots[i].position, FS_SEEK_FROM_START, nullptr) ||
        !file.ReadLongs(pixels, kThumbnailWords)) {
        GalleryAlert(kAlertReadFailed, "thumbnail not read");
        return false;
    }
    for (int32_t k = 0; k < kThumbnailWords; ++k)
        pixels[k] = (pixels[k] & 0x00FFFFFF) | 0x80000000u;
    return true;
}

void SketchbookFile::ClearThumbnails()
{
    for (SketchbookPageSlot& slot : slots)
        slot.thumbnail.reset();
}

bool SketchbookFile::CopyPageData(SketchbookFile& source, int32_t sourceIndex,
                                  int32_t destinationIndex)
{
    bool copied = source.IsOpen() && IsOpen() && source.PageInRange(sourceIndex) &&
                  destinationIndex >= 0 && destinationIndex < kBookPageLimit;
    if (copied) {
        const SketchbookPageSlot& from = source.slots[sourceIndex];
        const SketchbookPageSlot& to = slots[destinationIndex];
        copied = !from.damaged && to.IsUsed() && to.allotment >= from.allotment &&
                 CopyBytes(source.file, from.Start(), file, to.Start(),
                           from.End() - from.Start());
    }
    if (!copied) {
        GalleryAlert(kAlertReadFailed, "page not copied");
        source.file.SetError(0);
        file.SetError(0);
    }
    return copied;
}

bool SketchbookFile::RemovePage(int32_t i)
{
    if (i < 0)
        return false;
    Opened opened(*this, false);
    if (!opened || !ReadPageTable() || !PageInRange(i) || file.IsReadOnly())
        return false;
    SketchbookPageSlot& slot = slots[i];
    slot.thumbnail.reset();
    if (slot.damaged)
        slot = SketchbookPageSlot();  // its region is forgotten, never reused
    else
        slot.position = -slot.position;
    MoveSlot(i, pageCount - 1);
    OrderSlots();
    return CommitPageTable();
}

bool SketchbookFile::MovePageBefore(int32_t from, int32_t to)
{
    return MovePageTo(from, from < to ? to - 1 : to);
}

bool SketchbookFile::MovePageTo(int32_t from, int32_t to)
{
    Opened opened(*this, false);
    if (!opened || !ReadPageTable() || file.IsReadOnly() || from == to || !PageInRange(from) ||
        !PageInRange(to))
        return false;
    MoveSlot(from, to);
    return CommitPageTable();
}

int32_t SketchbookFile::LastRegionSlot() const
{
    int32_t last = -1;
    for (int32_t i = 0; i < kBookPageLimit; ++i) {
        if (slots[i].position != -1 && (last < 0 || slots[i].Start() > slots[last].Start()))
            last = i;
    }
    return last;
}

int32_t SketchbookFile::FirstNewPage() const
{
    for (int32_t i = 0; i < pageCount; ++i) {
        if (slots[i].info.mark == 1)
            return i;
    }
    return -1;
}
