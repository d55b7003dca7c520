#include "gallery/print_projects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "engine/record_table.h"
#include "framework/print_configuration.h"
#include "gallery/gallery_messages.h"
#include "gallery/page_picture.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/printable_surface.h"
#include "selection/slate_store.h"
#include "shell/alert_box.h"

namespace {

constexpr int32_t kLetterWidthLimit = 218;
constexpr int32_t kLetterHeightLimit = 282;
constexpr int16_t kLayoutProjectKey = 0;
constexpr int16_t kDesignKey = 1;
constexpr int16_t kSlotTableKey = 4;
constexpr int16_t kSlotKey = 1;
constexpr int32_t kTitleWeight = 400;

struct SurfaceDeleter {
    void operator()(WinMMOffscreenSurface* surface) const
    {
        if (surface)
            surface->Dispose();
    }
};

bool LoadTable(MMResourceId id, MMRecordTable& table)
{
    if (id == -1)
        return false;
    table.Load(id, 10, nullptr);
    return table.RowCount() > 0;
}

Box Shrunk(const Box& box, int32_t by)
{
    return {box.left + by, box.top + by, box.right - by, box.bottom - by};
}

}  // namespace

int16_t LayoutTableFor(const Pair& paper)
{
    return paper.x > kLetterWidthLimit || paper.y > kLetterHeightLimit ? kLargeLayoutTable
                                                                      : kLetterLayoutTable;
}

bool LoadProjectLayout(int16_t layoutTable, int16_t kind, ProjectLayout& layout)
{
    MMRecordTable layouts;
    MMRecordTable project;
    MMRecordTable slots;
    if (!LoadTable(layoutTable, layouts))
        return false;
    int32_t row = layouts.FindRowByKey(kLayoutProjectKey, 0, kind);
    if (row < 0 || !LoadTable(layouts.ItemIdAt(row, 2), project))
        return false;
    int32_t design = project.FindRowByKey(kDesignKey);
    int32_t slotTable = project.FindRowByKey(kSlotTableKey);
    if (design < 0 || slotTable < 0 || !LoadTable(project.ItemIdAt(slotTable, 2), slots))
        return false;
    layout.design = project.RectAt(design, 2);
    layout.slotSize = slots.PairAt(0, 2);
    layout.slots.clear();
    for (int32_t r = slots.FindRowByKey(kSlotKey, 1); r >= 0; r = slots.FindRowByKey(kSlotKey, r + 1))
        layout.slots.push_back(slots.PairAt(r, 2));
    return layout.design.Width() > 0 && layout.design.Height() > 0 && !layout.slots.empty();
}

bool PlaceProjectSlots(const ProjectLayout& layout, const PrinterCaps& caps, int16_t kind,
                       const Box& pictureBox, std::vector<PlacedSlot>& placed)
{
    placed.clear();
    if (layout.design.Width() <= 0 || layout.design.Height() <= 0 || layout.slots.empty() ||
        pictureBox.Width() <= 0 || pictureBox.Height() <= 0)
        return false;
    Box page = caps.PhysicalPage();
    Box printable = caps.Printable();
    double sx = double(page.Width()) / layout.design.Width();
    double sy = double(page.Height()) / layout.design.Height();
    int32_t w = layout.slotSize.x;
    int32_t h = layout.slotSize.y;
    Box all = {layout.slots[0].x, layout.slots[0].y, layout.slots[0].x + w, layout.slots[0].y + h};
    for (const Pair& slot : layout.slots) {
        all.left = std::min(all.left, slot.x);
        all.top = std::min(all.top, slot.y);
        all.right = std::max(all.right, slot.x + w);
        all.bottom = std::max(all.bottom, slot.y + h);
    }
    Box mapped = {int32_t(all.left * sx) + page.left, int32_t(all.top * sy) + page.top,
                  int32_t(all.right * sx) + page.left, int32_t(all.bottom * sy) + page.top};
    int32_t dx = std::max({printable.left - mapped.left, mapped.right - printable.right, 0});
    int32_t dy = std::max({printable.top - mapped.top, mapped.bottom - printable.bottom, 0});
    for (const Pair& slot : layout.slots) {
        PlacedSlot out;
        out.slot = {int32_t(slot.x * sx) + dx + page.left, int32_t(slot.y * sy) + dy + page.top,
                    int32_t((slot.x + w) * sx) + page.left - dx,
                    int32_t((slot.y + h) * sy) + page.top - dy};
        if (dx == 0 && dy == 0 && kind == kProjectSticker)
            out.slot = Shrunk(out.slot, caps.pixelsX / 8);
        else if (dx == 0 && dy == 0 && kind == kProjectPostcard)
            out.slot = Shrunk(out.slot, caps.pixelsY / 4);
        if (out.slot.Width() <= 0 || out.slot.Height() <= 0)
            return false;
        out.picture = AFPrintSession::FitBox(pictureBox, out.slot);
        if (kind == kProjectFlipbook) {
            int32_t shift = out.slot.right - out.picture.right;
            out.picture.left += shift;
            out.picture.right += shift;
        }
        placed.push_back(out);
    }
    return true;
}

