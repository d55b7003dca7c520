#include "shell/stage.h"

#include "engine/record_table.h"
#include "media/bitmap_picture_collection.h"
#include "media/sound/sound_manager.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell/menu_commands.h"
#include "shell/print_configuration.h"
#include "shell/registry_settings.h"
#include "shell/stage_window.h"

namespace {

const int32_t kStageBitsPerPixel = 32;
const int16_t kStagePictureSlots = 40;
const uint16_t kStagePictureCollection = 9;
const int16_t kTextTable = 0;
const int16_t kTextTableExtra = 107;
const int16_t kAboutKey = 16;
const char kRelativeTabletText[] =
    "'Relative Tablet' mode will not be activated until 'Tavelo's Pennaro' is restarted";

RegistrySettings* Settings() { return gApp ? gApp->Settings() : nullptr; }

int32_t ClampLevel(int32_t level) { return level < 0 ? 0 : level > 7 ? 7 : level; }

// The stored level, or one derived from the system volume and stored.
int32_t VolumeLevel(int32_t systemVolume, double rounding)
{
    RegistrySettings* settings = Settings();
    int32_t level = 3;
    if (settings && !settings->GetVolume(level)) {
        level = int32_t(double(systemVolume) / 1024.0 * 7.0 + rounding);
        settings->SetVolume(level);
    }
    return ClampLevel(level);
}

}  // namespace

int32_t WaveVolumeForLevel(int32_t level)
{
    return int32_t(double(level) * (1.0 / 7.0) * 1024.0);
}

KVXStage::KVXStage(KVXStageWindow* window, const Box& box)
    : MMStage(window, box, kStageBitsPerPixel, nullptr, nullptr, nullptr, nullptr)
{
}

KVXStage::~KVXStage()
{
    delete pictureCollection;
    if (threadHandle)
        CloseHandle(threadHandle);
}

bool KVXStage::HasCommand(int32_t) { return true; }

MMStageControl* KVXStage::CreateControl(MMStageWindow* window, const Box& box)
{
    return new KVXStageControl(window, box, this);
}

void KVXStage::ThreadStart()
{
    MMStage::ThreadStart();
    if (threadHandle)
        CloseHandle(threadHandle);
    threadHandle = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &threadHandle, 0,
                    TRUE, DUPLICATE_SAME_ACCESS);
    savedVolume = GetWaveVolume();
    SetWaveVolume(WaveVolumeForLevel(VolumeLevel(savedVolume, 0.5)));
    delete pictureCollection;
    pictureCollection = new MMBitmapPictureCollection(kStagePictureSlots, kStagePictureCollection);
}

void KVXStage::ThreadEnd()
{
    delete pictureCollection;
    pictureCollection = nullptr;
    SetWaveVolume(savedVolume);
    MMStage::ThreadEnd();
}

void KVXStage::Loop()
{
    while (!quit_) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            KVXStageWindow* window = gApp ? gApp->StageWindow() : nullptr;
            HACCEL table = gApp ? gApp->Accelerators() : nullptr;
            bool taken = window && table &&
                         TranslateAcceleratorA(window->window, table, &message);
            AFWindow* record = gApplication ? gApplication->activeWindow : nullptr;
            if (!taken && record && record->accelerators)
                taken = TranslateAcceleratorA(record->window, record->accelerators, &message);
            if (!taken) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
            if (quit_ || !inputRing_.IsEmpty())
                break;
        }
        if (quit_)
            break;
        Step();
    }
    FinishStop();
}

int32_t KVXStage::CheckedVolumeItem()
{
    int32_t id = kMenuVolume0;
    while (id < kMenuVolume7 && !(window_ && window_->IsMenuItemChecked(UINT(id))))
        ++id;
    return id;
}

void KVXStage::StepVolume(bool up)
{
    int32_t id = CheckedVolumeItem();
    if (up && id < kMenuVolume7)
        ++id;
    else if (!up && id > kMenuVolume0)
        --id;
    HandleMenuCommand(id);
}

