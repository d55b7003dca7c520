#include "stamps/stamp_kinds.h"

#include "media/picture_visual.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/stamp_selector.h"

namespace {

const int16_t kLayerStampLayer = 75;

}  // namespace

void KVXCharacterStamp::ShowPlaced(bool keepSize)
{
    if (!keepSize) {
        Pair natural = NaturalSize();
        SetSize(natural.x / 2, natural.y / 2);
    }
    RenderLook(true);
}

void KVXCharacterStamp::Select(KVXStampSelector* value)
{
    KVXStampBase::Select(value);
    value->SetLayer(9999);
    value->SetLayer(95);
    RenderLook(true);
}

void KVXCharacterStamp::Deselect()
{
    KVXStampBase::Deselect();
    RenderLook(true);
}

void KVXPropstamp::TintColour(bool selected, uint8_t bgr[3]) const
{
    const uint8_t chosen[3] = {0x26, 0x71, 0x32};
    const uint8_t resting[3] = {0x03, 0xD8, 0x2A};
    for (int i = 0; i < 3; ++i)
        bgr[i] = selected ? chosen[i] : resting[i];
}

void KVXBackGroundStamp::ShowPlaced(bool keepSize)
{
    ShowTinted(picture);
}

Pair KVXBackGroundStamp::GetSize() const
{
    return NaturalSize();
}

Box KVXBackGroundStamp::GetBox() const
{
    return Visual()->GetBounds();
}

void KVXBackGroundStamp::SetBox(const Box& box)
{
    if (selector)
        selector->SetFrame(box);
}

bool KVXBackGroundStamp::IsAnimated() const
{
    return Visual()->GetPicture().Id() == colourPicture;
}

Pair KVXBackGroundStamp::HandlePositionAt(KVXHandleCorner corner, const Pair& handleSize) const
{
    if (!selector)
        return {0, 0};
    return HandlePosition(corner, selector->GetBounds(), CanvasBox(), handleSize, true);
}

void KVXBackGroundStamp::TintColour(bool selected, uint8_t bgr[3]) const
{
    const uint8_t chosen[3] = {0xEF, 0x64, 0x5A};
    const uint8_t resting[3] = {0xE7, 0x08, 0x08};
    for (int i = 0; i < 3; ++i)
        bgr[i] = selected ? chosen[i] : resting[i];
}

void KVXBackGroundStamp::Select(KVXStampSelector* value)
{
    KVXStampBase::Select(value);
    ShowTinted(picture);
}

void KVXBackGroundStamp::Deselect()
{
    KVXStampBase::Deselect();
    ShowTinted(picture);
}

void KVXBackGroundStamp::SetDepth(int16_t d)
{
    depth = d;
    Visual()->SetLayer(int16_t(kLayerStampLayer + d));
}

void KVXBackGroundStamp::Play(bool withStopCommand)
{
    if (manager)
        manager->GlueStamp(this, true, manager->Host() != nullptr, false);
}

Pair KVXBackGroundStamp::RestingPlace() const
{
    Box canvas = CanvasBox();
    return {canvas.left, canvas.top};
}

void KVXBackGroundStamp::PlaceCentredAt(int32_t x, int32_t y)
{
    Pair at = KVXBackGroundStamp::RestingPlace();
    Visual()->Invalidate();
    Visual()->SetPosition(at.x, at.y);
    Visual()->Invalidate();
}

void KVXBackGroundStamp::EndMove()
{
    Pair at = RestingPlace();
    Visual()->Invalidate();
    Visual()->SetPosition(at.x, at.y);
    Visual()->Invalidate();
    if (selector)
        selector->SetFrame(GetBox());
    ShowHandles();
    grabDx = 0;
    grabDy = 0;
    PlaceHandles();
}

Pair KVXMidGroundStamp::RestingPlace() const
{
    Box canvas = CanvasBox();
    return {canvas.left, canvas.bottom - GetSize().y};
}

Pair KVXForeGroundStamp::RestingPlace() const
{
    Box canvas = CanvasBox();
    Pair offset = manager ? Pair{manager->OffsetX(), manager->OffsetY()} : Pair{0, 0};
    return {canvas.left + offset.x, canvas.bottom + offset.y - GetSize().y};
}

void KVXForeGroundStamp::Select(KVXStampSelector* value)
{
    KVXBackGroundStamp::Select(value);
    AnimationEnded();
}

void KVXForeGroundStamp::Deselect()
{
    KVXStampBase::Deselect();
    if (!inColour)
        ShowTinted(picture);
}

void KVXForeGroundStamp::Replay()
{
    if (!IsAnimated())
        return;
    StopAndRestore();
    Play(true);
}

void KVXForeGroundStamp::Play(bool withStopCommand)
{
    if (inColour)
        return;
    Deselect();
    ShowPicture(colourPicture);
    Pair at = RestingPlace();
    Visual()->Invalidate();
    Visual()->SetPosition(at.x, at.y);
    Visual()->Invalidate();
    Show();
    HideHandles();
    inColour = true;
}

void KVXForeGroundStamp::AnimationEnded()
{
    inColour = false;
    KVXStampBase::AnimationEnded();
}

void KVXForeGroundStamp::StopAndRestore()
{
    if (inColour) {
        ShowTinted(picture);
        PlaceHandles();
    }
    inColour = false;
}
