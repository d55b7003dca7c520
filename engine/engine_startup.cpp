#include "engine/engine_startup.h"

#include <cstdio>

#include "engine/engine_pulse_managers.h"
#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "engine/wintab_binding.h"
#include "framework/pending_error.h"
#include "framework/string_table.h"
#include "media/film_loader.h"
#include "media/row_blitters.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"

namespace {

FSDirectory gProgramFolder;
FSDirectory gSecondFolder;
UUList<FSDirectory*> gSearchFolders;

typedef bool (*OpenResourceFile)(const FSDirectory& folder, const char* name);

bool OpenScript(const FSDirectory& folder, const char* name)
{
    return OpenScriptFile(folder, name);
}

bool OpenPictures(const FSDirectory& folder, const char* name)
{
    return MMOpenPictureFile(folder, name, false) != nullptr;
}

bool OpenSounds(const FSDirectory& folder, const char* name)
{
    return CreateSoundLoader(name, folder, false) != nullptr;
}

bool OpenFilms(const FSDirectory& folder, const char* name)
{
    return CreateFilmLoader(name, folder, false) != nullptr;
}

struct ResourceGroup {
    int group;
    int32_t missingError;
    OpenResourceFile open;
};

const ResourceGroup kResourceGroups[] = {
    {kScriptFileGroup, MME_SCRIPT_FILE_NOT_FOUND, OpenScript},
    {kPictureFileGroup, MME_PICTURE_RESOURCE_FILE_NOT_FOUND, OpenPictures},
    {kSoundFileGroup, MME_SOUND_RESOURCE_FILE_NOT_FOUND, OpenSounds},
    {kFilmFileGroup, MME_FILM_RESOURCE_FILE_NOT_FOUND, OpenFilms},
};

const FSDirectory* FolderHolding(const char* name)
{
    for (UUUntypedListNode* n = gSearchFolders.First(); n != gSearchFolders.End(); n = n->next) {
        FSDirectory* folder = UUList<FSDirectory*>::ItemOf(n);
        if (FSFileExists(*folder, name))
            return folder;
    }
    return nullptr;
}

bool OpenGroup(const ResourceGroup& group)
{
    char text[256];
    for (int i = 0; LoadGroupString(group.group, i, text); ++i) {
        char name[FS_NAME_SIZE];
        std::snprintf(name, sizeof name, "%s", text);
        const FSDirectory* folder = FolderHolding(name);
        if (!folder)
            return SetPendingError(group.missingError, FSDirectory(), name, 0);
        if (!group.open(*folder, name))
            return FailWithoutError();
    }
    return true;
}

bool BuildSearchFolders()
{
    FSProgramFolder(gProgramFolder);
    gSearchFolders.Append(&gProgramFolder);
    if (UseSecondResourceFolder())
        gSearchFolders.Append(&gSecondFolder);
    return true;
}

void StopManager(AFPulseTaskManager*& manager)
{
    if (!manager)
        return;
    if (manager->IsRunning())
        manager->Stop();
    delete manager;
    manager = nullptr;
}

void StartManager(AFPulseTaskManager*& manager)
{
    manager = new AFPulseTaskManager;
    manager->Start();
}

}  // namespace

UUList<FSDirectory*>& MMSearchFolders() { return gSearchFolders; }

bool UseSecondResourceFolder() { return false; }

bool EngineStartUp()
{
    // A second start-up without a shut-down would open everything twice.
    if (gFirstEnginePulseTaskManager || !gSearchFolders.IsEmpty())
        EngineShutDown();
    BindTabletLibrary();
    SelectMmxSpanRoutines();
    bool opened = BuildSearchFolders();
    for (const ResourceGroup& group : kResourceGroups) {
        if (opened)
            opened = OpenGroup(group);
    }
    if (!opened) {
        EngineShutDown();
        return FailWithoutError();
    }
    StartManager(gFirstEnginePulseTaskManager);
    StartManager(gSecondEnginePulseTaskManager);
    return true;
}

void EngineShutDown()
{
    StopManager(gSecondEnginePulseTaskManager);
    StopManager(gFirstEnginePulseTaskManager);
    DeleteAllFilmCollections();
    DeleteAllSoundCollections();
    DeleteAllPictureCollections();
    CloseAllScriptFiles();
    gSearchFolders.DeleteAll();
    UnbindTabletLibrary();
}
