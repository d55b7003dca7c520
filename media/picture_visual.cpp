#include "media/picture_visual.h"

#include "media/blit_request.h"

namespace {

int32_t gDefaultHitTransparency = 0;

}  // namespace

void MMPictureBasedVisual::SetDefaultHitTransparency(int32_t value)
{
    gDefaultHitTransparency = value;
}

int32_t MMPictureBasedVisual::DefaultHitTransparency()
{
    return gDefaultHitTransparency;
}

MMPictureBasedVisual::MMPictureBasedVisual() : hitTransparency(gDefaultHitTransparency) {}

MMPictureBasedVisual::MMPictureBasedVisual(const MMPictureReference& shown, bool horizontally,
                                           bool vertically)
    : picture(shown), mirrorHorizontally(horizontally ? 1 : 0),
      mirrorVertically(vertically ? 1 : 0), hitTransparency(gDefaultHitTransparency)
{
}

void MMPictureBasedVisual::SetPicture(const MMPictureReference& reference)
{
    if (MMSamePicture(reference, picture)) {
        return;
    }
    Invalidate();
    picture = reference;
    Invalidate();
}

void MMPictureBasedVisual::SetMirror(bool horizontally, bool vertically)
{
    if (MirrorsHorizontally() == horizontally && MirrorsVertically() == vertically) {
        return;
    }
    mirrorHorizontally = horizontally ? 1 : 0;
    mirrorVertically = vertically ? 1 : 0;
    Invalidate();
}

const MMPictureReference& MMPictureBasedVisual::GetPicture() const
{
    return picture;
}

bool MMPictureBasedVisual::IsOpaque() const
{
    return !picture.IsEmpty() && picture.TransparencyKind() == kTransparencyOpaque;
}

void MMPictureBasedVisual::Draw(MMSurface* surface)
{
    if (picture.IsEmpty()) {
        return;
    }
    Pair size = picture.GetSize();
    Box source = {0, 0, size.x, size.y};
    if (mirrorHorizontally) {
        source.left = size.x;
        source.right = 0;
    }
    if (mirrorVertically) {
        source.top = size.y;
        source.bottom = 0;
    }
    MMDrawPicture(surface, picture, source, GetBounds(), nullptr, nullptr);
}

bool MMPictureBasedVisual::ContainsPoint(int32_t x, int32_t y)
{
    Box bounds = GetBounds();
    if (picture.IsEmpty() || !bounds.Contains({x, y})) {
        return false;
    }
    Pair position = GetPosition();
    Pair local = {x - position.x, y - position.y};
    if (mirrorHorizontally) {
        local.x = bounds.right - (x - position.x) - bounds.left - 1;
    }
    if (mirrorVertically) {
        local.y = bounds.bottom - (y - position.y) - bounds.top - 1;
    }
    return picture.TransparencyAt(local) <= hitTransparency;
}

void MMPictureVisual::ConstructAt(int32_t newX, int32_t newY, int16_t newLayer)
{
    x = newX;
    y = newY;
    SetLayer(newLayer);
}

void MMPictureVisual::ConstructWithPicture(const MMPictureReference& shown, int16_t newLayer)
{
    picture = shown;
    SetLayer(newLayer);
}

void MMPictureVisual::ConstructWithPictureAt(const MMPictureReference& shown, int32_t newX,
                                             int32_t newY, int16_t newLayer, bool horizontally,
                                             bool vertically)
{
    picture = shown;
    x = newX;
    y = newY;
    mirrorHorizontally = horizontally ? 1 : 0;
    mirrorVertically = vertically ? 1 : 0;
    SetLayer(newLayer);
}

Box MMPictureVisual::GetBounds() const
{
    if (picture.IsEmpty()) {
        return {0, 0, 0, 0};
    }
    Pair size = picture.GetSize();
    return {x, y, x + size.x, y + size.y};
}

Box MMPictureVisual::GetOpaqueBox() const
{
    return IsOpaque() ? GetBounds() : Box{0, 0, 0, 0};
}

void MMPictureVisual::SetPosition(int32_t newX, int32_t newY)
{
    if (newX == x && newY == y) {
        return;
    }
    Invalidate();
    x = newX;
    y = newY;
    Invalidate();
}

Pair MMPictureVisual::GetPosition() const
{
    return {x, y};
}

MMPictureButtonVisual::MMPictureButtonVisual(int32_t newX, int32_t newY,
                                             MMMouseInterpreter* mouseInterpreter,
                                             int16_t newLayer)
{
    x = newX;
    y = newY;
    interpreter = mouseInterpreter;
    SetLayer(newLayer);
}

MMPictureButtonVisual::~MMPictureButtonVisual()
{
    highlightPicture.Clear();
    normalPicture.Clear();
    picture.Clear();
}

void MMPictureButtonVisual::ConstructWithPictures(const Parameters& parameters)
{
    picture = parameters.normal;
    x = parameters.position.x;
    y = parameters.position.y;
    normalPicture = parameters.normal;
    highlightPicture = parameters.highlight;
    interpreter = parameters.interpreter;
    SetLayer(parameters.layer);
}

void MMPictureButtonVisual::SetNormalPicture(const MMPictureReference& reference)
{
    normalPicture = reference;
    if (!highlighted) {
        SetPicture(normalPicture);
    }
}

void MMPictureButtonVisual::SetHighlightPicture(const MMPictureReference& reference)
{
    highlightPicture = reference;
    if (highlighted) {
        SetPicture(highlightPicture);
    }
}

bool MMPictureButtonVisual::IsHighlighted()
{
    return highlighted != 0;
}

void MMPictureButtonVisual::SetHighlighted(bool flag)
{
    const MMPictureReference& chosen = flag ? highlightPicture : normalPicture;
    if (!MMSamePicture(chosen, picture)) {
        SetPicture(chosen);
    }
    highlighted = flag ? 1 : 0;
}
