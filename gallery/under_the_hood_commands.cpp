// The gallery's buttons and menu commands.
#include <cstdio>
#include <cstring>

#include "framework/heap.h"
#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "engine/stage_window.h"
#include "gallery/book_list_panel.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_list.h"
#include "gallery/under_the_hood_scene.h"
#include "gallery/viewer_panel.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "shell/app.h"
#include "shell/closing_credits.h"
#include "shell/menu_commands.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/quit_button.h"
#include "shell/widgets/toggle_button.h"

namespace {

constexpr int16_t kCreationLayoutTable = 734;
constexpr int16_t kCreationLayoutExtra = 66;
constexpr int16_t kHelpSoundKey = 63;
constexpr int16_t kTextCopyName = 28;
constexpr MMResourceId kPrintSound = 148;
constexpr int16_t kCursorNormal = 0;
constexpr int16_t kCursorSlot = 4;
constexpr int16_t kCursorHelp = 27;
constexpr int16_t kDimmedLabel = 99;

int32_t Setting(bool (RegistrySettings::*get)(int32_t&), int32_t fallback)
{
    int32_t value = fallback;
    if (gApp && gApp->Settings())
        (gApp->Settings()->*get)(value);
    return value;
}

void EnableButton(KVXAnimatedButtonMolecule* button, bool on)
{
    if (!button || button->IsActive() == on)
        return;
    button->SetActive(on, false);
    button->Run(on ? int16_t(kLabelIdle) : kDimmedLabel);
}

}  // namespace

void KVXUnderTheHoodScene::PlayHelpSound()
{
    MMRecordTable creation;
    creation.LoadTenByteRows(kCreationLayoutTable, kCreationLayoutExtra);
    int32_t row = creation.FindRowByKey(kHelpSoundKey);
    if (!sceneChannel || row < 0)
        return;
    MMSoundReference sound;
    sound.Load(creation.LongAt(row, 2));
    sceneChannel->Play(sound, false);
}

void KVXUnderTheHoodScene::PlayEmptySound()
{
    if (!sceneChannel)
        return;
    MMSoundReference none;
    none.Load(MM_NO_RESOURCE);
    sceneChannel->Play(none, false);
}

bool KVXUnderTheHoodScene::TrashCanOn() const
{
    return Setting(&RegistrySettings::GetTrashCan, 1) != 0;
}

void KVXUnderTheHoodScene::FocusViewerTitle()
{
    if (viewer)
        viewer->FocusTitle();
}

void KVXUnderTheHoodScene::ShowCredits()
{
    if (!exitButton)
        return;
    exitButton->SetState(false);
    new (gDefaultHeap) ClosingCreditsMolecule(
        exitButton,
        Command("handlereturnfromcredits", &KVXUnderTheHoodScene::ReturnFromCredits));
}

void KVXUnderTheHoodScene::ReturnFromCredits()
{
    if (exitButton)
        exitButton->SetState(true);
}

void KVXUnderTheHoodScene::LeaveGallery()
{
    if (gApp)
        gApp->ChangeScene(stage_, kSceneFromGallery, nullptr);
}

void KVXUnderTheHoodScene::SetButtonCursor(KVXAnimatedButtonMolecule* button, int16_t cursor)
{
    if (button)
        button->SetCursor(cursor);
}

void KVXUnderTheHoodScene::ToggleHelp()
{
    bool on = !HelpMode();
    if (!on && sceneChannel)
        sceneChannel->Stop();
    SetBusy(on);
    int16_t cursor = on ? kCursorHelp : kCursorNormal;
    SetTrashCursors(kCursorSlot, cursor);
    SetButtonCursor(duplicate, cursor);
    SetButtonCursor(garbageTruck, cursor);
    SlideshowHelpChanged();
}

void KVXUnderTheHoodScene::NewBook()
{
    if (Zooming() || HelpMode())
        return;
    MpSketchbookList* books = Books();
    if (books && books->BookCount() >= kBookLimit) {
        GalleryAlert(kAlertNoMoreBooks, "fifty books", kAlertKindInformation);
        return;
    }
    Box from = {0, 0, 0, 0};
    if (newBook && newBook->Visual(0))
        from = newBook->Visual(0)->GetBounds();
    SetZoomKind(-2);
    StartZoom(from, kZoomTarget);
}

