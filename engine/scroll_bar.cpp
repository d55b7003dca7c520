#include "engine/scroll_bar.h"

#include <windows.h>

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "media/surface.h"

MMScrollBarVisual::MMScrollBarVisual(int32_t orientation) : vertical_(orientation == kScrollVertical)
{
}

void MMScrollBarVisual::SetBox(const Box& newBox)
{
    MMOpaqueBoxVisual::SetBox(newBox);
    firstButtonBox_ = trackBox_ = secondButtonBox_ = box;
    if (vertical_) {
        buttonSize_ = int16_t(box.Width());
        length_ = int16_t(box.Height());
        firstButtonBox_.bottom = box.top + buttonSize_;
        secondButtonBox_.top = box.bottom - buttonSize_;
        trackBox_.top = box.top + buttonSize_ - 1;
        trackBox_.bottom = box.bottom - buttonSize_ + 1;
    } else {
        buttonSize_ = int16_t(box.Height());
        length_ = int16_t(box.Width());
        firstButtonBox_.right = box.left + buttonSize_;
        secondButtonBox_.left = box.right - buttonSize_;
        trackBox_.left = box.left + buttonSize_ - 1;
        trackBox_.right = box.right - buttonSize_ + 1;
    }
    thumbPos_ = 0;
    thumbLength_ = buttonSize_;
    trackSpan_ = int16_t(length_ - 2 * buttonSize_ + 2);
    thumbRange_ = int16_t(trackSpan_ - thumbLength_);
}

void MMScrollBarVisual::UseWholeTrack(int16_t thumbLength)
{
    fixedThumb_ = true;
    firstButtonBox_ = secondButtonBox_ = Box{box.left, box.top, box.left, box.top};
    trackBox_ = box;
    buttonSize_ = 0;
    length_ = int16_t(vertical_ ? box.Height() : box.Width());
    thumbPos_ = 0;
    thumbLength_ = thumbLength;
    trackSpan_ = length_;
    thumbRange_ = int16_t(trackSpan_ > thumbLength ? trackSpan_ - thumbLength : 0);
}

void MMScrollBarVisual::SetProportion(int32_t total, int32_t page)
{
    thumbPos_ = 0;
    if (fixedThumb_) {
        InvalidateArea(trackBox_);
        return;
    }
    if (page < total) {
        int32_t length = MulDiv(trackSpan_, page, total);
        thumbLength_ = int16_t(length < buttonSize_ ? buttonSize_ : length);
        thumbRange_ = int16_t(trackSpan_ - thumbLength_);
    } else {
        thumbLength_ = trackSpan_;
        thumbRange_ = 0;
    }
    InvalidateArea(trackBox_);
}

void MMScrollBarVisual::SetThumbPos(int16_t position)
{
    thumbPos_ = position;
    InvalidateArea(trackBox_);
}

int32_t MMScrollBarVisual::FindPart(int32_t x, int32_t y) const
{
    if (!box.Contains(Pair{x, y}))
        return kScrollNone;
    int32_t d = vertical_ ? y - box.top : x - box.left;
    if (d < buttonSize_)
        return kScrollFirstButton;
    if (d < thumbPos_ + buttonSize_)
        return kScrollTrackBefore;
    if (d < thumbPos_ + buttonSize_ + thumbLength_)
        return kScrollThumb;
    if (d >= length_ - buttonSize_)
        return kScrollSecondButton;
    return kScrollTrackAfter;
}

void MMScrollBarVisual::InvalidateArea(const Box& area)
{
    if (enclosure && !IsHidden())
        enclosure->Invalidate(area);
}

void MMScrollBarVisual::InvalidatePart(int32_t part)
{
    if (part == kScrollFirstButton)
        InvalidateArea(firstButtonBox_);
    else if (part >= kScrollTrackBefore && part <= kScrollTrackAfter)
        InvalidateArea(trackBox_);
    else if (part == kScrollSecondButton)
        InvalidateArea(secondButtonBox_);
}

void MMScrollBarVisual::SetPressedPart(int32_t part)
{
    InvalidatePart(pressedPart_);
    pressedPart_ = part;
    InvalidatePart(part);
}

void MMScrollBarVisual::BeginDrag(int32_t x, int32_t y)
{
    pressedPart_ = kScrollThumb;
    dragOffset_ = int16_t(Along(x, y) - thumbPos_);
    DragTo(x, y);
}

void MMScrollBarVisual::DragTo(int32_t x, int32_t y)
{
    int32_t c = Along(x, y) - dragOffset_;
    thumbPos_ = int16_t(c < 0 ? 0 : (c < thumbRange_ ? c : thumbRange_));
    InvalidateArea(trackBox_);
}

