#include "shell/widgets/scaling_thread.h"

#include "engine/animation_molecule.h"
#include "stamps/stamp_visual.h"

KVXScalingAnimationThread::KVXScalingAnimationThread(MMStage* stage,
                                                     MMStampPictureBasedVisual* templateVisual)
    : MMAnimationThread(stage), templateVisual(templateVisual)
{
}

MMStampPictureBasedVisual* KVXScalingAnimationThread::StampVisual(int16_t index) const
{
    return dynamic_cast<MMStampPictureBasedVisual*>(VisualAt(index));
}

void KVXScalingAnimationThread::AttachMolecule(MMAnimationMolecule* molecule)
{
    MMAnimationThread::AttachMolecule(molecule);
    scriptPositions.reserve(size_t(molecule->VisualCount()));
    for (int16_t i = 0; i < molecule->VisualCount(); ++i)
        scriptPositions.push_back(molecule->Visual(i)->GetPosition());
    if (templateVisual)
        SetScale(templateVisual->ScaleX(), templateVisual->ScaleY());
}

MMPictureBasedVisual* KVXScalingAnimationThread::CreateVisual(int16_t)
{
    auto* visual = new MMStampPictureBasedVisual;
    visual->SetScale(1.0, 1.0);
    return visual;
}

Pair KVXScalingAnimationThread::OffsetFromPosition() const
{
    return {position.x + (mirrorX ? pivot.x : -pivot.x),
            position.y + (mirrorY ? pivot.y : -pivot.y)};
}

Pair KVXScalingAnimationThread::ScaledPlace(int16_t index) const
{
    MMPictureBasedVisual* visual = VisualAt(index);
    Box bounds = visual->GetBounds();
    const Pair& at = scriptPositions[size_t(index)];
    int32_t gx = int32_t((at.x - pivot.x) * scaleX);
    int32_t gy = int32_t((at.y - pivot.y) * scaleY);
    return {(mirrorX ? (bounds.left - bounds.right) - gx : gx) + position.x,
            (mirrorY ? (bounds.top - bounds.bottom) - gy : gy) + position.y};
}

void KVXScalingAnimationThread::Replace(int16_t index)
{
    MMStampPictureBasedVisual* visual = StampVisual(index);
    if (!visual || size_t(index) >= scriptPositions.size())
        return;
    visual->SetScale(scaleX, scaleY);
    visual->SetMirror(mirrorX, mirrorY);
    Pair at = ScaledPlace(index);
    visual->SetPosition(at.x, at.y);
}

void KVXScalingAnimationThread::ReplaceAll()
{
    if (!molecule_)
        return;
    for (int16_t i = 0; i < molecule_->VisualCount(); ++i)
        Replace(i);
}

void KVXScalingAnimationThread::SetOffset(int32_t x, int32_t y)
{
    MMAnimationThread::SetOffset(x, y);
    position = {x + (mirrorX ? -pivot.x : pivot.x), y + (mirrorY ? -pivot.y : pivot.y)};
}

void KVXScalingAnimationThread::SetPivotAndPosition(const Pair& newPivot, const Pair& newPosition)
{
    pivot = newPivot;
    position = newPosition;
    Pair offset = OffsetFromPosition();
    MMAnimationThread::SetOffset(offset.x, offset.y);
}

void KVXScalingAnimationThread::SetScale(double x, double y)
{
    if (x == scaleX && y == scaleY)
        return;
    scaleX = x;
    scaleY = y;
    ReplaceAll();
}

void KVXScalingAnimationThread::SetMirror(bool x, bool y)
{
    if (x == mirrorX && y == mirrorY)
        return;
    mirrorX = x;
    mirrorY = y;
    Pair offset = OffsetFromPosition();
    MMAnimationThread::SetOffset(offset.x, offset.y);
    ReplaceAll();
}

void KVXScalingAnimationThread::PlaceVisual(int16_t index, int16_t layer, const Pair& point)
{
    if (!VisualAt(index) || size_t(index) >= scriptPositions.size())
        return;
    scriptPositions[size_t(index)] = point;
    Pair at = ScaledPlace(index);
    MMAnimationThread::PlaceVisual(index, layer, {at.x - offset_.x, at.y - offset_.y});
}

void KVXScalingAnimationThread::SetPicture(MMResourceId picture)
{
    MMAnimationThread::SetPicture(picture);
    Replace(currentVisual_);
}
