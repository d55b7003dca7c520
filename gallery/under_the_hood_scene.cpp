#include "gallery/under_the_hood_scene.h"

#include "framework/heap.h"
#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "gallery/book_list_panel.h"
#include "gallery/sketchbook_list.h"
#include "gallery/viewer_panel.h"
#include "media/sound/logical_sound_channel.h"
#include "shell/app.h"
#include "shell/closing_credits.h"
#include "shell/menu_commands.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/frame_visual.h"
#include "shell/widgets/quit_button.h"
#include "shell/widgets/toggle_button.h"

namespace {

constexpr int16_t kBackgroundLayers[2] = {100, 101};
constexpr int16_t kButtonPriority = 100;
constexpr int16_t kResourceMode = 1;
constexpr int16_t kHotSpotLayer = 9999;
constexpr Box kHotSpot = {402, 406, 587, 434};
constexpr int16_t kZoomPriority = 500;

}  // namespace

const Box kZoomTarget = {215, 26, 555, 304};

KVXUnderTheHoodScene::KVXUnderTheHoodScene(MMStage* stage) : MpDragScene(stage) {}

KVXUnderTheHoodScene::~KVXUnderTheHoodScene()
{
    delete zoomThread;
    delete sceneChannel;
}

MMCommand* KVXUnderTheHoodScene::Command(const char* name, void (KVXUnderTheHoodScene::*method)())
{
    return new (gDefaultHeap) MMClassCommand<KVXUnderTheHoodScene>(name, stage_, this, method);
}

MpSketchbookList* KVXUnderTheHoodScene::Books() const
{
    return gApp ? gApp->SketchbookList() : nullptr;
}

int32_t KVXUnderTheHoodScene::CurrentPage() const { return gApp ? gApp->CurrentPage() : 0; }

void KVXUnderTheHoodScene::SetCurrentPage(int32_t page)
{
    if (gApp)
        gApp->SetCurrentPicture(int16_t(page));
}

void KVXUnderTheHoodScene::Begin()
{
    layout.LoadTenByteRows(kGalleryLayoutTable, 0);
    trashOpen = 0;
    MpDragScene::Begin();
    SetBusy(false);
    MakeBackground();
    if (stage_ && stage_->SoundManager() && !sceneChannel)
        sceneChannel = new (gDefaultHeap) MMGenericSoundChannel(stage_->SoundManager());
    new (gDefaultHeap) MMMouseVisualMolecule(
        this, Command("handleHotSpotCmd", &KVXUnderTheHoodScene::FocusViewerTitle), kHotSpot,
        kHotSpotLayer, nullptr);
    MakeButtons();
    MakeBookList();
    MakeSlideshowPanel();
    MakeTrashPanel();
    MakeTrashToggle();
    MakeZoom();
    backToPainting = MakeButton(kGalleryBackToPainting,
                                Command("TryingToLeaveStage", &KVXUnderTheHoodScene::LeaveGallery));
    BuildViewer();
}

void KVXUnderTheHoodScene::MakeBackground()
{
    for (int16_t key : {kGalleryBackground, kGalleryBackgroundUpper}) {
        int32_t row = layout.FindRowByKey(key);
        if (row >= 0)
            new (gDefaultHeap) MMPictureMolecule(this, MMPictureID(layout.LongAt(row, 2)),
                                                 Pair{0, 0}, kBackgroundLayers[key]);
    }
}

KVXAnimatedButtonMolecule* KVXUnderTheHoodScene::MakeButton(int16_t key, MMCommand* click)
{
    int32_t row = layout.FindRowByKey(key);
    if (row < 0) {
        delete click;
        return nullptr;
    }
    return new (gDefaultHeap) KVXAnimatedButtonMolecule(
        this, layout.LongAt(row, 2), click, kGalleryButtonLayer, 0, kButtonPriority, kResourceMode);
}

