#pragma once
// The floating selection of the rope: the pixels lifted from inside an
// outline (or a picture taken whole), with a 32-bit surface whose fourth
// byte is the mask (0 inside the outline, 255 outside), moved, flipped,
// given effects and put down again. Stage coordinates throughout; the
// canvas plane's pixel (0, 0) lies at the canvas area's top-left.
#include <cstdint>
#include <memory>
#include <vector>

#include "canvas/plane.h"

class MMBitmap;
class MMSurface;
class UURandom;

constexpr int32_t kRopePoints = 512;
constexpr int32_t kRopeStepOver = 5;  // a point is kept farther than this from the last

// Adds a pointer position to a free rope: kept when it lies more than 5
// pixels from the last point and fewer than 511 are held (room stays for
// the closing point), clamped into bounds less one on the right and bottom.
bool AddRopePoint(std::vector<Pair>& points, const Pair& point, const Box& bounds);
// Repeats the first point, so the outline is closed.
void CloseRope(std::vector<Pair>& points);

// The scale handle's pitch for a drag d from the press, against the
// reference distance; a reference of 0 keeps the normal pitch.
int32_t ScaleHandleFrequency(int32_t d, int32_t reference);

class KVXRopeSelection {
public:
    explicit KVXRopeSelection(const Box& canvasArea);
    ~KVXRopeSelection();
    KVXRopeSelection(const KVXRopeSelection&) = delete;
    KVXRopeSelection& operator=(const KVXRopeSelection&) = delete;

    // Lifts what the outline encloses; false (no selection) for fewer than
    // 3 points, an outline on one row or column, or one off the canvas.
    bool Make(const Pair* points, int32_t count, KVXPlaneComponent& canvas, bool cut);
    // A picture (32-bit) as the selection, centred in the canvas area.
    bool TakePicture(const MMBitmap& picture);
    // Composites the selection where it lies; locked pixels stay.
    void Place(KVXPlaneComponent& canvas) const;
    void Drop();

    void MoveTo(const Pair& topLeft);
    // Stretches the outline over a new box; with rebuild the pixels are
    // resampled to its size (area-weighted). False when the new pixels
    // cannot be had: the selection keeps its old ones.
    bool Resize(const Box& next, bool rebuild);
    // While dragged the selection shows half through; the masks come back
    // exactly as they were.
    void MakeTranslucent();
    void MakeOpaque();
    void FlipX();
    void FlipY();
    void ApplyEffect(int32_t kind, int32_t strength, const uint8_t* dabMask, UURandom& random);

    bool IsActive() const { return surface != nullptr; }
    bool FromPicture() const { return fromPicture; }
    const Box& GetBox() const { return box; }
    const std::vector<Pair>& Outline() const { return outline; }
    bool ContainsPoint(const Pair& point) const;
    // Whether the box still meets the canvas area.
    bool MeetsCanvas() const;
    uint8_t MaskAt(int32_t x, int32_t y) const;  // selection coordinates
    const uint8_t* PixelAt(int32_t x, int32_t y) const { return SurfacePixel(x, y); }
    MMSurface* Surface() const { return surface; }
    KVXPlaneComponentTop* CutPlane() const { return cut.get(); }

private:
    bool MakeSurface(const Pair& size);
    void RenderMask(const std::vector<Pair>& relative);
    void RenderColours();
    void CutFromCanvas(KVXPlaneComponent& canvas);
    void KeepBase() { baseOutline = outline; baseBox = box; }
    uint8_t* SurfacePixel(int32_t x, int32_t y) const;

    Box area;
    Box box = {0, 0, 0, 0};
    std::vector<Pair> outline;
    // The outline as it was when the pixels were last made, and their box.
    std::vector<Pair> baseOutline;
    Box baseBox = {0, 0, 0, 0};
    std::unique_ptr<KVXPlaneComponentTop> cut;
    MMSurface* surface = nullptr;
    std::vector<uint8_t> savedMasks;
    bool fromPicture = false;
};
