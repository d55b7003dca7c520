#include "shell/stage_window.h"

#include "shell/app.h"
#include "shell/menu_commands.h"
#include "shell/registry_settings.h"

void KVXStageWindow::InitMenu()
{
    RegistrySettings* settings = gApp ? gApp->Settings() : nullptr;
    if (settings && IsActive()) {
        int32_t volume = 3;
        settings->GetVolume(volume);
        for (UINT id = kMenuVolume0; id <= kMenuVolume7; ++id)
            CheckMenuItem(id, false);
        CheckMenuItem(UINT(kMenuVolume0 + volume), true);
        int32_t value = 0;
        settings->GetAutoSave(value);
        CheckMenuItem(kMenuAutoSave, value != 0);
        settings->GetPrinting(value);
        CheckMenuItem(kMenuPrinting, value != 0);
        EnableMenuItem(kMenuPrint, value != 0);
        settings->GetFancyPrinting(value);
        CheckMenuItem(kMenuFancyPrinting, value != 0);
        settings->GetTrashCan(value);
        CheckMenuItem(kMenuTrashCan, value != 0);
        settings->GetDuplicate(value);
        CheckMenuItem(kMenuDuplicate, value != 0);
        settings->GetRelativeTablet(value);
        CheckMenuItem(kMenuRelativeTablet, value != 0);
    }
    SetMenu(IsMenuShown());
}
