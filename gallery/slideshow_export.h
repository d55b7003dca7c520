#pragma once
// The export of the current page: a BMP picture of it, or a movie of its
// animation for the length of its music (of its delay when it has none).
// A file is written under a temporary name and replaces the old one only
// once it is complete, so a failed or cancelled export keeps the old file.
#include <cstdint>

#include "gallery/movie_export.h"

class KVXPlaneComponent;
class SketchbookFile;

constexpr int32_t kExportKindBmp = 1;
constexpr int32_t kExportKindMovie = 2;
constexpr int32_t kExportNameSize = 64;

// Texts of record table 0 used by the export.
constexpr int16_t kTextExportName = 4;
constexpr int16_t kTextMovieExtension = 11;
constexpr int16_t kAlertExportFailed = 31;
constexpr int16_t kAlertReplaceMovie = 32;
constexpr int16_t kTextExportTitle = 38;

// The dialogs of the export; tests answer them themselves.
class ExportDialogs {
public:
    virtual ~ExportDialogs() = default;
    // The save dialog: folder (FS_PATH_SIZE) and name (kExportNameSize) in
    // and out, kind out; false when cancelled.
    virtual bool AskFileName(char* folder, char* name, int32_t& kind);
    // The Yes/No question whether to replace an existing movie.
    virtual bool AskReplace(const char* text);
    virtual MovieOptionsDialog& Options() { return options; }

private:
    MovieOptionsDialog options;
};

// What is exported: page `page` of `book`, read into `plane`.
struct ExportPage {
    SketchbookFile* book;
    int32_t page;
    KVXPlaneComponent* plane;
    int16_t music;  // the page's choices as the slideshow panel holds them
    int16_t delay;
};

class SlideshowExport {
public:
    // folder: the export folder, FS_PATH_SIZE characters, kept between exports.
    SlideshowExport(ExportDialogs& dialogs, char* folder);

    // One export attempt; false when nothing was written.
    bool OnExport(const ExportPage& page);
    bool ExportBmp(const ExportPage& page, const char* name);
    MovieResult ExportMovie(const ExportPage& page, const char* name);

private:
    ExportDialogs& dialogs;
    char* folder;
};

// The movie's sound track for a music choice: the music, or silence as long
// as the delay when there is none.
bool MovieSoundOf(int16_t music, int16_t delay, MovieSound& sound);
