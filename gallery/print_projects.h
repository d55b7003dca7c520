#pragma once
// The print projects of the current picture: stickers, postcards, a
// greeting card, a full page and a flipbook. Each page is laid out from the
// record tables of its paper size: the design rectangle maps onto the
// physical page, every slot gets the picture fitted in it, and an optional
// title, frame numbers and cut marks go with it.
#include <cstdint>
#include <vector>

#include "framework/print_session.h"
#include "framework/printable.h"
#include "media/color.h"

class AFPrintConfiguration;
class SketchbookFile;
class KVXPageStamps;
class KVXPlaneComponent;
class KVXSlateRecording;
class WinMMOffscreenSurface;

enum PrintProjectKind : int16_t {
    kProjectSticker = 0,
    kProjectPostcard = 1,
    kProjectGreetingCard = 2,
    kProjectFullPage = 3,
    kProjectFlipbook = 4,
};

constexpr int16_t kLetterLayoutTable = 1295;
constexpr int16_t kLargeLayoutTable = 1296;
constexpr int16_t kFlipbookPages = 5;

// Texts of record table 0.
constexpr int16_t kTextPrintTitle = 14;
constexpr int16_t kTextPrintStatus = 15;
constexpr int16_t kAlertNoPrinter = 44;
constexpr int16_t kAlertLandscape = 45;
constexpr int16_t kTextFontFace = 87;
constexpr int16_t kTextTitleSize = 93;

// What the layout needs of the printer (GetDeviceCaps answers).
struct PrinterCaps {
    int32_t offsetX, offsetY;           // PHYSICALOFFSETX, PHYSICALOFFSETY
    int32_t physicalWidth, physicalHeight;
    int32_t horizontalRes, verticalRes;  // HORZRES, VERTRES
    int32_t pixelsX, pixelsY;            // LOGPIXELSX, LOGPIXELSY

    Box PhysicalPage() const
    {
        return {-offsetX, -offsetY, physicalWidth - offsetX, physicalHeight - offsetY};
    }
    Box Printable() const { return {0, 0, horizontalRes, verticalRes}; }
};

// One project's page in design units.
struct ProjectLayout {
    Box design = {0, 0, 0, 0};
    Pair slotSize = {0, 0};
    std::vector<Pair> slots;
};

struct PlacedSlot {
    Box slot;     // S, printer pixels
    Box picture;  // B
};

// 1295 up to 218 x 282 mm, else 1296.
int16_t LayoutTableFor(const Pair& paperMillimetres);
// False when a table is missing, the design box has no area or there is
// no slot.
bool LoadProjectLayout(int16_t layoutTable, int16_t kind, ProjectLayout& layout);
// The slots of a page: an overflowing layout shrinks every slot about its
// centre; stickers and postcards otherwise keep a margin inside theirs.
bool PlaceProjectSlots(const ProjectLayout& layout, const PrinterCaps& caps, int16_t kind,
                       const Box& pictureBox, std::vector<PlacedSlot>& placed);

// Cut marks at the corners of a box: two strokes of an eighth of an inch
// along its edges at each corner.
class KVXPrintableCutLines : public AFPrintable {
public:
    KVXPrintableCutLines(const Box& box, const MMColor& color);
    bool Print(AFPrintSession& session) override;

    MMColor color;
};

class KVXPrintSession : public AFPrintSession {
public:
    // The picture surface (32-bit, the canvas's size) is not owned; stamps
    // and slate may be null. The title is copied (256 bytes; "" none).
    KVXPrintSession(AFPrintConfiguration& configuration, WinMMOffscreenSurface* picture,
                    KVXPlaneComponent* plane, KVXPageStamps* stamps, KVXSlateRecording* slate,
                    bool animated, int16_t kind, const char* title);

    // 1 when the print dialog is refused, else the last document's result.
    int Run(const char* statusText);
    bool ShowPrintDialog() override;
    bool PrintPage(int page) override;

    // The device's answers; tests give their own.
    virtual PrinterCaps Caps() const;
    virtual Pair PaperMillimetres() const { return PageSizeMillimetres(); }
    // The landscape refusal (an OK/Cancel alert).
    virtual void RefuseLandscape();

    int16_t FrameCounter() const { return frameCounter; }
    // The layout table of the last page laid out (0 before any).
    int16_t LayoutTable() const { return layoutTable; }
    int32_t DocumentsPrinted() const { return documents; }

private:
    bool PrintSlot(const PlacedSlot& slot, const PrinterCaps& caps, int32_t titleSize);
    bool PrintTitle(const PlacedSlot& slot, const PrinterCaps& caps, int32_t titleSize);

    WinMMOffscreenSurface* picture;
    KVXPlaneComponent* plane;
    KVXPageStamps* stamps;
    KVXSlateRecording* slate;
    bool animated;
    int16_t kind;
    char title[256];
    int16_t frameCounter;
    int32_t documents = 0;
    int16_t layoutTable = 0;
};

// Prints page `page` of `book` as project `kind` through the print dialog:
// the page is read into `plane` with its slate and stamps. The session's
// result, or 3 when nothing could be prepared; `documents` receives the
// number of print jobs.
int PrintPageProject(AFPrintConfiguration& configuration, SketchbookFile& book, int32_t page,
                     KVXPlaneComponent& plane, int16_t kind, const char* title,
                     const char* statusText, int32_t* documents = nullptr);
