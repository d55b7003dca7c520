#include "media/blit_request.h"

#include "framework/processor_features.h"
#include "media/row_blitters.h"
#include "media/surface.h"

namespace {

// source extent x 65536 / destination extent, as a signed 32-bit step.
int32_t StepFor(int32_t sourceExtent, int32_t destinationExtent)
{
    return static_cast<int32_t>(static_cast<int64_t>(sourceExtent) * 65536 / destinationExtent);
}

// Start of a scaled axis: the half-step offset samples at pixel centres.
int32_t ScaledStart(int32_t step, int32_t skipped, int32_t sourceOrigin)
{
    return step * skipped + static_cast<int32_t>(static_cast<uint32_t>(sourceOrigin) << 16) +
           step / 2;
}

int32_t Fixed(int32_t whole)
{
    return static_cast<int32_t>(static_cast<uint32_t>(whole) << 16);
}

}  // namespace

MMBlitRequest::~MMBlitRequest() = default;

bool MMBlitRequest::SelectSpanFunction(int32_t destinationKind)
{
    rowRoutine = nullptr;
    if (source == nullptr) {
        return false;
    }
    // Colour destinations read the colours of an 8-bit source from the table.
    if (source->pixelKind == kPixelIndexed && destinationKind != kPixelIndexed &&
        colorTable == nullptr) {
        return false;
    }
    rowRoutine = MMFindRowRoutine(source->pixelKind, source->transparencyKind, destinationKind,
                                  indexMap != nullptr, MMStepKindOf(xStep));
    return rowRoutine != nullptr;
}

void MMBlitRequest::RunRows()
{
    bool mmx = MMXSpanRoutinesInUse();
    if (mmx) {
        EnterMMX();
    }
    source->BlitRows(*this, rowRoutine);
    if (mmx) {
        LeaveMMX();
    }
}

void MMBitmap::BlitRows(MMBlitRequest& request, MMRowRoutine routine) const
{
    const MMBitmap& target = request.destination;
    int32_t column = (request.sourceX >> 16) - box.left;
    uint8_t* d = target.pixels;
    int32_t rows = target.Height();
    if (request.yStep == 0x10000) {
        const uint8_t* s = pixels + column * bytesPerPixel +
                           ((request.sourceY >> 16) - box.top) * pitch;
        for (; rows > 0; --rows, s += pitch, d += target.pitch) {
            routine(s, d, request);
        }
        return;
    }
    int32_t y = request.sourceY;
    for (; rows > 0; --rows, y += request.yStep, d += target.pitch) {
        const uint8_t* s = pixels + column * bytesPerPixel + ((y >> 16) - box.top) * pitch;
        routine(s, d, request);
    }
}

bool MMBitmapBlitRequest::PrepareToBox(const MMImageDescription& image, const MMBitmap& target,
                                       const Box& destinationBox)
{
    ready = false;
    Box clipped = destinationBox.Intersected(target.box);
    if (clipped.IsEmpty() || destinationBox.IsEmpty()) {
        return false;
    }
    source = &image;
    target.SubBitmap(destination, clipped);
    if (image.Height() == destinationBox.Height()) {
        yStep = 0x10000;
        sourceY = Fixed(clipped.top - destinationBox.top + image.box.top);
    } else {
        yStep = StepFor(image.Height(), destinationBox.Height());
        sourceY = ScaledStart(yStep, clipped.top - destinationBox.top, image.box.top);
    }
    if (image.Width() == destinationBox.Width()) {
        xStep = 0x10000;
        sourceX = Fixed(clipped.left - destinationBox.left + image.box.left);
    } else {
        xStep = StepFor(image.Width(), destinationBox.Width());
        sourceX = ScaledStart(xStep, clipped.left - destinationBox.left, image.box.left);
    }
    width = static_cast<int16_t>(clipped.Width());
    ready = SelectSpanFunction(target.pixelKind);
    return ready;
}

bool MMBitmapBlitRequest::PrepareBoxToBox(const MMImageDescription& image, const MMBitmap& target,
                                          const Box& sourceBox, const Box& destinationBox)
{
    ready = false;
    Box clipped = destinationBox.Intersected(target.box);
    if (clipped.IsEmpty() || destinationBox.IsEmpty()) {
        return false;
    }
    source = &image;
    target.SubBitmap(destination, clipped);
    xStep = StepFor(sourceBox.right - sourceBox.left, destinationBox.Width());
    yStep = StepFor(sourceBox.bottom - sourceBox.top, destinationBox.Height());
    sourceX = ScaledStart(xStep, clipped.left - destinationBox.left, sourceBox.left);
    sourceY = ScaledStart(yStep, clipped.top - destinationBox.top, sourceBox.top);
    width = static_cast<int16_t>(clipped.Width());
    ready = SelectSpanFunction(target.pixelKind);
    return ready;
}

bool MMBitmapBlitRequest::Perform()
{
    if (!ready) {
        return false;
    }
    RunRows();
    return true;
}

bool MMDrawingSurfaceBlitRequest::PrepareToBox(const MMImageDescription& image, MMSurface* target,
                                               const Box& box)
{
    return PrepareBoxToBox(image, target, image.box, box);
}

bool MMDrawingSurfaceBlitRequest::PrepareBoxToBox(const MMImageDescription& image,
                                                  MMSurface* target, const Box& sourceBox,
                                                  const Box& box)
{
    ready = false;
    surface = target;
    destinationBox = box;
    clippedBox = box.Intersected(target->GetBounds());
    if (clippedBox.IsEmpty() || box.IsEmpty()) {
        return false;
    }
    source = &image;
    xStep = StepFor(sourceBox.right - sourceBox.left, box.Width());
    yStep = StepFor(sourceBox.bottom - sourceBox.top, box.Height());
    sourceX = Fixed(sourceBox.left);
    sourceY = Fixed(sourceBox.top);
    ready = SelectSpanFunction(target->GetPixelKind());
    return ready;
}

bool MMDrawingSurfaceBlitRequest::Perform()
{
    if (!ready) {
        return false;
    }
    Box final = clippedBox.Intersected(surface->GetBounds());
    if (final.IsEmpty()) {
        return false;
    }
    surface->Lock();
    MMBitmap store;
    if (!surface->GetClippedBitmap(store)) {
        surface->Unlock();
        return false;
    }
    final.Intersect(store.box);
    if (final.IsEmpty()) {
        surface->Unlock();
        return false;
    }
    store.SubBitmap(destination, final);
    int32_t dy = final.top - destinationBox.top;
    int32_t dx = final.left - destinationBox.left;
    sourceY += yStep == 0x10000 ? Fixed(dy) + 0x8000 : yStep * dy + yStep / 2;
    sourceX += xStep == 0x10000 ? Fixed(dx) + 0x8000 : xStep * dx + xStep / 2;
    width = static_cast<int16_t>(final.Width());
    RunRows();
    surface->Unlock();
    // The start now holds this clip's offset; drawing again needs a new
    // preparation.
    ready = false;
    return true;
}
