#pragma once
// A gallery-like scene holding the trash and the slideshow panels on the
// gallery's test stage (stage_rig.h); two stand-in drag buttons play a book
// of the book list (kind 1) and a page of the viewer (kind 2).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/command.h"
#include "engine/record_table.h"
#include "gallery/drag_button.h"
#include "gallery/drag_scene.h"
#include "gallery/slideshow_panel.h"
#include "gallery/trash_panel.h"
#include "stage_rig.h"

// The export's dialogs answer from the test.
class ScriptedExportDialogs : public ExportDialogs {
public:
    bool AskFileName(char* folder, char* name, int32_t& kind) override
    {
        ++asked;
        if (answers.empty())
            return false;
        lstrcpynA(folder, answerFolder.c_str(), FS_PATH_SIZE);
        lstrcpynA(name, answers.front().first.c_str(), kExportNameSize);
        kind = answers.front().second;
        answers.erase(answers.begin());
        return true;
    }
    bool AskReplace(const char*) override { return true; }
    std::vector<std::pair<std::string, int32_t>> answers;
    std::string answerFolder;
    int asked = 0;
};

class PanelScene : public MpDragScene, public TrashPanelHost, public SlideshowPanelHost {
public:
    static constexpr int16_t kStandInLayer = 200;
    static const Pair kBookAt;
    static const Pair kPageAt;

    PanelScene(MMStage* stage, MpSketchbookList* list) : MpDragScene(stage), list(list) {}

    void Begin() override
    {
        MpDragScene::Begin();
        trash = new MpUTHtrashContents(this, *this);
        MMRecordTable layout;
        layout.LoadTenByteRows(kTrashLayoutTable, 0);
        int32_t row = layout.FindRowByKey(kLayoutTrashToggle);
        if (row >= 0)
            toggle = new MPTrashToggleButton(this, *this, layout.LongAt(row, 2), trash);
        slideshow = new KVXUTHslideshow(this, *this, &dialogs);
        book = MakeStandIn(kDragBook, kBookAt);
        page = MakeStandIn(kDragViewerPage, kPageAt);
    }
    void DeleteMolecules() override
    {
        trash = nullptr;
        toggle = nullptr;
        slideshow = nullptr;
        MpDragScene::DeleteMolecules();
    }
    bool DragOver(int32_t kind, const Pair& point, int16_t entry) override
    {
        return trashCan && trash->DragOver(kind, point);
    }
    bool Drop(int16_t entry, int32_t kind, const Pair& point) override
    {
        if (trashCan && trash->Drop(kind, point))
            return true;
        ++refused;
        trash->Refresh();
        if (trashOpen)
            trash->ShowItems();
        return false;
    }
    // The zoom itself is the zoom thread's; here the drop follows at once.
    void FinishZoom()
    {
        if (zoomPending) {
            zoomPending = false;
            trash->PerformDrop();
        }
    }

    MpSketchbookList* SketchbookList() override { return list; }
    bool IsTrashOpen() override { return trashOpen; }
    void SetTrashOpen(bool open) override
    {
        trashOpen = open;
        if (open) {
            slideshow->Close();
            trash->ShowItems();
        } else {
            trash->HideItems();
        }
    }
    MPTrashToggleButton* TrashToggle() override { return toggle; }
    void StartZoom(const Box& from, const Box& to) override
    {
        zoomPending = true;
        zoomTarget = to;
    }
    int32_t ChosenBook() override { return book->Entry(); }
    int32_t DraggedPage() override { return page->Entry(); }
    void StorePageNames() override {}
    void StoreBookTitle() override {}
    void RefreshBookList() override { ++bookListRefreshes; }
    void SelectEntry(int32_t index) override { list->SelectBook(index); }
    void RedrawViewer() override {}
    void SlideshowOpened(bool open) override { slideshowOpen = open; }

    MpSketchbookList* list;
    MpUTHtrashContents* trash = nullptr;
    MPTrashToggleButton* toggle = nullptr;
    KVXUTHslideshow* slideshow = nullptr;
    MpDragButton* book = nullptr;
    MpDragButton* page = nullptr;
    ScriptedExportDialogs dialogs;
    bool trashOpen = false;
    bool trashCan = true;
    bool slideshowOpen = false;
    bool zoomPending = false;
    Box zoomTarget = {0, 0, 0, 0};
    int refused = 0;
    int bookListRefreshes = 0;

private:
    MpDragButton* MakeStandIn(int32_t kind, const Pair& at)
    {
        // A plain box: the stand-ins need no picture to be pressed.
        class BoxVisual : public MpDragButtonVisual {
        public:
            explicit BoxVisual(const Pair& at)
                : MpDragButtonVisual({}, {}, at, nullptr, kStandInLayer), at(at)
            {
            }
            Box GetBounds() const override { return {at.x, at.y, at.x + 60, at.y + 40}; }
            bool ContainsPoint(int32_t x, int32_t y) override { return GetBounds().Contains({x, y}); }
            Pair at;
        };
        auto* visual = new BoxVisual(at);
        auto* interpreter =
            new MpDragButtonInterpreter(kind, this, nullptr, visual, nullptr, nullptr, -1);
        return new MpDragButton(0, this, visual, nullptr, nullptr, interpreter);
    }
};

inline const Pair PanelScene::kBookAt = {20, 100};
inline const Pair PanelScene::kPageAt = {20, 200};

class PanelTest : public GalleryStageTest {
protected:
    void ReleaseScenes() override { scene.reset(); }
    // Books of these page counts, each page named after its book and place
    // ("a0", "a1" ...), each book's pages one colour; the first current.
    void MakeBooks(const std::vector<int>& pageCounts)
    {
        RealCanvas canvas(kWidth, kHeight);
        for (size_t b = 0; b < pageCounts.size(); ++b) {
            std::string name(1, char('a' + b));
            canvas.Fill(uint8_t(40 * b), 200, 100);
            SketchbookFile book(scratch.folder, name.c_str());
            book.SetCreationTime(int32_t(100 + b));
            ASSERT_TRUE(book.Open(pageCounts[b], &canvas.content));
            for (int p = 0; p < pageCounts[b]; ++p)
                ASSERT_TRUE(book.WritePage(canvas.content, p));
            book.Close();
        }
        UseBooks();
        for (size_t b = 0; b < pageCounts.size(); ++b)
            for (int p = 0; p < pageCounts[b]; ++p)
                list->SetPageName(int32_t(b), p, (std::string(1, char('a' + b)) + std::to_string(p)).c_str());
        list->SetCurrentPage(0);
    }
    void Enter()
    {
        scene.reset(new PanelScene(&stage, list.get()));
        app.SetSceneSlot(kSceneGallery, scene.get());
        app.SetSceneSlot(kSceneSlideshow, &slideshowStandIn);
        EnterScene(scene.get());
        // The buttons' scripts place their pictures.
        Step();
    }
    // Press at `from`, move through `path`, release at the last point.
    void Drag(const Pair& from, const std::vector<Pair>& path)
    {
        Pointer(from.x, from.y, kPointerPressed | kPointerHeld);
        for (const Pair& p : path)
            Pointer(p.x, p.y, kPointerHeld);
        Pointer(path.back().x, path.back().y, kPointerReleased);
        scene->FinishZoom();
        Step();
    }

    RecordingScene slideshowStandIn{&stage, &log};
    std::unique_ptr<PanelScene> scene;
};
