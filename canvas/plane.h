#pragma once
// Pixel planes: views of width x height elements with a pitch counted in
// elements, and the owning "Top" planes that allocate them. Views never own
// their bits and are passed by value. Nothing here clips: callers clip to
// the plane first.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "canvas/component_pixel.h"
#include "framework/geometry.h"
#include "framework/heap.h"

class FSReader;
class FSWriter;
class KVXPageStamps;
class KVXSlateRecording;
class MMBitmap;
class MMPictureReference;
class MMSurface;
struct MMColor;
struct WorkSurface;

template <class T>
class KVXBitmap {
public:
    typedef T Element;

    KVXBitmap() = default;
    KVXBitmap(const Pair& size, int32_t pitch, T* bits)
        : width(size.x), height(size.y), pitch(pitch), bits(bits) {}
    KVXBitmap(const KVXBitmap&) = default;
    KVXBitmap& operator=(const KVXBitmap&) = default;
    virtual ~KVXBitmap() = default;

    T* PixelAt(int32_t x, int32_t y) const { return bits + (x + ptrdiff_t(y) * pitch); }
    T* Row(int32_t y) const { return bits + ptrdiff_t(y) * pitch; }
    Box Bounds() const { return {0, 0, width, height}; }
    Pair Size() const { return {width, height}; }

    // A view of box of parent (which must lie inside it), sharing its bits.
    void MakeSubView(const KVXBitmap& parent, const Box& box)
    {
        width = box.right - box.left;
        height = box.bottom - box.top;
        pitch = parent.pitch;
        bits = parent.PixelAt(box.left, box.top);
    }
    void CopyView(const KVXBitmap& other)
    {
        width = other.width;
        height = other.height;
        pitch = other.pitch;
        bits = other.bits;
    }
    // Every element of box (clipped to the plane) becomes value.
    void FillElements(const Box& box, const T& value)
    {
        Box part = box;
        part.Intersect(Bounds());
        for (int32_t y = part.top; y < part.bottom; ++y) {
            T* p = PixelAt(part.left, y);
            for (int32_t x = part.left; x < part.right; ++x)
                *p++ = value;
        }
    }
    void Fill(const T& value) { FillElements(Bounds(), value); }
    // Copies every element, row by row over this plane's size, into target
    // at the same coordinates.
    void CopyPixelsTo(const KVXBitmap& target) const
    {
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(target.Row(y), Row(y), size_t(width) * sizeof(T));
    }

    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    T* bits = nullptr;
};

// An owning plane: allocates width x height elements from the application's
// heap object, pitch = width. Only component planes start cleared.
template <class Base>
class KVXBitmapTop : public Base {
public:
    typedef typename Base::Element Element;

    explicit KVXBitmapTop(const Pair& size)
        : Base(size, size.x, Allocate(size)) {}
    ~KVXBitmapTop() override { delete[] this->bits; }
    KVXBitmapTop(const KVXBitmapTop&) = delete;
    KVXBitmapTop& operator=(const KVXBitmapTop&) = delete;

    static Element* Allocate(const Pair& size)
    {
        if (size.x <= 0 || size.y <= 0)
            return nullptr;
        return new (gDefaultHeap) Element[size_t(size.x) * size_t(size.y)];
    }
};

class KVXPlaneUChar : public KVXBitmap<uint8_t> {
public:
    KVXPlaneUChar() = default;
    KVXPlaneUChar(const Pair& size, int32_t pitch, uint8_t* bits)
        : KVXBitmap<uint8_t>(size, pitch, bits) {}

    // The plane as an 8-bit bitmap with the box {0, 0, width, height}.
    void Describe(MMBitmap& out) const;
    // Plane pixel (x, y) receives source pixel (x + offset.x, y + offset.y)
    // where the source has one; false when nothing was blitted.
    bool BlitFromBitmap(const MMBitmap& source, const Pair& offset);
    // The same from a picture; a picture that cannot be locked changes nothing.
    void LoadFromPicture(const MMPictureReference& picture, const Pair& offset);
};

