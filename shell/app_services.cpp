// The application's services to the screens: printing, the current page
// and its flags, the loop setting and the bridge to the scanner.
#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "canvas/resample.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "framework/print_configuration.h"
#include "gallery/canvas_page_content.h"
#include "gallery/magic_slate_part.h"
#include "gallery/picture_import.h"
#include "gallery/sketchbook_list.h"
#include "gallery/twain_manager.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/printable_surface.h"
#include "selection/slate_store.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/menu_commands.h"
#include "shell/packed_dib.h"
#include "shell/passage_scenes.h"
#include "shell/print_configuration.h"
#include "shell/registry_settings.h"
#include "shell/stage.h"
#include "shell/stage_window.h"
#include "stamps/recorded_stamps.h"
#include "stamps/stamps_block.h"

namespace {

const int16_t kTextTable = 0;
const int16_t kTextTableExtra = 107;
const int16_t kPrintTitleKey = 14;
const int16_t kPrintStatusKey = 15;
const int16_t kNoPrinterKey = 44;
const int32_t kNoPrinter = 4;
const int32_t kTitleLength = 256;

void TextOfKey(int16_t key, char* out, int32_t size)
{
    out[0] = 0;
    MMRecordTable texts;
    texts.LoadTenByteRows(kTextTable, kTextTableExtra);
    int32_t row = texts.FindRowByKey(key);
    if (row >= 0)
        lstrcpynA(out, texts.StringAt(row, 2), size);
}

CreationScene* CreationSceneOf(const KVXApp& app)
{
    return static_cast<CreationScene*>(app.GetScene(kSceneCreation));
}

}  // namespace

// Printing.

int32_t KVXApp::PrintPicture(WinMMOffscreenSurface* surface, void* printable, void* second,
                             int32_t kind, bool dispose)
{
    KVXPrintConfiguration* configuration = settings ? settings->PrintConfiguration() : nullptr;
    if (configuration && configuration->HasPrinter())
        return RunPrintSession(surface, printable, second, kind, dispose);
    char text[kTitleLength];
    TextOfKey(kNoPrinterKey, text, sizeof text);
    AlertBox(text, kAlertInformation).Show();
    return kNoPrinter;
}

// The picture, as large as the page allows, on one page.
int32_t KVXApp::RunPrintSession(WinMMOffscreenSurface* surface, void* printable, void* second,
                                int32_t kind, bool dispose)
{
    KVXPrintConfiguration* configuration = settings ? settings->PrintConfiguration() : nullptr;
    if (!configuration || !surface)
        return kNoPrinter;
    configuration->SetOwnerWindow(stageWindow);
    char title[kTitleLength];
    TextOfKey(kPrintTitleKey, title, sizeof title);
    char status[kTitleLength];
    TextOfKey(kPrintStatusKey, status, sizeof status);
    int32_t result;
    {
        MMPrintSurface session(*configuration, *surface);
        if (stageWindow)
            stageWindow->SetModalBox(true);
        result = session.PrintDocument(printDocument ? printDocument : title[0] ? title : status);
        if (stageWindow)
            stageWindow->SetModalBox(false);
    }
    if (dispose)
        surface->Dispose();
    return result;
}

// The current page.

void KVXApp::SetCurrentPicture(int16_t page)
{
    currentPage = page;
    if (sketchbookList)
        sketchbookList->SetCurrentPage(page);
}

void KVXApp::MarkCurrentPageModified()
{
    if (sketchbookList)
        sketchbookList->MarkPageModified(sketchbookList->CurrentBookIndex(), currentPage);
}

void KVXApp::ClearCurrentPageModified()
{
    if (sketchbookList)
        sketchbookList->ClearPageModified(sketchbookList->CurrentBookIndex(), currentPage);
}

int16_t* KVXApp::PageSceneData()
{
    static int16_t spare[4] = {0, 0, 1024, 3};
    return pageStamps ? pageStamps->sceneData : spare;
}

