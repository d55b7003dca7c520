#include "shell/widgets/scroll_bars.h"

#include <algorithm>

#include "media/blit_request.h"
#include "media/surface.h"
#include "trays/scroll_bar_visual.h"

namespace {

bool Meets(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool TallerThanWide(MMPictureID id)
{
    Pair size = MMLoadedPicture(id).GetSize();
    return size.y > size.x;
}

// The whole picture at its own size with its top-left at the corner.
void DrawAt(MMSurface* surface, const MMPictureReference& picture, int32_t x, int32_t y)
{
    if (picture.IsEmpty())
        return;
    Pair size = picture.GetSize();
    Box source = {0, 0, size.x, size.y};
    Box destination = {x, y, x + size.x, y + size.y};
    if (Meets(destination, surface->GetClipBox()))
        MMDrawPicture(surface, picture, source, destination, nullptr, nullptr);
}

}  // namespace

KVXScrollBarMolecule::KVXScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual,
                                           int16_t layer, MMCursor* cursor)
    : MMScrollBarMolecule(scene, visual, layer, cursor)
{
}

KVXScrollBarMolecule::KVXScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual,
                                           int16_t range, int16_t page, int16_t snapCentre,
                                           int16_t snapHalfWidth, int16_t layer, MMCursor* cursor)
    : MMScrollBarMolecule(scene, visual, range, page, layer, cursor), snapCentre(snapCentre),
      snapHalfWidth(snapHalfWidth)
{
}

void KVXScrollBarMolecule::ChangePosition(int16_t position)
{
    if (snapCentre - snapHalfWidth < position && position < snapCentre + snapHalfWidth)
        position = snapCentre;
    MMScrollBarMolecule::ChangePosition(position);
}

KVXModifierScrollBarMolecule::KVXModifierScrollBarMolecule(MMBaseScene* scene,
                                                           KVXScrollBarVisual* visual,
                                                           int16_t layer, MMCursor* cursor)
    : KVXScrollBarMolecule(scene, visual, layer, cursor), slider(visual)
{
}

KVXModifierScrollBarMolecule::KVXModifierScrollBarMolecule(
    MMBaseScene* scene, KVXScrollBarVisual* visual, int16_t range, int16_t page,
    int16_t snapCentre, int16_t snapHalfWidth, int16_t layer, MMCursor* cursor)
    : KVXScrollBarMolecule(scene, visual, range, page, snapCentre, snapHalfWidth, layer, cursor),
      slider(visual)
{
}

void KVXModifierScrollBarMolecule::ShowSlider() { slider->SetThumbHidden(false); }

void KVXModifierScrollBarMolecule::HideSlider() { slider->SetThumbHidden(true); }

KVXZoomScrollBarVisual::KVXZoomScrollBarVisual(int32_t x, int32_t y, const Pictures& pictures,
                                               int16_t layer)
    : MMScrollBarVisual(TallerThanWide(pictures.background) ? kScrollVertical
                                                            : kScrollHorizontal),
      firstArrow(MMLoadedPicture(pictures.firstArrow)),
      firstArrowPressed(MMLoadedPicture(pictures.firstArrowPressed)),
      secondArrow(MMLoadedPicture(pictures.secondArrow)),
      secondArrowPressed(MMLoadedPicture(pictures.secondArrowPressed)),
      thumb(MMLoadedPicture(pictures.thumb)),
      background(MMLoadedPicture(pictures.background))
{
    SetLayer(layer);
    Pair size = background.GetSize();
    SetBox(Box{x, y, x + size.x, y + size.y});
}

void KVXZoomScrollBarVisual::SetBox(const Box& newBox)
{
    Pair size = background.GetSize();
    int32_t shortSide = std::min(size.x, size.y);
    Box shortened = newBox;
    if (IsVertical())
        shortened.bottom -= shortSide;
    else
        shortened.right -= shortSide;
    MMScrollBarVisual::SetBox(shortened);
}

void KVXZoomScrollBarVisual::Draw(MMSurface* surface)
{
    DrawBackground(surface);
    DrawFirstButton(surface, FirstButtonBox(), PressedPart() == kScrollFirstButton);
    DrawTrack(surface, TrackBox(), ThumbBox(), false);
    DrawSecondButton(surface, SecondButtonBox(), PressedPart() == kScrollSecondButton);
}

void KVXZoomScrollBarVisual::DrawBackground(MMSurface* surface)
{
    // The canvas lays the bar in a strip a pixel thicker than its picture:
    // drawn again against the strip's far edge, the picture fills it whole.
    Pair size = background.GetSize();
    if (IsVertical())
        DrawAt(surface, background, box.right - size.x, box.top);
    else
        DrawAt(surface, background, box.left, box.bottom - size.y);
    DrawAt(surface, background, box.left, box.top);
}

void KVXZoomScrollBarVisual::DrawFirstButton(MMSurface* surface, const Box& button, bool pressed)
{
    DrawAt(surface, pressed ? firstArrowPressed : firstArrow, button.left, button.top);
}

void KVXZoomScrollBarVisual::DrawTrack(MMSurface* surface, const Box&, const Box& thumbBox, bool)
{
    DrawAt(surface, thumb, thumbBox.left, thumbBox.top);
}

void KVXZoomScrollBarVisual::DrawSecondButton(MMSurface* surface, const Box& button, bool pressed)
{
    DrawAt(surface, pressed ? secondArrowPressed : secondArrow, button.left, button.top);
}

KVXZoomScrollBarMolecule::KVXZoomScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual,
                                                   int16_t layer)
    : MMScrollBarMolecule(scene, visual, layer, nullptr)
{
}

KVXZoomScrollBarMolecule::KVXZoomScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual,
                                                   int16_t range, int16_t page, int16_t layer)
    : MMScrollBarMolecule(scene, visual, range, page, layer, nullptr)
{
}
