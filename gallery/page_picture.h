#pragma once
// One page of a book taken out of the book for showing, printing or
// exporting: the picture goes into a canvas plane, the slate recording and
// the stamps are held here, and the whole page renders onto a surface at
// an animation step.
#include <cstdint>
#include <memory>

#include "gallery/canvas_page_content.h"
#include "gallery/magic_slate_part.h"
#include "stamps/stamps_block.h"

class KVXPageStamps;
class KVXPlaneComponent;
class KVXRecordedStamps;
class MagicSlateStore;
class MMSurface;
class SketchbookFile;

class PagePicture {
public:
    explicit PagePicture(KVXPlaneComponent& plane);
    ~PagePicture();
    PagePicture(const PagePicture&) = delete;
    PagePicture& operator=(const PagePicture&) = delete;

    // False with the book's read alert; the plane then holds what was read.
    bool Load(SketchbookFile& book, int32_t page);

    // The page at step (slate: step / 12 the frame, step % 12 within it);
    // plain draws the listed stamps in colour without their animation.
    void Render(MMSurface* surface, int32_t step, bool plain);

    bool HasStrokes() const;
    bool HasPlacedStamps() const;
    // A page the child changed carries the program's mark on export.
    bool IsModified() const { return modified; }
    MagicSlateStore& Slate() { return *slate; }
    KVXStampsBlock& Stamps() { return stamps; }
    KVXPlaneComponent& Plane() { return plane; }
    KVXPageStamps* Drawer();

private:
    KVXPlaneComponent& plane;
    std::unique_ptr<MagicSlateStore> slate;
    MagicSlatePart slatePart;
    KVXStampsBlock stamps;
    std::unique_ptr<KVXRecordedStamps> drawer;
    CanvasPageContent content;
    bool modified = false;
};

// Draws the export mark (record table 735) centred on the bottom edge of a
// surface; nothing when the table or its picture is missing.
void DrawExportMark(MMSurface* surface);