bool KVXApp::LoadCurrentPage(MagicSlateStore* slate)
{
    if (pageStamps)
        pageStamps->SetDefaultSceneData(0);
    SketchbookFile* book = sketchbookList ? sketchbookList->CurrentBook() : nullptr;
    if (!canvasPlane || !book || !pageStamps || currentPage < 0 ||
        currentPage >= book->PageCount())
        return false;
    std::unique_ptr<MagicSlateStore> spare;
    if (!slate) {
        spare.reset(new (gDefaultHeap) MagicSlateStore);
        slate = spare.get();
    }
    if (!slate)
        return false;
    MagicSlatePart part(*slate);
    CanvasPageContent content(*canvasPlane, part, *pageStamps, nullptr);
    bool loaded = book->LoadPage(content, currentPage);
    canvasPlane->MarkAllDirty();
    return loaded;
}

// The leave step writes the page before the canvas is cleared, unless
// "AutoSave" is off.
bool KVXApp::WritePageOnLeave()
{
    if (!sketchbookList || !sketchbookList->CurrentBook() || !pageStamps)
        return true;
    int32_t autoSave = 1;
    if (settings)
        settings->GetAutoSave(autoSave);
    CreationScene* scene = CreationSceneOf(*this);
    MagicSlateStore* slate = scene ? scene->SlateStore() : nullptr;
    std::unique_ptr<MagicSlateStore> spare;
    if (!slate) {
        spare.reset(new (gDefaultHeap) MagicSlateStore);
        slate = spare.get();
    }
    if (!slate)
        return false;
    if (scene)
        CreationStampsToBlock(scene->StampManager(), *pageStamps);
    KVXRecordedStamps stamps(*pageStamps);
    MagicSlatePart part(*slate);
    CanvasPageContent content(*canvasPlane, part, *pageStamps, &stamps);
    sketchbookList->SetCurrentPage(currentPage);
    return sketchbookList->LeaveCreationScene(content, *canvasPlane, autoSave != 0);
}

// The loop setting of the slideshow.

bool KVXApp::IsLoopOn()
{
    int32_t loop = 7;
    if (settings)
        settings->GetLoop(loop);
    return loop != 0;
}

void KVXApp::SetLoop(bool on)
{
    if (settings)
        settings->SetLoop(on ? 1 : 0);
    loopFlag = on ? 1 : 0;
}

// The scanner bridge: the stage thread posts, the UI thread works.

void KVXApp::StartTwain()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    if (twainManager)
        twainManager->Start();
}

namespace {

DWORD PostToThread(DWORD thread, UINT message, WPARAM wParam)
{
    if (!message || !PostThreadMessageA(thread, message, wParam, 0))
        return GetLastError();
    return 1;
}

}  // namespace

DWORD KVXApp::PostInitializeTwain()
{
    if (!twainManager)
        return 0;
    if (stageWindow)
        twainManager->SetParentWindow(stageWindow->window);
    if (stage)
        twainManager->SetStageThread(stage->ThreadHandle());
    twainManager->CreateReadyEvent();
    return PostToThread(uiThreadId, RegisteredTwainMessages().initialize, 0);
}

DWORD KVXApp::PostBringUpTwain()
{
    if (!twainManager)
        return 0;
    if (twainManager->SourceCount() > 1)
        twainManager->ChooseTwainSourceDialog(stageWindow ? stageWindow->window : nullptr,
                                              uiThreadId);
    return PostToThread(uiThreadId, RegisteredTwainMessages().bringUp, 0);
}

DWORD KVXApp::PostTwainShutDown()
{
    if (!twainManager)
        return 0;
    return PostToThread(uiThreadId, RegisteredTwainMessages().shutDown, 0);
}

DWORD KVXApp::PostTwainMessage(int32_t index)
{
    if (!twainManager)
        return 0;
    return PostToThread(uiThreadId, RegisteredTwainMessages().selectDevice, WPARAM(index));
}

int32_t KVXApp::TwainSourceCount() const
{
    return twainManager ? twainManager->SourceCount() : 0;
}