KVXPrintableCutLines::KVXPrintableCutLines(const Box& box, const MMColor& color)
    : AFPrintable(box), color(color)
{
}

bool KVXPrintableCutLines::Print(AFPrintSession& session)
{
    HDC dc = session.DeviceContext();
    Pair inch = {GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
    int32_t cx = inch.x / 8;
    int32_t cy = inch.y / 8;
    COLORREF colour = color.index == -1
                          ? MMColorToColorRef(color)
                          : PALETTEINDEX(WORD(color.index));
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    if (pen == nullptr)
        return false;
    SelectObject(dc, pen);
    const POINT corners[4][3] = {
        {{box.left, box.top + cy}, {box.left, box.top}, {box.left + cx, box.top}},
        {{box.right - cx, box.top}, {box.right, box.top}, {box.right, box.top + cy}},
        {{box.right, box.bottom - cy}, {box.right, box.bottom}, {box.right - cx, box.bottom}},
        {{box.left + cx, box.bottom}, {box.left, box.bottom}, {box.left, box.bottom - cy}},
    };
    for (const auto& corner : corners)
        Polyline(dc, corner, 3);
    SelectObject(dc, GetStockObject(NULL_PEN));
    DeleteObject(pen);
    return true;
}

KVXPrintSession::KVXPrintSession(AFPrintConfiguration& configuration,
                                 WinMMOffscreenSurface* picture, KVXPlaneComponent* plane,
                                 KVXPageStamps* stamps, KVXSlateRecording* slate, bool animated,
                                 int16_t kind, const char* title)
    : AFPrintSession(configuration, MMColorTable()),
      picture(picture),
      plane(plane),
      stamps(stamps),
      slate(slate),
      animated(animated),
      kind(kind),
      frameCounter(1)
{
    lstrcpynA(this->title, title != nullptr ? title : "", sizeof this->title);
}

int KVXPrintSession::Run(const char* statusText)
{
    int32_t pages = kind == kProjectFlipbook && animated ? kFlipbookPages : 1;
    frameCounter = 1;
    for (;;) {
        if (!ShowPrintDialog())
            return kDialogCancelled;
        Pair paper = PaperMillimetres();
        if (paper.y >= paper.x)
            break;
        RefuseLandscape();
    }
    int result = kPrinted;
    for (int32_t p = 0; p < pages && result == kPrinted; ++p) {
        result = PrintDocument(statusText);
        ++documents;
    }
    return result;
}

bool KVXPrintSession::ShowPrintDialog()
{
    configuration->SetLandscape(false);
    return AFPrintSession::ShowPrintDialog();
}

void KVXPrintSession::RefuseLandscape()
{
    GalleryAlert(kAlertLandscape, "landscape paper", kAlertOkCancel);
}

PrinterCaps KVXPrintSession::Caps() const
{
    HDC dc = printerDC;
    return {GetDeviceCaps(dc, PHYSICALOFFSETX), GetDeviceCaps(dc, PHYSICALOFFSETY),
            GetDeviceCaps(dc, PHYSICALWIDTH),   GetDeviceCaps(dc, PHYSICALHEIGHT),
            GetDeviceCaps(dc, HORZRES),         GetDeviceCaps(dc, VERTRES),
            GetDeviceCaps(dc, LOGPIXELSX),      GetDeviceCaps(dc, LOGPIXELSY)};
}

bool KVXPrintSession::PrintPage(int)
{
    if (picture == nullptr || plane == nullptr)
        return false;
    ProjectLayout layout;
    std::vector<PlacedSlot> placed;
    PrinterCaps caps = Caps();
    layoutTable = LayoutTableFor(PaperMillimetres());
    if (!LoadProjectLayout(layoutTable, kind, layout) ||
        !PlaceProjectSlots(layout, caps, kind, picture->GetBounds(), placed))
        return false;
    int32_t titleSize = MulDiv(std::atoi(GalleryText(kTextTitleSize)), caps.pixelsY, 72);
    bool printed = true;
    for (const PlacedSlot& slot : placed)
        printed = PrintSlot(slot, caps, titleSize) && printed;
    return printed;
}

bool KVXPrintSession::PrintSlot(const PlacedSlot& slot, const PrinterCaps& caps,
                                int32_t titleSize)
{
    Box bounds = picture->GetBounds();
    picture->FillBox(bounds, MakeMMColorFromRgb(0xFFFFFF));
    plane->RenderWithOverlays(picture, stamps, slate, frameCounter, kind != kProjectFlipbook);
    if (kind == kProjectFlipbook)
        ++frameCounter;
    std::unique_ptr<WinMMOffscreenSurface, SurfaceDeleter> copy(
        MMSurface::CreateBitmapDC(24, bounds, nullptr));
    if (!copy)
        return false;
    BitBlt(copy->GetDC(), 0, 0, bounds.Width(), bounds.Height(), picture->GetDC(), 0, 0, SRCCOPY);
    GdiFlush();
    bool printed = MMPrintableSurface(slot.picture, copy.get()).Print(*this);
    if (printed && title[0] != '\0')
        printed = PrintTitle(slot, caps, titleSize);
    MMColor black = MakeMMColorFromRgb(0);
    MMColor grey = MakeMMColorFromRgb(0x808080);
    if (kind == kProjectFlipbook) {
        if (animated) {
            char number[12];
            std::snprintf(number, sizeof number, "%d", frameCounter - 1);
            AFPrintableText text({slot.slot.left + caps.pixelsX / 8,
                                  slot.slot.top + caps.pixelsY / 8 + titleSize},
                                 number, GalleryText(kTextFontFace), titleSize, black, kTitleWeight);
            printed = text.Print(*this) && printed;
        }
        printed = KVXPrintableCutLines(slot.slot, grey).Print(*this) && printed;
    } else if (kind == kProjectPostcard) {
        Box around = {slot.slot.left - 2, slot.slot.top - 2, slot.slot.right + 2,
                      slot.slot.bottom + 2};
        printed = KVXPrintableCutLines(around, grey).Print(*this) && printed;
    }
    return printed;
}

bool KVXPrintSession::PrintTitle(const PlacedSlot& slot, const PrinterCaps& caps,
                                 int32_t titleSize)
{
    const char* face = GalleryText(kTextFontFace);
    HFONT font = CreateFontA(-titleSize, 0, 0, 0, kTitleWeight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                             0, face);
    SIZE extent = {0, titleSize};
    if (font != nullptr) {
        HGDIOBJ old = SelectObject(printerDC, font);
        GetTextExtentPoint32A(printerDC, title, int(std::strlen(title)), &extent);
        SelectObject(printerDC, old);
        DeleteObject(font);
    }
    // The text stands on its baseline: its top-left lies one size above it.
    Pair topLeft = kind == kProjectFlipbook
                       ? Pair{slot.slot.left + caps.pixelsX / 8, slot.slot.bottom - caps.pixelsY / 8}
                       : Pair{(slot.picture.left + slot.picture.right) / 2 - extent.cx / 2,
                              slot.picture.bottom + titleSize};
    AFPrintableText text({topLeft.x, topLeft.y + titleSize}, title, face, titleSize,
                         MakeMMColorFromRgb(0), kTitleWeight);
    return text.Print(*this);
}

int PrintPageProject(AFPrintConfiguration& configuration, SketchbookFile& book, int32_t page,
                     KVXPlaneComponent& plane, int16_t kind, const char* title,
                     const char* statusText, int32_t* documents)
{
    std::unique_ptr<WinMMOffscreenSurface, SurfaceDeleter> surface(
        MMSurface::CreateBitmapDC(32, {0, 0, plane.width, plane.height}, nullptr));
    PagePicture picture(plane);
    if (!surface || !picture.Load(book, page))
        return AFPrintSession::kJobFailed;
    KVXPrintSession session(configuration, surface.get(), &plane, picture.Drawer(),
                            &picture.Slate(), picture.HasStrokes() || picture.HasPlacedStamps(),
                            kind, title);
    int result = session.Run(statusText);
    if (documents != nullptr)
        *documents = session.DocumentsPrinted();
    return result;
}
