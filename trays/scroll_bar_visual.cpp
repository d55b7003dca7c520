#include "trays/scroll_bar_visual.h"

#include <algorithm>

#include "engine/animation_molecule.h"
#include "engine/command.h"
#include "engine/scene.h"
#include "media/blit_request.h"
#include "media/surface.h"

namespace {

const int16_t kAnimationPriority = 9999;

void DrawAt(MMSurface* surface, const MMPictureReference& picture, int32_t x, int32_t y)
{
    if (picture.IsEmpty())
        return;
    Pair size = picture.GetSize();
    Box destination = {x, y, x + size.x, y + size.y};
    if (destination.Overlaps(surface->GetClipBox()))
        MMDrawPicture(surface, picture, Box{0, 0, size.x, size.y}, destination, nullptr, nullptr);
}

}  // namespace

KVXScrollBarVisual::KVXScrollBarVisual(MMBaseScene* scene, const Pair& position,
                                       MMPictureID thumbId, MMPictureID trackId,
                                       MMResourceId showAnimation, MMResourceId hideAnimation,
                                       int32_t orientation)
    : MMScrollBarVisual(orientation), thumb(MMLoadedPicture(thumbId)),
      track(MMLoadedPicture(trackId)),
      showAnimation(showAnimation), hideAnimation(hideAnimation), scene(scene)
{
    Pair trackSize = track.GetSize();
    Pair thumbSize = thumb.GetSize();
    Box bar = {position.x, position.y, position.x + trackSize.x, position.y + trackSize.y};
    if (IsVertical() ? thumbSize.x > trackSize.x : thumbSize.y > trackSize.y) {
        if (IsVertical()) {
            bar.top -= thumbSize.y / 2;
            bar.bottom += thumbSize.y / 2;
            bar.left = position.x + (trackSize.x - thumbSize.x) / 2;
            bar.right = bar.left + thumbSize.x;
        } else {
            bar.left -= thumbSize.x / 2;
            bar.right += thumbSize.x / 2;
            bar.top = position.y + (trackSize.y - thumbSize.y) / 2;
            bar.bottom = bar.top + thumbSize.y;
        }
    }
    SetBox(bar);
}

KVXScrollBarVisual::~KVXScrollBarVisual()
{
    delete showing;
    delete hiding;
}

void KVXScrollBarVisual::SetBox(const Box& newBox)
{
    MMScrollBarVisual::SetBox(newBox);
    if (scene != nullptr) {
        Pair size = thumb.GetSize();
        UseWholeTrack(int16_t(IsVertical() ? size.y : size.x));
    }
}

int32_t KVXScrollBarVisual::FindPart(int32_t x, int32_t y) const
{
    if (scene == nullptr)
        return MMScrollBarVisual::FindPart(x, y);
    if (!thumbShown || !box.Contains(Pair{x, y}))
        return kScrollNone;
    int32_t d = IsVertical() ? y - box.top : x - box.left;
    return ThumbPos() < d && d < ThumbPos() + ThumbLength() ? kScrollThumb : kScrollNone;
}

void KVXScrollBarVisual::Draw(MMSurface* surface)
{
    if (scene == nullptr) {
        MMScrollBarVisual::Draw(surface);
        return;
    }
    Pair trackSize = track.GetSize();
    Pair centre = box.Center();
    DrawAt(surface, track, centre.x - trackSize.x / 2, centre.y - trackSize.y / 2);
    if (thumbShown && !Animating()) {
        Box at = ThumbBox();
        Pair size = thumb.GetSize();
        DrawAt(surface, thumb, at.left + (at.Width() - size.x) / 2,
               at.top + (at.Height() - size.y) / 2);
    }
}

void KVXScrollBarVisual::StartAnimation(MMResourceId script, MMAnimationMolecule*& slot,
                                        const char* doneName)
{
    delete slot;
    slot = nullptr;
    if (script == MM_NO_RESOURCE || scene == nullptr)
        return;
    Box at = ThumbBox();
    slot = new MMAnimationMolecule(scene, script, 1);
    slot->SetOffset(at.left, at.top);
    slot->Thread()->SetPriority(kAnimationPriority);
    slot->SetDoneCommand(new MMClassCommand<KVXScrollBarVisual>(doneName, scene->Stage(), this,
                                                                &KVXScrollBarVisual::AnimationDone));
    slot->Run(1);
}

void KVXScrollBarVisual::AnimationDone()
{
    MMAnimationMolecule* finished[] = {showing, hiding};
    for (MMAnimationMolecule* molecule : finished)
        if (molecule != nullptr && !molecule->IsRunning()) {
            (molecule == showing ? showing : hiding) = nullptr;
            delete molecule;
        }
    Invalidate();
}

void KVXScrollBarVisual::SetThumbHidden(bool hidden)
{
    if (hidden == !thumbShown)
        return;
    thumbShown = !hidden;
    if (hidden)
        StartAnimation(hideAnimation, hiding, "Hide Slider Done");
    else
        StartAnimation(showAnimation, showing, "Show Slider Done");
    Invalidate();
}