class KVXPlaneUCharTop : public KVXBitmapTop<KVXPlaneUChar> {
public:
    explicit KVXPlaneUCharTop(const Pair& size) : KVXBitmapTop<KVXPlaneUChar>(size) {}
};

class KVXPlaneHeight : public KVXBitmap<uint16_t> {
public:
    KVXPlaneHeight() = default;
    KVXPlaneHeight(const Pair& size, int32_t pitch, uint16_t* bits)
        : KVXBitmap<uint16_t>(size, pitch, bits) {}
};

class KVXPlaneHeightTop : public KVXBitmapTop<KVXPlaneHeight> {
public:
    explicit KVXPlaneHeightTop(const Pair& size) : KVXBitmapTop<KVXPlaneHeight>(size) {}
};

typedef KVXBitmapTop<KVXBitmap<Density>> KVXPlaneDensityTop;

// Whether the painting screen's picture was modified: 0 unchanged, 1 just
// read from a sketchbook page, 2 changed once, 3 changed more than once.
struct ChangeState {
    int32_t value = 0;

    // A committed change. Returns the state of before.
    int32_t Advance()
    {
        int32_t old = value;
        value = old < 2 ? 2 : 3;
        return old;
    }
    // A single change undone is no change at all.
    void AfterUndo()
    {
        if (value == 2)
            value = 0;
    }
};

// A view of the canvas. All views of one canvas share its dirty box (what the
// display must redraw) and the flag that lets the next render empty it.
class KVXPlaneComponent : public KVXBitmap<KVXComponentPixel> {
public:
    KVXPlaneComponent() = default;
    KVXPlaneComponent(const Pair& size, int32_t pitch, KVXComponentPixel* bits, Box* dirtyBox,
                      uint8_t* dirtyFlag)
        : KVXBitmap<KVXComponentPixel>(size, pitch, bits),
          placement{0, 0, size.x, size.y},
          dirtyBox(dirtyBox),
          dirtyFlag(dirtyFlag) {}

    uint32_t ColorAt(int32_t x, int32_t y) const { return PixelAt(x, y)->ColorWord(); }

    // Colour with height shading into a 32-bit bitmap, unzoomed, as the plain
    // draw method shows the plane.
    bool RenderPlain(const MMBitmap& bitmap);

    // Pictures (8-bit with a colour table, or 32-bit; byte 3 a transparency,
    // colours premultiplied) put with their top-left at offset. Pasted paint
    // sits on the highest paint it covers, loaded paint on the lowest.
    void PastePicture(const MMPictureReference& picture, const Pair& offset);
    void LoadFromPicture(const MMPictureReference& picture, const Pair& offset);
    // The page format: width x height colour words (blue low, type high),
    // then width x height heights, rows top to bottom, no header. The shadows
    // are not stored; reading zeroes them. A failed read leaves blank pixels
    // where nothing was read.
    bool WritePixels(FSWriter& writer) const;
    bool ReadPixels(FSReader& reader);
    // The whole page onto a surface of the canvas's size: the picture, the
    // background and foreground stamps, the slate at step and the placed
    // stamps. stamps and slate may be null.
    void RenderWithOverlays(MMSurface* surface, KVXPageStamps* stamps, KVXSlateRecording* slate,
                            int32_t step, bool stampFlag);
    // The page shrunk into target (white when blank); always true.
    bool RenderThumbnail(const MMBitmap& target, KVXPageStamps* stamps, KVXSlateRecording* slate,
                         bool blank);