void KVXStage::HandleMenuCommand(int32_t id)
{
    bool checked = window_ && window_->HasMenuItem(UINT(id)) && window_->IsMenuItemChecked(UINT(id));
    if (!HandleOwnCommand(id, !checked))
        MMStage::HandleMenuCommand(id);
}

bool KVXStage::HandleOwnCommand(int32_t id, bool newValue)
{
    RegistrySettings* settings = Settings();
    int32_t value = newValue ? 1 : 0;
    if (id >= kMenuVolume0 && id <= kMenuVolume7) {
        for (int32_t item = kMenuVolume0; item <= kMenuVolume7; ++item)
            window_->CheckMenuItem(UINT(item), false);
        window_->CheckMenuItem(UINT(id), true);
        int32_t level = id - kMenuVolume0;
        if (settings)
            settings->SetVolume(level);
        SetWaveVolume(WaveVolumeForLevel(level));
        return true;
    }
    switch (id) {
    case kMenuAbout: {
        MMRecordTable texts;
        texts.LoadTenByteRows(kTextTable, kTextTableExtra);
        int32_t row = texts.FindRowByKey(kAboutKey);
        if (row >= 0)
            AlertBox(texts.StringAt(row, 2), kAlertInformation).Show();
        return true;
    }
    case kMenuPrinterSetup:
        if (settings && settings->PrintConfiguration())
            settings->PrintConfiguration()->RunSetupDialog();
        return false;
    case kMenuQuit:
    case kMenuCloseQuit:
        if (gApp) {
            gApp->SaveCanvasOnLeave();
            gApp->Quit();
        }
        return true;
    case kMenuVolumeUp:
        StepVolume(true);
        return true;
    case kMenuVolumeDown:
        StepVolume(false);
        return true;
    case kMenuAutoSave:
        if (settings)
            settings->SetAutoSave(value);
        window_->CheckMenuItem(UINT(id), newValue);
        return true;
    case kMenuPrinting:
        if (settings)
            settings->SetPrinting(value);
        window_->CheckMenuItem(UINT(id), newValue);
        return false;
    case kMenuFancyPrinting:
        if (settings)
            settings->SetFancyPrinting(value);
        window_->CheckMenuItem(UINT(id), newValue);
        return true;
    case kMenuTrashCan:
        if (settings)
            settings->SetTrashCan(value);
        window_->CheckMenuItem(UINT(id), newValue);
        return false;
    case kMenuDuplicate:
        if (settings)
            settings->SetDuplicate(value);
        window_->CheckMenuItem(UINT(id), newValue);
        return false;
    case kMenuRelativeTablet:
        if (AlertBox(kRelativeTabletText, kAlertOkCancel).Show() == kAnswerOk) {
            if (settings)
                settings->SetRelativeTablet(value);
            window_->CheckMenuItem(UINT(id), newValue);
        }
        return false;
    case kMenuDisplayWindowed:
    case kMenuDisplayFull:
        if (gApp)
            gApp->SetDisplayMode(id);
        return true;
    default:
        return false;
    }
}

void KVXStage::HandleKey(uint32_t keyData)
{
    MMStageEvent event = {kStageEventKey, 0, 0, 0, 0, keyData};
    char c = event.KeyCommand() == 0 ? char(event.CharLow()) : 0;
    if (c == '+' || c == '=') {
        StepVolume(true);
        return;
    }
    if (c == '-' || c == '_') {
        StepVolume(false);
        return;
    }
    MMStage::HandleKey(keyData);
}

void KVXStageControl::OnActivated()
{
    if (owner)
        owner->SetFocus(this);
    KVXStage* stage = dynamic_cast<KVXStage*>(Stage());
    if (stage) {
        stage->SetSavedVolume(GetWaveVolume());
        SetWaveVolume(WaveVolumeForLevel(VolumeLevel(stage->SavedVolume(), 0.0)));
    }
    if (Stage() && Stage()->PauseCount() > 0)
        Stage()->Resume();
}

void KVXStageControl::OnDeactivated()
{
    if (Stage())
        Stage()->Pause();
    KVXStage* stage = dynamic_cast<KVXStage*>(Stage());
    if (stage)
        SetWaveVolume(stage->SavedVolume());
}