void MMScrollBarVisual::EndDrag() { InvalidateArea(trackBox_); }

Box MMScrollBarVisual::ThumbBox() const
{
    Box thumb = trackBox_;
    if (vertical_) {
        thumb.top = trackBox_.top + thumbPos_;
        thumb.bottom = thumb.top + thumbLength_;
    } else {
        thumb.left = trackBox_.left + thumbPos_;
        thumb.right = thumb.left + thumbLength_;
    }
    return thumb;
}

void MMScrollBarVisual::Draw(MMSurface* surface)
{
    const Box& clip = surface->GetClipBox();
    if (firstButtonBox_.Overlaps(clip))
        DrawFirstButton(surface, firstButtonBox_, pressedPart_ == kScrollFirstButton);
    if (trackBox_.Overlaps(clip))
        DrawTrack(surface, trackBox_, ThumbBox(),
                  pressedPart_ >= kScrollTrackBefore && pressedPart_ <= kScrollTrackAfter);
    if (secondButtonBox_.Overlaps(clip))
        DrawSecondButton(surface, secondButtonBox_, pressedPart_ == kScrollSecondButton);
}

namespace {
MMColor NoColor()
{
    MMColor color = {};
    color.index = -2;
    return color;
}
}  // namespace

MMPlainScrollBarVisual::MMPlainScrollBarVisual(int32_t orientation)
    : MMScrollBarVisual(orientation), frameColor_(NoColor()), faceColor_(NoColor()),
      lightColor_(NoColor()), darkColor_(NoColor())
{
}

MMPlainScrollBarVisual::MMPlainScrollBarVisual(int32_t orientation, MMColor frame, MMColor face,
                                               MMColor light, MMColor dark)
    : MMScrollBarVisual(orientation), frameColor_(frame), faceColor_(face), lightColor_(light),
      darkColor_(dark)
{
}

void MMPlainScrollBarVisual::DrawBevel(MMSurface* surface, const Box& b, bool pressed)
{
    if (pressed) {
        surface->FillBox(Box{b.left + 1, b.top + 1, b.right, b.bottom}, faceColor_);
        surface->FillBox(Box{b.left, b.top, b.left + 1, b.bottom}, darkColor_);
        surface->FillBox(Box{b.left, b.top, b.right, b.top + 1}, darkColor_);
        return;
    }
    surface->FillBox(Box{b.left + 1, b.top + 1, b.right - 2, b.bottom - 2}, faceColor_);
    surface->FillBox(Box{b.left, b.top, b.left + 1, b.bottom - 1}, lightColor_);
    surface->FillBox(Box{b.left, b.top, b.right - 1, b.top + 1}, lightColor_);
    surface->FillBox(Box{b.left + 1, b.bottom - 2, b.right, b.bottom}, darkColor_);
    surface->FillBox(Box{b.right - 2, b.top + 1, b.right, b.bottom}, darkColor_);
    surface->SetPixel(b.right - 1, b.top, darkColor_);
    surface->SetPixel(b.left, b.bottom - 1, darkColor_);
}

void MMPlainScrollBarVisual::DrawButton(MMSurface* surface, const Box& box, bool pressed)
{
    surface->FrameBox(box, frameColor_, 1);
    Box inner = box;
    inner.Inflate(-1);
    DrawBevel(surface, inner, pressed);
}

void MMPlainScrollBarVisual::DrawFirstButton(MMSurface* surface, const Box& box, bool pressed)
{
    DrawButton(surface, box, pressed);
}

void MMPlainScrollBarVisual::DrawSecondButton(MMSurface* surface, const Box& box, bool pressed)
{
    DrawButton(surface, box, pressed);
}

void MMPlainScrollBarVisual::DrawTrack(MMSurface* surface, const Box& track, const Box& thumb,
                                       bool pressed)
{
    surface->FrameBox(track, frameColor_, 1);
    Box inside = track;
    inside.Inflate(-1);
    surface->FillBox(inside, pressed ? darkColor_ : faceColor_);
    surface->FrameBox(thumb, frameColor_, 1);
    Box thumbInside = thumb;
    thumbInside.Inflate(-1);
    DrawBevel(surface, thumbInside, false);
}

MMScrollBarInterpreter::MMScrollBarInterpreter(MMStage* stage, MMScrollBarMolecule* molecule,
                                               MMScrollBarVisual* visual, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, nullptr, cursor), molecule_(molecule), visual_(visual)
{
}

void MMScrollBarInterpreter::EndPress(const MMStageEvent& event)
{
    if (pressedPart_ == kScrollNone)
        return;
    if (pressedPart_ == kScrollThumb) {
        visual_->EndDrag();
        if (event.data & kPointerReleased)
            molecule_->SyncFromThumb(true);
    }
    visual_->SetPressedPart(kScrollNone);
    pressedPart_ = kScrollNone;
}

