#include "shell_fixture.h"

#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/script_file.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"

std::vector<ShownBox> BoxScript::shown;
std::vector<int> BoxScript::answers;

int WINAPI BoxScript::Show(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    shown.push_back({owner, text ? text : "", caption ? caption : "", style});
    if (answers.empty())
        return IDOK;
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

bool OpenBuiltSounds()
{
    FSDirectory folder = BuiltDataFolder();
    return CreateSoundLoader("Hd.MMA", folder, false) && CreateSoundLoader("App.MMA", folder, false);
}

void CloseBuiltData()
{
    DeleteAllSoundCollections();
    CloseAllScriptFiles();
    DeleteAllPictureCollections();
}

const char* SettingsKeyPath() { return "Software\\Holvane\\Tavelo Vornique\\1.0"; }

void RemoveSettingsKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, SettingsKeyPath()); }