void KVXUnderTheHoodScene::BuildDefaultTitle()
{
    MpSketchbookList* books = Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    if (!book)
        return;
    char title[kBookNameSize] = "";
    if (viewer)
        viewer->TitleText(title, sizeof title);
    if (!title[0]) {
        const char* digits = book->FileName();
        while (*digits && (*digits < '0' || *digits > '9'))
            ++digits;
        size_t run = std::strspn(digits, "0123456789");
        std::snprintf(title, sizeof title, "%s %.*s", GalleryText(kTextBookName), int(run), digits);
    }
    if (std::strcmp(title, book->BookName()) == 0 || !book->OpenExisting(false))
        return;
    if (book->ReadPageTable()) {
        book->SetBookName(title);
        book->WritePageTable();
    }
    book->Close();
}

// The copy goes next to its source page, named after the copies before it.
void KVXUnderTheHoodScene::DuplicatePage()
{
    MpSketchbookList* books = Books();
    SketchbookFile* book = books ? books->CurrentBook() : nullptr;
    if (HelpMode() || !book)
        return;
    if (viewer) {
        viewer->ClearSlots();
        viewer->StorePageNames();
    }
    BuildDefaultTitle();
    if (!book->Open(0, nullptr))
        return;
    int32_t source = CurrentPage();
    if (!book->ReadPageTable() || source < 0 || source >= book->PageCount()) {
        // nothing to copy
    } else if (book->PageCount() >= kBookPageLimit) {
        GalleryAlert(kAlertBookFull, "full book", kAlertKindInformation);
    } else if (book->ChooseNewPageSlot(book->Slot(source).allotment) &&
               book->CopyPageData(*book, source, book->PageCount())) {
        SketchbookPageInfo info = book->Slot(source).info;
        const char* prefix = GalleryText(kTextCopyName);
        size_t length = std::strlen(prefix);
        int32_t copies = 0;
        for (int32_t i = 0; i < book->PageCount(); ++i)
            if (std::strncmp(book->PageName(i), prefix, length) == 0)
                ++copies;
        std::snprintf(info.name, sizeof info.name, "%s %d", prefix, int(copies));
        info.changed = 1;
        if (book->AdoptChosenSlot(info))
            book->MovePageTo(book->PageCount() - 1, source);
    } else {
        book->ReadPageTable();
    }
    book->Close();
    if (viewer)
        viewer->RefreshPage();
}

void KVXUnderTheHoodScene::PrintCurrentPage()
{
    if (HelpMode()) {
        PlayHelpSound();
        return;
    }
    if (sceneChannel) {
        sceneChannel->Stop();
        MMSoundReference click;
        click.Load(kPrintSound);
        sceneChannel->Play(click, false);
    }
    PrintProject(3);
}

void KVXUnderTheHoodScene::EmptyTrash()
{
    if (HelpMode())
        return;
    EmptyTrashPanel();
}

void KVXUnderTheHoodScene::UpdatePrintButton()
{
    bool on = Setting(&RegistrySettings::GetPrinting, 1) != 0;
    EnableButton(print, on);
    if (stage_ && stage_->Window())
        stage_->Window()->EnableMenuItem(UINT(kMenuPrint), on);
}

void KVXUnderTheHoodScene::UpdateDuplicateButton()
{
    EnableButton(duplicate, Setting(&RegistrySettings::GetDuplicate, 1) != 0);
}

bool KVXUnderTheHoodScene::HandleMenuCommand(int32_t id)
{
    switch (id) {
    case kMenuPrint:
        PrintCurrentPage();
        return true;
    case kMenuImport:
        ImportOldBook();
        return true;
    case kMenuPrinting:
        UpdatePrintButton();
        return true;
    case kMenuTrashCan:
        UpdateTrashButtons();
        return true;
    case kMenuDuplicate:
        UpdateDuplicateButton();
        return MpDragScene::HandleMenuCommand(id);
    default:
        return MpDragScene::HandleMenuCommand(id);
    }
}
