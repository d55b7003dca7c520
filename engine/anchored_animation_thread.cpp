#include "engine/animation_molecule.h"
#include "engine/animation_thread.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"

MMAnchoredAnimationThread::MMAnchoredAnimationThread(MMStage* stage) : MMAnimationThread(stage) {}

void MMAnchoredAnimationThread::AttachMolecule(MMAnimationMolecule* molecule)
{
    MMAnimationThread::AttachMolecule(molecule);
    scriptPositions_.clear();
    for (int16_t i = 0; i < molecule->VisualCount(); ++i)
        scriptPositions_.push_back(molecule->Visual(i)->GetPosition());
}

Pair MMAnchoredAnimationThread::OffsetFromAnchor() const
{
    return Pair{anchorPosition_.x + (flipHorizontal_ ? anchor_.x : -anchor_.x),
                anchorPosition_.y + (flipVertical_ ? anchor_.y : -anchor_.y)};
}

Pair MMAnchoredAnimationThread::ScreenPoint(const Pair& point, const Pair& pictureSize) const
{
    int32_t x = point.x - anchor_.x;
    int32_t y = point.y - anchor_.y;
    if (flipHorizontal_)
        x = -x - pictureSize.x;
    if (flipVertical_)
        y = -y - pictureSize.y;
    return Pair{x + anchorPosition_.x, y + anchorPosition_.y};
}

void MMAnchoredAnimationThread::SetAnchor(const Pair& anchor, const Pair& position)
{
    anchor_ = anchor;
    anchorPosition_ = position;
    Pair offset = OffsetFromAnchor();
    MMAnimationThread::SetOffset(offset.x, offset.y);
}

void MMAnchoredAnimationThread::SetOffset(int32_t x, int32_t y)
{
    MMAnimationThread::SetOffset(x, y);
    anchorPosition_ = Pair{x - (flipHorizontal_ ? anchor_.x : -anchor_.x),
                           y - (flipVertical_ ? anchor_.y : -anchor_.y)};
}

void MMAnchoredAnimationThread::PlaceVisual(int16_t index, int16_t layer, const Pair& point)
{
    MMPictureBasedVisual* visual = VisualAt(index);
    if (!visual || size_t(index) >= scriptPositions_.size())
        return;
    scriptPositions_[index] = point;
    Pair screen = ScreenPoint(point, visual->GetPicture().GetSize());
    MMAnimationThread::PlaceVisual(index, layer,
                                   Pair{screen.x - offset_.x, screen.y - offset_.y});
}

// A mirrored visual keeps its mirrored edge where it was when its picture
// changes size.
void MMAnchoredAnimationThread::SetPicture(MMResourceId picture)
{
    MMPictureBasedVisual* visual = VisualAt(currentVisual_);
    if (visual && (flipHorizontal_ || flipVertical_)) {
        MMPictureReference next;
        next.Load(picture);
        Pair before = visual->GetPicture().GetSize();
        Pair after = next.GetSize();
        Pair at = visual->GetPosition();
        visual->SetPosition(at.x + (flipHorizontal_ ? before.x - after.x : 0),
                            at.y + (flipVertical_ ? before.y - after.y : 0));
    }
    MMAnimationThread::SetPicture(picture);
}

void MMAnchoredAnimationThread::SetFlip(bool horizontal, bool vertical)
{
    if (horizontal == flipHorizontal_ && vertical == flipVertical_)
        return;
    flipHorizontal_ = horizontal;
    flipVertical_ = vertical;
    Pair offset = OffsetFromAnchor();
    MMAnimationThread::SetOffset(offset.x, offset.y);
    if (!molecule_)
        return;
    for (int16_t i = 0; i < molecule_->VisualCount() && size_t(i) < scriptPositions_.size(); ++i) {
        MMPictureBasedVisual* visual = molecule_->Visual(i);
        Pair screen = ScreenPoint(scriptPositions_[i], visual->GetPicture().GetSize());
        visual->SetPosition(screen.x, screen.y);
        visual->SetMirror(horizontal, vertical);
        visual->Invalidate();
    }
}