WinMMOffscreenSurface* KVXApp::FitPackedDib(const void* block, SIZE_T size, const Box& canvas)
{
    PackedDibLayout layout;
    if (!CheckPackedDib(block, size, layout))
        return nullptr;
    int32_t width = layout.width;
    int32_t height = layout.height;
    int32_t canvasWidth = canvas.Width();
    int32_t canvasHeight = canvas.Height();
    if (width > canvasWidth || height > canvasHeight) {
        if (int64_t(width) * canvasHeight < int64_t(height) * canvasWidth) {
            width = int16_t(MulDiv(width, canvasHeight, height));
            height = canvasHeight;
        } else {
            height = int16_t(MulDiv(height, canvasWidth, width));
            width = canvasWidth;
        }
    }
    if (width <= 0 || height <= 0)
        return nullptr;
    WinMMOffscreenSurface* target = MMSurface::CreateBitmapDC(32, Box{0, 0, width, height}, nullptr);
    WinMMOffscreenSurface* picture =
        MMSurface::CreateBitmapDC(32, Box{0, 0, layout.width, layout.height}, nullptr);
    if (!target || !picture) {
        if (target)
            target->Dispose();
        if (picture)
            picture->Dispose();
        return nullptr;
    }
    const auto* bytes = static_cast<const uint8_t*>(block);
    picture->Lock();
    StretchDIBits(picture->GetDC(), 0, 0, layout.width, layout.height, 0, 0, layout.width,
                  layout.height, bytes + layout.pixelOffset,
                  reinterpret_cast<const BITMAPINFO*>(block), DIB_RGB_COLORS, SRCCOPY);
    picture->Unlock();
    target->FillBox(Box{0, 0, width, height}, MMColor{-1, 255, 255, 255, 0});
    MMBitmap source;
    MMBitmap destination;
    if (picture->GetBitmap(source) && target->GetBitmap(destination)) {
        source.SetAlphaInBox(0);
        ResampleBitmap(source, destination);
    }
    picture->Dispose();
    return target;
}

void KVXApp::ReceiveTwainImage(const TW_IMAGEINFO&, HGLOBAL dib)
{
    const void* block = dib ? GlobalLock(dib) : nullptr;
    if (!block)
        return;
    WinMMOffscreenSurface* surface = FitPackedDib(block, GlobalSize(dib), CanvasBox);
    GlobalUnlock(dib);
    if (!surface)
        return;
    WinMMOffscreenSurface* old = static_cast<WinMMOffscreenSurface*>(
        InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&scannedPicture), surface));
    if (old)
        old->Dispose();
    if (stageWindow)
        stageWindow->HandleCommand(kMenuImportedPicture);
}

WinMMOffscreenSurface* KVXApp::TakeImportedPicture(WinMMOffscreenSurface* given)
{
    auto* scanned = static_cast<WinMMOffscreenSurface*>(
        InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&scannedPicture), nullptr));
    if (!scanned)
        return given;
    if (given && given != scanned)
        given->Dispose();
    return scanned;
}

WinMMOffscreenSurface* KVXApp::ImportPicture()
{
    if (!sketchbookList)
        return nullptr;
    FSDirectory folder;
    folder.Set(folders[3][0] ? folders[3] : folders[0]);
    WinMMOffscreenSurface* surface = ImportPictureFile(
        Box{0, 0, CanvasBox.Width(), CanvasBox.Height()}, stageWindow ? stageWindow->window : nullptr,
        folder);
    lstrcpynA(folders[3], folder.Path(), kFolderSize);
    return surface;
}

void KVXApp::ImageReceiver(const TW_IMAGEINFO& info, HGLOBAL dib, void* context)
{
    static_cast<KVXApp*>(context)->ReceiveTwainImage(info, dib);
}

void KVXApp::StageNotifier(int code, void* context)
{
    auto* app = static_cast<KVXApp*>(context);
    if (app->stageWindow)
        app->stageWindow->HandleCommand(code);
}

void KVXApp::CreateTwainManager()
{
    twainManager = new (gDefaultHeap) TwainManager;
    if (!twainManager)
        return;
    twainManager->SetImageReceiver(&KVXApp::ImageReceiver, this);
    twainManager->SetStageNotifier(&KVXApp::StageNotifier, this);
}

void KVXApp::ReleasePassageStamps()
{
    if (auto* passage = dynamic_cast<KVXTransitionFromUTHScene*>(GetScene(kSceneFromGallery)))
        passage->ReleaseStamps();
}