    // Shapes in canvas coordinates, clipped to the plane. A written pixel
    // takes the colour, type 0 and its height plus the step; locked pixels
    // are left. Width 0 fills; above 0 draws a ring of that width.
    void FillBox(const Box& box, const MMColor& color, int16_t heightStep);
    void FillBoxBorder(const Box& box, const MMColor& color, int32_t width, int16_t heightStep);
    void FillTriangle(const Box& box, const MMColor& color, int32_t width, int16_t heightStep,
                      WorkSurface* work);
    void FillTriangleBorder(const Box& box, const MMColor& color, int32_t width,
                            int16_t heightStep, WorkSurface* work);
    void FillEllipse(const Box& box, const MMColor& color, int32_t width, int16_t heightStep,
                     WorkSurface* work);
    // Raised shapes: a lens of amount 1 to 255 that magnifies the paint under
    // the shape (colours) and raises a dome (heights). Locked pixels count.
    void RefractBoxColors(const Box& box, int32_t amount, WorkSurface* work);
    void RefractEllipseColors(const Box& box, int32_t amount, WorkSurface* work);
    void RefractTriangleColors(const Box& box, int32_t amount, WorkSurface* work);
    void RaiseBoxHeights(const Box& box, int32_t amount, WorkSurface* work);
    void RaiseEllipseHeights(const Box& box, int32_t amount, WorkSurface* work);
    void RaiseTriangleHeights(const Box& box, int32_t amount, WorkSurface* work);

    // A 32-bit picture composited into the colours only.
    void StampPicture(const MMPictureReference& picture, const Pair& offset);
    // Colours of a 32-bit bitmap over the plane's: no pixel is locked here,
    // heights stay, and the caller adds the changed box to the dirty box.
    void CompositeBitmapAt(const MMBitmap& bitmap, const Pair& offset);

    // A view of box of parent sharing its bits, dirty box and flag; the
    // placement says where it lies in the whole canvas.
    void MakeSubView(const KVXPlaneComponent& parent, const Box& box)
    {
        KVXBitmap<KVXComponentPixel>::MakeSubView(parent, box);
        placement = box;
        placement.Offset({parent.placement.left, parent.placement.top});
        dirtyBox = parent.dirtyBox;
        dirtyFlag = parent.dirtyFlag;
        changeState.value = 0;
    }

    // The dirty box takes box when it is empty, else grows to cover it; the
    // next render must not empty it then.
    void AddDirtyRect(const Box& box)
    {
        if (dirtyBox->IsEmpty())
            *dirtyBox = box;
        else
            dirtyBox->Union(box);
        *dirtyFlag = 0;
    }
    void ResetDirtyBoxIfFlagged()
    {
        if (*dirtyFlag != 0)
            *dirtyBox = Box{0, 0, 0, 0};
    }
    const Box& DirtyBox() const { return *dirtyBox; }
    void SetDirtyBox(const Box& box) { *dirtyBox = box; }
    uint8_t DirtyFlag() const { return *dirtyFlag; }
    void SetDirtyFlag(uint8_t value) { *dirtyFlag = value; }
    // A new picture: everything must be redrawn.
    void MarkAllDirty()
    {
        *dirtyBox = Bounds();
        *dirtyFlag = 0;
    }

    Box placement = {0, 0, 0, 0};
    Box* dirtyBox = nullptr;
    uint8_t* dirtyFlag = nullptr;
    ChangeState changeState;
};

// The canvas itself: owns its pixels (all zero at first), its dirty box
// (the whole plane at first) and the flag.
class KVXPlaneComponentTop : public KVXPlaneComponent {
public:
    explicit KVXPlaneComponentTop(const Pair& size);
    ~KVXPlaneComponentTop() override;
    KVXPlaneComponentTop(const KVXPlaneComponentTop&) = delete;
    KVXPlaneComponentTop& operator=(const KVXPlaneComponentTop&) = delete;

    void MarkChanged() { changeState.value = 1; }
    void MarkUnchanged() { changeState.value = 0; }
    // Exchanges the pixel blocks of two planes of the same size.
    void SwapPixels(KVXPlaneComponentTop& other);

private:
    Box ownDirtyBox;
    uint8_t ownDirtyFlag = 0;
};
