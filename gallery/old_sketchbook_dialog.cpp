#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "gallery/old_sketchbook.h"
#include "gallery/picture_import.h"

namespace {

constexpr DWORD kOldBookDialogFlags =
    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_LONGNAMES;
static_assert(kOldBookDialogFlags == 0x201804, "the old book dialog's flags");

}  // namespace

bool ChooseOldSketchbook(HWND owner, char* folder, char* name)
{
    static const char kFilter[] = "*.*\0*.*\0";
    char initial[FS_PATH_SIZE];
    lstrcpynA(initial, folder, sizeof initial);
    size_t length = std::strlen(initial);
    if (length > 3 && initial[length - 1] == '\\')
        initial[length - 1] = '\0';
    char path[256];
    lstrcpynA(path, name, sizeof path);
    OPENFILENAMEA record = {};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpstrFilter = kFilter;
    record.lpstrFile = path;
    record.nMaxFile = sizeof path;
    record.lpstrInitialDir = initial;
    record.lpstrTitle = "Ouvrir fichier carnet de dessin";
    record.Flags = kOldBookDialogFlags;
    PictureOpenDialog dialog = SetPictureOpenDialog(nullptr);
    SetPictureOpenDialog(dialog);
    if (!dialog(&record))
        return false;
    const char* slash = std::strrchr(path, '\\');
    if (slash == nullptr || std::strlen(slash + 1) >= size_t(FS_NAME_SIZE) ||
        size_t(slash - path) + 2 > size_t(FS_PATH_SIZE))
        return false;
    lstrcpynA(name, slash + 1, FS_NAME_SIZE);
    lstrcpynA(folder, path, int(slash - path) + 2);
    return true;
}
