#include "gallery/slideshow_export.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "framework/files.h"
#include "framework/folders.h"
#include "gallery/bmp_writer.h"
#include "gallery/gallery_messages.h"
#include "gallery/page_picture.h"
#include "gallery/slideshow_sounds.h"
#include "media/offscreen_surface.h"
#include "shell/alert_box.h"
#include "shell/app.h"
#include "shell/stage_window.h"

namespace {

constexpr DWORD kSaveDialogFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
static_assert(kSaveDialogFlags == 0x806, "the save dialog's flags");

// The temporary file keeps the name's extension: the movie library picks
// its writer by it.
bool TemporaryName(const char* name, char* temporary)
{
    return std::snprintf(temporary, FS_NAME_SIZE, "~%s", name) < FS_NAME_SIZE;
}

bool ReplaceFile(const FSDirectory& folder, const char* temporary, const char* name)
{
    char from[FS_PATH_SIZE];
    char to[FS_PATH_SIZE];
    return FSJoinPath(from, folder, temporary) && FSJoinPath(to, folder, name) &&
           MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

struct SurfaceDeleter {
    void operator()(WinMMOffscreenSurface* surface) const
    {
        if (surface)
            surface->Dispose();
    }
};

bool ExtendName(char* name, const char* extension)
{
    if (char* dot = std::strchr(name, '.'))
        *dot = '\0';
    size_t length = std::strlen(name);
    if (length + std::strlen(extension) >= size_t(kExportNameSize))
        return false;
    std::strcat(name, extension);
    return true;
}

}  // namespace

bool ExportDialogs::AskFileName(char* folder, char* name, int32_t& kind)
{
    char filter[256];
    int n = std::snprintf(filter, sizeof filter, "%s%c*%s%c%s%c*%s%c",
                          GalleryText(kTextExportTitle), 0, GalleryText(kTextBmpExtension), 0,
                          GalleryText(kTextMovieExtension), 0,
                          GalleryText(kTextMovieExtension), 0);
    if (n < 0 || n + 1 >= int(sizeof filter))
        return false;
    filter[n] = '\0';
    char initialFolder[FS_PATH_SIZE];
    lstrcpynA(initialFolder, folder, sizeof initialFolder);
    size_t length = std::strlen(initialFolder);
    if (length > 0 && initialFolder[length - 1] == '\\')
        initialFolder[length - 1] = '\0';
    char path[256];
    lstrcpynA(path, name, sizeof path);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = gApp && gApp->StageWindow() ? gApp->StageWindow()->window : nullptr;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrInitialDir = initialFolder;
    dialog.lpstrTitle = GalleryText(kTextExportTitle);
    dialog.Flags = kSaveDialogFlags;
    if (!GetSaveFileNameA(&dialog))
        return false;
    const char* slash = std::strrchr(path, '\\');
    if (slash == nullptr)
        return false;
    lstrcpynA(folder, path, int(std::min<size_t>(size_t(slash - path) + 2, FS_PATH_SIZE)));
    lstrcpynA(name, slash + 1, kExportNameSize);
    kind = int32_t(dialog.nFilterIndex);
    return true;
}

bool ExportDialogs::AskReplace(const char* text)
{
    return AlertBox(text, kAlertYesNo).Show() == kAnswerOk;
}

SlideshowExport::SlideshowExport(ExportDialogs& dialogs, char* folder)
    : dialogs(dialogs), folder(folder)
{
}

bool SlideshowExport::OnExport(const ExportPage& page)
{
    char name[kExportNameSize];
    lstrcpynA(name, GalleryText(kTextExportName), sizeof name);
    for (;;) {
        int32_t kind = 0;
        if (!dialogs.AskFileName(folder, name, kind))
            return false;
        FSDirectory target;
        target.Set(folder);
        bool named = ExtendName(name, GalleryText(kind == kExportKindBmp ? kTextBmpExtension
                                                                          : kTextMovieExtension));
        if (named && kind == kExportKindMovie && FSFileExists(target, name) &&
            !dialogs.AskReplace(GalleryText(kAlertReplaceMovie)))
            continue;
        bool written = false;
        if (!named) {
            written = false;
        } else if (kind == kExportKindBmp) {
            written = ExportBmp(page, name);
        } else {
            MovieResult result = ExportMovie(page, name);
            if (result == MovieResult::kCancelled)
                return false;
            written = result == MovieResult::kWritten;
        }
        if (!written)
            GalleryAlert(kAlertExportFailed, "export failed", kAlertKindInformation);
        return written;
    }
}

bool SlideshowExport::ExportBmp(const ExportPage& page, const char* name)
{
    FSDirectory target;
    target.Set(folder);
    char temporary[FS_NAME_SIZE];
    if (!TemporaryName(name, temporary) || page.book == nullptr || page.plane == nullptr)
        return false;
    Box canvas = {0, 0, page.plane->width, page.plane->height};
    std::unique_ptr<WinMMOffscreenSurface, SurfaceDeleter> surface(
        MMSurface::CreateBitmapDC(32, canvas, nullptr));
    if (!surface)
        return false;
    surface->FillBox(canvas, MakeMMColorFromRgb(0xFFFFFF));
    PagePicture picture(*page.plane);
    if (!picture.Load(*page.book, page.page))
        return false;
    picture.Render(surface.get(), 0, true);
    if (picture.IsModified() || picture.HasPlacedStamps())
        DrawExportMark(surface.get());
    FSFile file;
    bool written = file.Open(target, temporary, FS_OPEN_CREATE) &&
                   WriteBmpFile(*surface, file);
    written = file.Close() && written;
    if (!written)
        GalleryAlert(kAlertReadFailed, "picture not written");
    if (written && ReplaceFile(target, temporary, name))
        return true;
    FSDeleteFile(target, temporary);
    return false;
}

MovieResult SlideshowExport::ExportMovie(const ExportPage& page, const char* name)
{
    FSDirectory target;
    target.Set(folder);
    char temporary[FS_NAME_SIZE];
    if (!TemporaryName(name, temporary) || page.book == nullptr || page.plane == nullptr)
        return MovieResult::kFailed;
    MovieSound sound;
    if (!MovieSoundOf(page.music, page.delay, sound))
        return MovieResult::kFailed;
    PagePicture picture(*page.plane);
    if (!picture.Load(*page.book, page.page))
        return MovieResult::kFailed;
    MovieResult result = WriteMovie(picture, sound, target, temporary, dialogs.Options());
    if (result == MovieResult::kWritten && ReplaceFile(target, temporary, name))
        return result;
    FSDeleteFile(target, temporary);
    return result == MovieResult::kWritten ? MovieResult::kFailed : result;
}

bool MovieSoundOf(int16_t music, int16_t delay, MovieSound& sound)
{
    int32_t id = SlideshowMusicSound(music);
    if (id != kNoSound)
        return LoadMovieSound(id, sound);
    sound = MovieSound();
    sound.durationMs = DelaySeconds(delay) * 1000;
    return true;
}
