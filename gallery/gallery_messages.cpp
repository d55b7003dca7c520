#include "gallery/gallery_messages.h"

#include <windows.h>

#include <cstdio>

#include "engine/record_table.h"

namespace {

constexpr int32_t kTextRowSize = 10;

const char* TableText(int16_t key)
{
    static MMRecordTable table;
    if (!table.IsLoaded())
        table.Load(0, kTextRowSize, nullptr);
    int32_t row = table.FindRowByKey(key);
    return row < 0 ? "" : table.StringAt(row, 2);
}

void ShowMessageBox(int32_t kind, int16_t, const char* text)
{
    MessageBoxA(GetActiveWindow(), text, "",
                kind == kAlertKindInformation ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
}

GalleryTextSource gTexts = &TableText;
GalleryAlertShow gShow = &ShowMessageBox;
int16_t gLastAlert = 0;
char gLastReason[128];

}  // namespace

const char* GalleryText(int16_t key)
{
    const char* text = gTexts(key);
    return text != nullptr ? text : "";
}

GalleryTextSource SetGalleryTextSource(GalleryTextSource source)
{
    GalleryTextSource old = gTexts;
    gTexts = source != nullptr ? source : &TableText;
    return old;
}

void GalleryAlert(int16_t key, const char* reason, int32_t kind)
{
    gLastAlert = key;
    std::snprintf(gLastReason, sizeof gLastReason, "%s", reason != nullptr ? reason : "");
    gShow(kind, key, GalleryText(key));
}

GalleryAlertShow SetGalleryAlertShow(GalleryAlertShow show)
{
    GalleryAlertShow old = gShow;
    gShow = show != nullptr ? show : &ShowMessageBox;
    return old;
}

int16_t LastGalleryAlert()
{
    return gLastAlert;
}

const char* LastGalleryReason()
{
    return gLastReason;
}

void ClearGalleryAlert()
{
    gLastAlert = 0;
    gLastReason[0] = '\0';
}
