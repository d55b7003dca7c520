#include "gallery/sketchbook_list.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "canvas/component_pixel.h"
#include "canvas/plane.h"
#include "gallery/gallery_messages.h"

const char kTrashBookName[] = "trash.img";
const char kCacheBookName[] = "cache.img";

namespace {

bool SameName(const char* a, const char* b)
{
    return a != nullptr && b != nullptr && lstrcmpiA(a, b) == 0;
}

bool EndsWith(const char* name, const char* ending)
{
    size_t n = std::strlen(name), k = std::strlen(ending);
    return n >= k && lstrcmpiA(name + n - k, ending) == 0;
}

int32_t Now()
{
    return int32_t(std::time(nullptr));
}

// Seconds since 1970 in a file time and back.
constexpr int64_t kFileTimeAt1970 = 116444736000000000LL;

bool SetFileTimeToNow(const FSDirectory& folder, const char* name)
{
    char path[FS_PATH_SIZE];
    if (!FSJoinPath(path, folder, name))
        return false;
    HANDLE file = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ULARGE_INTEGER value;
    value.QuadPart = uint64_t(int64_t(Now()) * 10000000 + kFileTimeAt1970);
    FILETIME time = {value.LowPart, value.HighPart};
    bool set = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
    CloseHandle(file);
    return set;
}

int32_t FileTimeOf(const FSDirectory& folder, const char* name)
{
    char path[FS_PATH_SIZE];
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!FSJoinPath(path, folder, name) ||
        !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return 0;
    ULARGE_INTEGER value = {{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
    return int32_t((int64_t(value.QuadPart) - kFileTimeAt1970) / 10000000);
}

// Opens both books for one operation and closes what it opened.
class BothOpen {
public:
    BothOpen(SketchbookFile& a, SketchbookFile& b)
        : a(a), b(b), openedA(!a.IsOpen() && a.OpenExisting(false)),
          openedB(!b.IsOpen() && b.OpenExisting(false))
    {
    }
    ~BothOpen()
    {
        if (openedA)
            a.Close();
        if (openedB)
            b.Close();
    }
    bool Ready() const { return a.IsOpen() && b.IsOpen(); }

private:
    SketchbookFile& a;
    SketchbookFile& b;
    bool openedA;
    bool openedB;
};

}  // namespace

MpSketchbookList::MpSketchbookList(const FSDirectory& booksFolder, const FSDirectory& trashFolder,
                                   SketchbookPageContent& blank)
    : booksFolder(booksFolder), trashFolder(trashFolder), blank(blank), current(-1),
      currentPage(0), starting(true), scanMode(0), trashRecordCount(0), trashRecords{}
{
}

MpSketchbookList::~MpSketchbookList() = default;

bool MpSketchbookList::ScanFolder()
{
    starting = true;
    books.clear();
    current = -1;
    scanMode = 0;
    FSListDirectory(booksFolder, *this);
    if (!books.empty()) {
        std::stable_sort(books.begin(), books.end(),
                         [](const std::unique_ptr<SketchbookFile>& a,
                            const std::unique_ptr<SketchbookFile>& b) {
                             return a->CreationTime() < b->CreationTime();
                         });
        SelectBook(0);
    } else {
        CreateBook();
    }
    OpenTrash(false);
    bool cacheOpened = OpenCache(false);
    starting = false;
    return cacheOpened && !books.empty();
}

bool MpSketchbookList::ProcessEntry(const char* name, bool isFile, const FSFileKind&, int32_t,
                                    uint32_t)
{
    // Temporary files of books being made are never books.
    if (!isFile || SameName(name, kCacheBookName) || SameName(name, kTrashBookName) ||
        EndsWith(name, ".new"))
        return true;
    const FSDirectory& folder = scanMode == 0 ? booksFolder : trashFolder;
    auto book = std::make_unique<SketchbookFile>(folder, name);
    if (!book->ReadPageTable())
        return true;
    if (scanMode == 0) {
        if (books.size() < size_t(kBookLimit))
            books.push_back(std::move(book));
    } else if (trashRecordCount < kTrashRecordLimit) {
        TrashedBookRecord& record = trashRecords[trashRecordCount++];
        std::snprintf(record.bookName, sizeof record.bookName, "%s", book->BookName());
        std::snprintf(record.fileName, sizeof record.fileName, "%s", name);
        record.creationTime = book->CreationTime();
        record.movedTime = FileTimeOf(trashFolder, name);
    }
    return true;
}

bool MpSketchbookList::NextBookFileName(char* name)
{
    for (int n = 0; n < 100000; ++n) {
        std::snprintf(name, FS_NAME_SIZE, "%s %d", GalleryText(kTextBookFileName), n);
        if (!FSFileExists(booksFolder, name) && !FSFileExists(trashFolder, name))
            return true;
    }
    return false;
}

bool MpSketchbookList::CreateBook()
{
    char name[FS_NAME_SIZE];
    if (books.size() >= size_t(kBookLimit) || !NextBookFileName(name))
        return false;
    auto book = std::make_unique<SketchbookFile>(booksFolder, name);
    if (!book->Open(1, &blank)) {
        book->Close();
        FSDeleteFile(booksFolder, name);
        return false;
    }
    book->Close();
    books.push_back(std::move(book));
    return SelectBook(int32_t(books.size()) - 1);
}

bool MpSketchbookList::SelectBook(int32_t i)
{
    if (i < 0 || i >= BookCount())
        return false;
    if (CurrentBook() != nullptr)
        CurrentBook()->ClearThumbnails();
    current = i;
    books[i]->ReadPageTable();
    int32_t count = books[i]->PageCount();
    if (currentPage > count - 1)
        currentPage = std::max(count - 1, 0);
    return true;
}

bool MpSketchbookList::SelectBookByName(const char* fileName)
{
    for (int32_t i = 0; i < BookCount(); ++i) {
        if (SameName(books[i]->FileName(), fileName))
            return SelectBook(i);
    }
    return false;
}

SketchbookFile* MpSketchbookList::BookAt(int32_t i) const
{
    return i >= 0 && i < BookCount() ? books[i].get() : nullptr;
}

int32_t MpSketchbookList::CurrentBookIndex() const
{
    return CurrentBook() != nullptr ? current : -1;
}

const char* MpSketchbookList::BookName(int32_t i) const
{
    return BookAt(i) != nullptr ? BookAt(i)->BookName() : nullptr;
}

int32_t MpSketchbookList::PageCountOf(int32_t i)
{
    SketchbookFile* book = BookAt(i);
    return book != nullptr && book->ReadPageTable() ? book->PageCount() : 0;
}

std::unique_ptr<SketchbookFile> MpSketchbookList::RemoveBookAt(int32_t i)
{
    if (BookAt(i) == nullptr)
        return nullptr;
    std::unique_ptr<SketchbookFile> book = std::move(books[i]);
    books.erase(books.begin() + i);
    if (i == current)
        current = -1;
    else if (i < current)
        --current;
    return book;
}

bool MpSketchbookList::OpenSpecialBook(std::unique_ptr<SketchbookFile>& book,
                                       const FSDirectory& folder, const char* name,
                                       bool deleteFirst)
{
    if (deleteFirst) {
        if (book != nullptr)
            book->Close();
        FSDeleteFile(folder, name);
    }
    if (book != nullptr && FSFileExists(folder, name))
        return true;
    book = std::make_unique<SketchbookFile>(folder, name);
    bool opened = book->Open(0, &blank);
    book->ReadPageTable();
    book->SetBookName(name);
    book->Close();
    return opened;
}

bool MpSketchbookList::OpenTrash(bool deleteFirst)
{
    return OpenSpecialBook(trash, trashFolder, kTrashBookName, deleteFirst);
}

bool MpSketchbookList::OpenCache(bool deleteFirst)
{
    return OpenSpecialBook(cache, booksFolder, kCacheBookName, deleteFirst);
}

bool MpSketchbookList::MovePage(SketchbookFile& destination, SketchbookFile& source, int32_t page,
                                bool* emptied)
{
    if (emptied != nullptr)
        *emptied = false;
    if (page > kBookPageLimit - 1) {
        GalleryAlert(kAlertBookFull, "page index past the book");
        return false;
    }
    if (&destination == &source)
        return false;
    bool left;
    {
        BothOpen both(destination, source);
        if (!both.Ready() || !destination.ReadPageTable() || !source.ReadPageTable()) {
            GalleryAlert(kAlertReadFailed, "not a book");
            return false;
        }
        if (page < 0 || page >= source.PageCount()) {
            GalleryAlert(kAlertReadFailed, "no such page");
            return false;
        }
        if (destination.PageCount() >= kBookPageLimit) {
            GalleryAlert(kAlertBookFull, "destination full");
            return false;
        }
        if (source.IsDamaged(page)) {
            GalleryAlert(kAlertReadFailed, "damaged page");
            return false;
        }
        SketchbookPageInfo info = source.Slot(page).info;
        if (!destination.ChooseNewPageSlot(source.Slot(page).allotment)) {
            GalleryAlert(kAlertWriteFailed, "no room for a page");
            destination.ReadPageTable();
            return false;
        }
        if (!destination.CopyPageData(source, page, destination.PageCount())) {
            destination.ReadPageTable();
            return false;
        }
        if (&destination == trash.get())
            info.mark = Now();
        else if (&source == trash.get())
            info.mark = 0;
        // The page is live in the destination before it leaves the source:
        // a failure in between leaves it in both, never in neither.
        if (!destination.AdoptChosenSlot(info) || !source.RemovePage(page))
            return false;
        if (!source.Compact())
            GalleryAlert(kAlertWriteFailed, "book not compacted");
        left = source.PageCount() > 0;
        if (left && &source == CurrentBook() && currentPage >= page && currentPage > 0)
            --currentPage;
    }
    if (!left)
        RemoveEmptiedBook(source);
    if (emptied != nullptr)
        *emptied = !left;
    return true;
}

bool MpSketchbookList::RemoveEmptiedBook(SketchbookFile& source)
{
    if (&source == trash.get())
        return OpenTrash(true);
    int32_t index = -1;
    for (int32_t i = 0; i < BookCount(); ++i) {
        if (books[i].get() == &source)
            index = i;
    }
    if (index < 0)
        return false;
    bool wasCurrent = index == current;
    std::unique_ptr<SketchbookFile> book = RemoveBookAt(index);
    book->Close();
    FSDeleteFile(booksFolder, book->FileName());
    if (!wasCurrent)
        return true;
    if (books.empty())
        return CreateBook();
    return SelectBook(std::max(index - 1, 0));
}

bool MpSketchbookList::TrashPage(int32_t page, int32_t& trashIndex)
{
    trashIndex = -1;
    if (CurrentBook() == nullptr || trash == nullptr)
        return false;
    bool moved = MovePage(*trash, *CurrentBook(), page);
    trashIndex = trash->PageCount() - 1;
    return moved;
}

bool MpSketchbookList::RestorePage(int32_t book, int32_t trashPage, int32_t targetIndex)
{
    SketchbookFile* destination = BookAt(book);
    if (destination == nullptr || trash == nullptr || !MovePage(*destination, *trash, trashPage))
        return false;
    if (targetIndex != -1)
        destination->MovePageBefore(destination->PageCount() - 1, targetIndex);
    return true;
}

bool MpSketchbookList::MovePageBetweenBooks(int32_t destination, int32_t source, int32_t page)
{
    if (BookAt(destination) == nullptr || BookAt(source) == nullptr)
        return false;
    return MovePage(*BookAt(destination), *BookAt(source), page);
}

bool MpSketchbookList::DeleteTrashPage(int32_t page)
{
    return trash != nullptr && trash->RemovePage(page);
}

bool MpSketchbookList::MoveBookToTrash(int32_t i)
{
    SketchbookFile* book = BookAt(i);
    if (book == nullptr)
        return false;
    book->Close();
    char name[FS_NAME_SIZE];
    std::snprintf(name, sizeof name, "%s", book->FileName());
    // A book of that name already in the trash folder stays as it is.
    if (FSFileExists(trashFolder, name) || !MoveFileInFolder(name, booksFolder, trashFolder))
        return false;
    SetFileTimeToNow(trashFolder, name);
    RemoveBookAt(i);
    return true;
}

int32_t MpSketchbookList::RestoreBook(const char* fileName)
{
    if (BookCount() >= kBookLimit || fileName == nullptr ||
        FSFileExists(booksFolder, fileName) ||
        !MoveFileInFolder(fileName, trashFolder, booksFolder))
        return -1;
    auto book = std::make_unique<SketchbookFile>(booksFolder, fileName);
    book->ReadPageTable();
    books.push_back(std::move(book));
    SelectBook(BookCount() - 1);
    return current;
}

int32_t MpSketchbookList::ListTrashFolder(TrashedBookRecord* records)
{
    scanMode = 1;
    trashRecordCount = 0;
    FSListDirectory(trashFolder, *this);
    scanMode = 0;
    for (int32_t i = 0; i < trashRecordCount; ++i)
        records[i] = trashRecords[i];
    return trashRecordCount;
}

void MpSketchbookList::TrashPageTimes(int32_t* times)
{
    bool read = trash != nullptr && trash->ReadPageTable();
    for (int32_t i = 0; i < kTrashRecordLimit; ++i)
        times[i] = read && i < trash->PageCount() ? trash->Slot(i).info.mark : 0;
}

const char* MpSketchbookList::TrashPageName(int32_t i)
{
    if (trash == nullptr || i < 0 || i >= kTrashRecordLimit || !trash->ReadPageTable())
        return nullptr;
    return trash->PageName(i);
}

void MpSketchbookList::ClearThumbnailCache(bool trashBook)
{
    SketchbookFile* book = trashBook ? trash.get() : CurrentBook();
    if (book != nullptr)
        book->ClearThumbnails();
}

bool MpSketchbookList::EditPage(int32_t book, int32_t page,
                                const std::function<void(SketchbookPageInfo&)>& edit)
{
    return BookAt(book) != nullptr && BookAt(book)->EditPageInfo(page, edit);
}

SketchbookPageInfo MpSketchbookList::PageInfoOf(int32_t book, int32_t page)
{
    SketchbookPageInfo info;
    if (BookAt(book) == nullptr || !BookAt(book)->ReadPageInfo(page, info)) {
        info = SketchbookPageInfo();
        info.delay = 0;
    }
    return info;
}

bool MpSketchbookList::SetPageName(int32_t book, int32_t page, const char* name)
{
    return name != nullptr && EditPage(book, page, [name](SketchbookPageInfo& info) {
        std::snprintf(info.name, kBookNameSize, "%s", name);
    });
}

bool MpSketchbookList::MarkPageModified(int32_t book, int32_t page)
{
    return EditPage(book, page, [](SketchbookPageInfo& info) { info.modified = 1; });
}

bool MpSketchbookList::ClearPageModified(int32_t book, int32_t page)
{
    return EditPage(book, page, [](SketchbookPageInfo& info) { info.modified = 0; });
}

bool MpSketchbookList::SetPageMusic(int32_t book, int32_t page, int16_t value)
{
    return EditPage(book, page, [value](SketchbookPageInfo& info) { info.music = value; });
}

bool MpSketchbookList::SetPageTransition(int32_t book, int32_t page, int16_t value)
{
    return EditPage(book, page, [value](SketchbookPageInfo& info) { info.transition = value; });
}

bool MpSketchbookList::SetPageDelay(int32_t book, int32_t page, int16_t value)
{
    return EditPage(book, page, [value](SketchbookPageInfo& info) { info.delay = value; });
}

bool MpSketchbookList::IsPageModified(int32_t book, int32_t page)
{
    return PageInfoOf(book, page).modified != 0;
}

int16_t MpSketchbookList::GetPageMusic(int32_t book, int32_t page)
{
    return PageInfoOf(book, page).music;
}

int16_t MpSketchbookList::GetPageTransition(int32_t book, int32_t page)
{
    return PageInfoOf(book, page).transition;
}

int16_t MpSketchbookList::GetPageDelay(int32_t book, int32_t page)
{
    return PageInfoOf(book, page).delay;
}

bool MpSketchbookList::CurrentPageModified()
{
    return IsPageModified(current, currentPage);
}

bool MpSketchbookList::UpdatePageGenre(int16_t mainGenre, bool force)
{
    if (mainGenre == -1 || (!force && GetPageMusic(current, currentPage) != 0))
        return false;
    return SetPageMusic(current, currentPage, mainGenre);
}

bool MpSketchbookList::LeaveCreationScene(SketchbookPageContent& content, KVXPlaneComponent& plane,
                                          bool autoSave)
{
    bool stored = true;
    if (autoSave && CurrentBook() != nullptr)
        stored = CurrentBook()->WritePage(content, currentPage);
    plane.FillElements(plane.Bounds(), kBlankPixel);
    return stored;
}