bool MMScrollBarInterpreter::Interpret(const MMStageEvent& event)
{
    int32_t part = visual_->FindPart(event.x, event.y);
    int32_t now = stage_ ? int32_t(stage_->Now()) : int32_t(ElapsedMilliseconds());
    if ((event.data & kPointerPressed) && Matches(event)) {
        EndPress(event);
        if (part != kScrollNone) {
            pressedPart_ = part;
            if (part == kScrollThumb) {
                visual_->BeginDrag(event.x, event.y);
            } else {
                molecule_->Step(part);
                visual_->SetPressedPart(part);
                repeatTime_ = now + 500;
            }
        }
    } else if (pressedPart_ != kScrollNone && (event.data & kPointerHeld)) {
        if (pressedPart_ == kScrollThumb) {
            visual_->DragTo(event.x, event.y);
            molecule_->SyncFromThumb(false);
        } else {
            bool over = part == pressedPart_;
            if (over && now - repeatTime_ > 0)
                molecule_->Step(pressedPart_);
            int32_t shown = over ? pressedPart_ : kScrollNone;
            if (visual_->PressedPart() != shown)
                visual_->SetPressedPart(shown);
        }
    } else {
        EndPress(event);
    }
    return pressedPart_ != kScrollNone;
}

MMScrollBarMolecule::MMScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual,
                                         int16_t layer, MMCursor* cursor)
    : MMMolecule(scene), visual_(visual)
{
    Build(layer, cursor);
}

MMScrollBarMolecule::MMScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual,
                                         int16_t range, int16_t page, int16_t layer,
                                         MMCursor* cursor)
    : MMMolecule(scene), visual_(visual), range_(range), page_(page)
{
    Build(layer, cursor);
}

void MMScrollBarMolecule::Build(int16_t layer, MMCursor* cursor)
{
    interpreter_ = new MMScrollBarInterpreter(Stage(), this, visual_, cursor);
    visual_->SetLayer(layer);
    visual_->SetMouseInterpreter(interpreter_);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual_);
}

MMScrollBarMolecule::~MMScrollBarMolecule()
{
    interpreter_->ReleaseCapture();
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(visual_);
    delete visual_;
    delete interpreter_;
    delete command_;
}

void MMScrollBarMolecule::Show()
{
    hidden_ = false;
    visual_->SetHidden(false);
}

void MMScrollBarMolecule::Hide()
{
    interpreter_->ReleaseCapture();
    hidden_ = true;
    visual_->SetHidden(true);
}

void MMScrollBarMolecule::SetRange(int16_t range)
{
    range_ = range;
    visual_->SetProportion(page_ + range_, page_);
    position_ = 0;
    UpdateThumb();
}

void MMScrollBarMolecule::SetPage(int16_t page)
{
    page_ = page;
    visual_->SetProportion(range_ + page_, page_);
}

void MMScrollBarMolecule::SetCommand(MMCommand* command)
{
    if (command == command_)
        return;
    delete command_;
    command_ = command;
}

void MMScrollBarMolecule::SetPosition(int16_t position)
{
    if (position == position_)
        return;
    position_ = position;
    UpdateThumb();
}

void MMScrollBarMolecule::ChangePosition(int16_t position)
{
    if (position == position_)
        return;
    SetPosition(position);
    if (command_)
        command_->Post();
}

void MMScrollBarMolecule::UpdateThumb()
{
    visual_->SetThumbPos(int16_t(range_ != 0 ? MulDiv(position_, visual_->ThumbRange(), range_) : 0));
}

void MMScrollBarMolecule::Step(int32_t part)
{
    int32_t value = position_;
    switch (part) {
    case kScrollFirstButton: value -= lineStep_; break;
    case kScrollTrackBefore: value += 1 - page_; break;
    case kScrollTrackAfter: value += page_ - 1; break;
    case kScrollSecondButton: value += lineStep_; break;
    default: break;
    }
    ChangePosition(int16_t(value < 0 ? 0 : (value < range_ ? value : range_)));
}

// A track no longer than the thumb has no thumb range; the position is then 0.
void MMScrollBarMolecule::SyncFromThumb(bool force)
{
    if (!tracking_ && !force)
        return;
    int16_t thumbRange = visual_->ThumbRange();
    int16_t position = 0;
    if (range_ != 0 && thumbRange > 0)
        position = int16_t(MulDiv(range_, visual_->ThumbPos(), thumbRange));
    ChangePosition(position);
}
