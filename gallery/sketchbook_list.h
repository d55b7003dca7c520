#pragma once
// The application's sketchbooks: the books of the books folder sorted by
// creation time (at most 50), one of them current, the trash book
// "trash.img" in the trash folder and the cache book "cache.img".
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/folders.h"
#include "gallery/sketchbook_file.h"

class KVXPlaneComponent;

constexpr int32_t kBookLimit = 50;
constexpr int32_t kTrashRecordLimit = 3;
extern const char kTrashBookName[];
extern const char kCacheBookName[];

struct TrashedBookRecord {
    char bookName[kBookNameSize];
    char fileName[FS_NAME_SIZE];
    int32_t creationTime;
    int32_t movedTime;  // when it went into the trash folder (its file time)
};

class MpSketchbookList : public FSDirectoryEntryProcessor {
public:
    // blank gives the pages of new books (the canvas's size and contents).
    MpSketchbookList(const FSDirectory& booksFolder, const FSDirectory& trashFolder,
                     SketchbookPageContent& blank);
    virtual ~MpSketchbookList();

    bool ScanFolder();
    bool ProcessEntry(const char* name, bool isFile, const FSFileKind& kind, int32_t size,
                      uint32_t dosDateTime) override;

    bool CreateBook();
    bool NextBookFileName(char* name);
    bool SelectBook(int32_t i);
    bool SelectBookByName(const char* fileName);
    SketchbookFile* BookAt(int32_t i) const;
    int32_t BookCount() const { return int32_t(books.size()); }
    int32_t CurrentBookIndex() const;
    SketchbookFile* CurrentBook() const { return BookAt(current); }
    const char* BookName(int32_t i) const;
    int32_t PageCountOf(int32_t i);
    // Takes book i out of the list without touching its file.
    std::unique_ptr<SketchbookFile> RemoveBookAt(int32_t i);

    int32_t CurrentPage() const { return currentPage; }
    void SetCurrentPage(int32_t page) { currentPage = page; }

    bool OpenTrash(bool deleteFirst);
    bool OpenCache(bool deleteFirst);
    SketchbookFile* TrashBook() const { return trash.get(); }
    SketchbookFile* CacheBook() const { return cache.get(); }
    bool TrashFolder(FSDirectory& folder) const
    {
        folder = trashFolder;
        return folder.IsValid();
    }

    // Each answers whether the source was left without pages; false with an
    // alert when nothing moved.
    bool MovePage(SketchbookFile& destination, SketchbookFile& source, int32_t page,
                  bool* emptied = nullptr);
    bool TrashPage(int32_t page, int32_t& trashIndex);
    bool RestorePage(int32_t book, int32_t trashPage, int32_t targetIndex);
    bool MovePageBetweenBooks(int32_t destination, int32_t source, int32_t page);
    bool DeleteTrashPage(int32_t page);

    bool MoveBookToTrash(int32_t i);
    // The index of the restored book, -1 when it could not be restored.
    int32_t RestoreBook(const char* fileName);
    int32_t ListTrashFolder(TrashedBookRecord* records);
    void TrashPageTimes(int32_t* times);
    const char* TrashPageName(int32_t i);
    void ClearThumbnailCache(bool trashBook);

    bool SetPageName(int32_t book, int32_t page, const char* name);
    bool MarkPageModified(int32_t book, int32_t page);
    bool ClearPageModified(int32_t book, int32_t page);
    bool SetPageMusic(int32_t book, int32_t page, int16_t value);
    bool SetPageTransition(int32_t book, int32_t page, int16_t value);
    bool SetPageDelay(int32_t book, int32_t page, int16_t value);
    bool IsPageModified(int32_t book, int32_t page);
    int16_t GetPageMusic(int32_t book, int32_t page);
    int16_t GetPageTransition(int32_t book, int32_t page);
    int16_t GetPageDelay(int32_t book, int32_t page);
    bool CurrentPageModified();
    // The page's music follows the stamps' main genre (-1: none).
    bool UpdatePageGenre(int16_t mainGenre, bool force);

    // The creation scene's leave step: with auto-save on, the current page
    // is written first (its canvas is never lost); the canvas is cleared.
    bool LeaveCreationScene(SketchbookPageContent& content, KVXPlaneComponent& plane,
                            bool autoSave);

    bool IsStarting() const { return starting; }

private:
    bool OpenSpecialBook(std::unique_ptr<SketchbookFile>& book, const FSDirectory& folder,
                         const char* name, bool deleteFirst);
    bool RemoveEmptiedBook(SketchbookFile& source);
    bool EditPage(int32_t book, int32_t page, const std::function<void(SketchbookPageInfo&)>& edit);
    SketchbookPageInfo PageInfoOf(int32_t book, int32_t page);

    FSDirectory booksFolder;
    FSDirectory trashFolder;
    SketchbookPageContent& blank;
    std::vector<std::unique_ptr<SketchbookFile>> books;
    std::unique_ptr<SketchbookFile> trash;
    std::unique_ptr<SketchbookFile> cache;
    int32_t current;
    int32_t currentPage;
    bool starting;
    int32_t scanMode;
    int32_t trashRecordCount;
    TrashedBookRecord trashRecords[kTrashRecordLimit];
};
