#pragma once
// The sketchbooks' texts and alerts: rows of record table 0, found by key.
// The alert shown last (its row and a short reason) is kept, so callers and
// tests can tell why an operation was refused.
#include <cstdint>

// The sketchbook folder (books, cache.img) and the trash folder (thrown-away
// books, trash.img) are two subfolders of the program folder.
constexpr int16_t kTextTrashFolder = 5;
constexpr int16_t kTextBooksFolder = 6;
constexpr int16_t kTextPageName = 7;
constexpr int16_t kTextBmpExtension = 9;
constexpr int16_t kTextJpegExtension = 10;
constexpr int16_t kTextBookFileName = 26;
constexpr int16_t kTextBookName = 27;
constexpr int16_t kAlertWriteFailed = 33;
constexpr int16_t kAlertReadFailed = 34;
constexpr int16_t kAlertBookFull = 35;
constexpr int16_t kAlertNoMoreBooks = 36;
constexpr int16_t kAlertPictureRefused = 37;
constexpr int16_t kAlertNotOldBook = 42;
constexpr int16_t kAlertNoThumbnailBuffer = 43;

// The alert kinds of the application's alert box.
constexpr int32_t kAlertKindError = 0;
constexpr int32_t kAlertKindInformation = 128;

// The text of the row with this key ("" when there is none).
const char* GalleryText(int16_t key);
// Replaces the source of texts (null: record table 0); returns the old one.
typedef const char* (*GalleryTextSource)(int16_t key);
GalleryTextSource SetGalleryTextSource(GalleryTextSource source);

// Shows the alert of a row; reason says what went wrong, for the record.
void GalleryAlert(int16_t key, const char* reason = "", int32_t kind = kAlertKindError);
typedef void (*GalleryAlertShow)(int32_t kind, int16_t key, const char* text);
// Replaces the way alerts are shown (null: a message box); returns the old one.
GalleryAlertShow SetGalleryAlertShow(GalleryAlertShow show);

int16_t LastGalleryAlert();       // 0 when none since the last clear
const char* LastGalleryReason();
void ClearGalleryAlert();