void KVXUnderTheHoodScene::MakeButtons()
{
    int32_t exitRow = layout.FindRowByKey(kGalleryExit);
    if (exitRow >= 0)
        exitButton = new (gDefaultHeap) KVXQuitButton(
            this, layout.LongAt(exitRow, 2),
            Command("handleExitCmd", &KVXUnderTheHoodScene::ShowCredits), kGalleryButtonLayer, 0,
            kButtonPriority, kResourceMode, -1);
    garbageTruck = MakeButton(kGalleryGarbageTruck,
                              Command("handleGarbageTruckCmd", &KVXUnderTheHoodScene::EmptyTrash));
    MakeHelpToggle();
    newBook = MakeButton(kGalleryNewBook, Command("handleNewCmd", &KVXUnderTheHoodScene::NewBook));
    duplicate = MakeButton(kGalleryDuplicate,
                           Command("duplicateButtonCmd", &KVXUnderTheHoodScene::DuplicatePage));
    UpdateDuplicateButton();
    print = MakeButton(kGalleryPrint,
                       Command("handlePrintCmd", &KVXUnderTheHoodScene::PrintCurrentPage));
    UpdatePrintButton();
}

void KVXUnderTheHoodScene::MakeHelpToggle()
{
    int32_t position = layout.FindRowByKey(kGalleryHelpPosition);
    int32_t on = layout.FindRowByKey(kGalleryHelpOn);
    int32_t off = layout.FindRowByKey(kGalleryHelpOff);
    if (position < 0 || on < 0 || off < 0)
        return;
    Pair at = layout.PairAt(position, 2);
    KVXToggleButtonMolecule::Parameters parameters = {
        this, at.x, at.y, MMPictureID(layout.LongAt(off, 2)), MMPictureID(layout.LongAt(on, 2)),
        Command("handleHelpCmd", &KVXUnderTheHoodScene::ToggleHelp), kGalleryButtonLayer,
        KVXAppCursor(0), nullptr};
    helpToggle = new (gDefaultHeap) KVXToggleButtonMolecule(parameters);
}

void KVXUnderTheHoodScene::MakeZoom()
{
    KVXFrameVisual::Parameters frame = {{0, 0, 1, 1}, {-1, 255, 255, 255, 0}, kGalleryButtonLayer};
    frameBox = new (gDefaultHeap) KVXFrameVisual(frame);
    zoomFrame = new (gDefaultHeap) MMVisualMolecule(this, frameBox);
    if (zoomFrame)
        zoomFrame->Hide();
    if (!zoomThread)
        zoomThread = new (gDefaultHeap) MpZoomThread(stage_, *this);
    if (zoomThread)
        zoomThread->SetPriority(kZoomPriority);
}

void KVXUnderTheHoodScene::BuildViewer()
{
    MakeViewer();
    FocusViewerTitle();
    if (backToPainting && backToPainting->IsHidden())
        backToPainting->Show();
}

void KVXUnderTheHoodScene::MakeBookList()
{
    bookList = new (gDefaultHeap) KVXUTHsketchbookList(this);
}

void KVXUnderTheHoodScene::MakeViewer()
{
    viewer = new (gDefaultHeap) KVXUTHviewer(this);
}

KVXAnimatedButtonMolecule* KVXUnderTheHoodScene::Button(int16_t key) const
{
    switch (key) {
    case kGalleryBackToPainting: return backToPainting;
    case kGalleryPrint: return print;
    case kGalleryGarbageTruck: return garbageTruck;
    case kGalleryNewBook: return newBook;
    case kGalleryDuplicate: return duplicate;
    default: return nullptr;
    }
}

void KVXUnderTheHoodScene::DeleteMolecules()
{
    if (sceneChannel)
        sceneChannel->Stop();
    delete sceneChannel;
    sceneChannel = nullptr;
    MpSketchbookList* books = Books();
    if (gApp && gApp->Settings()) {
        gApp->Settings()->SetImageNumber(CurrentPage());
        if (books && books->CurrentBook())
            gApp->Settings()->SetSketchbookName(books->CurrentBook()->FileName());
    }
    if (viewer)
        viewer->StorePageNames();
    BuildDefaultTitle();
    DeletePanels();
    if (viewer)
        viewer->ClearSlots();
    if (zoomThread) {
        zoomThread->Terminate();
        delete zoomThread;
        zoomThread = nullptr;
    }
    if (stage_)
        stage_->SetEnteredEnclosure(nullptr, nullptr);
    MpDragScene::DeleteMolecules();
    frameBox = nullptr;
    zoomFrame = nullptr;
    garbageTruck = newBook = duplicate = backToPainting = print = nullptr;
    helpToggle = nullptr;
    trashToggle = nullptr;
    exitButton = nullptr;
    viewer = nullptr;
    bookList = nullptr;
    trash = nullptr;
    slideshow = nullptr;
}
