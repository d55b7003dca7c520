#pragma once
// The gallery's column of the child's other books: up to four entries (the
// current book is in the viewer), two arrows that scroll one book at a time
// and the book's name under each entry. A double click opens a book; a page
// dropped on an entry goes into that book.
#include <cstdint>
#include <string>

#include "engine/molecule.h"
#include "engine/picture_collection.h"
#include "gallery/book_list_layout.h"

class KVXAnimatedButtonMolecule;
class KVXUnderTheHoodScene;
class MMWordWrapMolecule;
class MpDragButton;

constexpr int16_t kBookListTable = 758;

class KVXUTHsketchbookList : public MMMolecule {
public:
    explicit KVXUTHsketchbookList(KVXUnderTheHoodScene* scene);
    ~KVXUTHsketchbookList() override;

    void ScrollUp();
    void ScrollDown();
    void ChooseEntry(int32_t entry);
    void OpenEntry(int32_t entry);

    void Refresh();
    void UpdateUpArrow();
    void UpdateDownArrow();
    void BookAdded();
    void EmptyEntry(int32_t entry);
    int32_t ChosenBook() const;
    void ResetHighlights(int32_t except);
    bool DragOver(int32_t kind, const Pair& point);
    bool Drop(int32_t kind, const Pair& point);
    bool PerformDrop();

    int32_t Armed() const { return armed; }
    int32_t ShownCount() const { return shown; }
    int32_t FirstShown() const { return first; }
    MpDragButton* Entry(int32_t i) const { return entries[i]; }
    MMWordWrapMolecule* Label(int32_t i) const { return labels[i]; }
    KVXAnimatedButtonMolecule* UpArrow() const { return up; }
    KVXAnimatedButtonMolecule* DownArrow() const { return down; }
    // The book an entry shows (-1 when it shows none).
    int32_t BookOf(int32_t entry) const;

private:
    void MakeArrows();
    void MakeEntry(int32_t i);
    void SetEntryPictures(int32_t i, const MMPictureReference& normal,
                          const MMPictureReference& highlighted);
    void ShowNormal(int32_t i);
    void PlaceLabel(int32_t i, const char* name);
    bool EntryHolds(int32_t i, const Pair& point) const;
    void EnableArrow(KVXAnimatedButtonMolecule* arrow, bool on);
    int32_t FindEntry(const Pair& point) const;

    int32_t armed = 0;
    Pair dropPoint = {0, 0};
    KVXUnderTheHoodScene* scene;
    int16_t count = 0;
    int16_t shown = 0;
    int16_t first = 0;
    int16_t chosen = 0;
    KVXAnimatedButtonMolecule* up = nullptr;
    KVXAnimatedButtonMolecule* down = nullptr;
    Pair positions[kBookEntries] = {};
    MpDragButton* entries[kBookEntries] = {};
    MMWordWrapMolecule* labels[kBookEntries] = {};
    // The book each entry shows; the buttons keep their entry index, which
    // their drags report.
    int16_t shownBooks[kBookEntries] = {-1, -1, -1, -1};
    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
    MMPictureReference targetPicture;
    MMPictureReference dragPicture;
};
