#include "engine/animation_thread.h"

#include "engine/animation_molecule.h"
#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "media/enclosure_visual.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"

MMAnimationThread::MMAnimationThread(MMStage* stage) : MMLightweightThread(nullptr, stage)
{
    SetName(nullptr, "some animation thread");
    priority_ = 100;
}

// Uses held at destruction would pin the script's pictures and sounds for
// the rest of the run, whatever the mode that took them.
MMAnimationThread::~MMAnimationThread() { ReleaseResources(); }

int32_t MMAnimationThread::RowCount() const { return script_ ? script_->RowCount() : 0; }

int16_t MMAnimationThread::OpcodeAt(int32_t row) const
{
    return script_ ? script_->ShortAt(row, 0) : int16_t(-1);
}

int16_t MMAnimationThread::ResourceMode() const
{
    return molecule_ ? molecule_->ResourceMode() : int16_t(kResourcesNever);
}

MMPictureBasedVisual* MMAnimationThread::VisualAt(int32_t index) const
{
    if (!molecule_ || index < 0 || index >= molecule_->VisualCount())
        return nullptr;
    return molecule_->Visual(int16_t(index));
}

bool MMAnimationThread::ChannelIsActive(int32_t index) const
{
    if (!molecule_ || index < 0 || index >= molecule_->SoundChannelCount())
        return false;
    return molecule_->SoundChannel(int16_t(index))->IsActive();
}

void MMAnimationThread::HideAllVisuals()
{
    if (!molecule_)
        return;
    for (int16_t i = 0; i < molecule_->VisualCount(); ++i)
        molecule_->Visual(i)->SetHidden(true);
}

void MMAnimationThread::StopAllChannels()
{
    if (!molecule_)
        return;
    for (int16_t i = 0; i < molecule_->SoundChannelCount(); ++i)
        molecule_->SoundChannel(i)->Stop();
}

void MMAnimationThread::ResetLoop()
{
    loopStart_ = -1;
    loopLength_ = 0;
    loopActive_ = false;
    loopFrames_ = 0;
    loopRemaining_ = 0;
}

void MMAnimationThread::OnSleep()
{
    ClearTiming();
    StopAllChannels();
    if (ResourceMode() == kResourcesWhilePlaying)
        ReleaseResources();
}

void MMAnimationThread::OnWake()
{
    if (ResourceMode() == kResourcesWhilePlaying)
        UseResources(true);
}

bool MMAnimationThread::Run()
{
    if (state_ == kMMThreadActivated) {
        ResetLoop();
        if (ResourceMode() == kResourcesWhilePlaying)
            UseResources(true);
        HideAllVisuals();
        StopAllChannels();
    }
    bool finished = false;
    if (state_ != kMMThreadTerminating) {
        if (!AtEnd()) {
            while (PlayFrame()) {
            }
            SleepUntil(due_);
            return true;
        }
        finished = true;
    }
    ClearTiming();
    HideAllVisuals();
    StopAllChannels();
    if (finished)
        PostEndCommand();
    if (ResourceMode() == kResourcesWhilePlaying)
        ReleaseResources();
    return false;
}

void MMAnimationThread::AttachMolecule(MMAnimationMolecule* molecule)
{
    molecule_ = molecule;
    script_ = &molecule->Script();
    int32_t row = script_->FindRowByKey(kOpSynchronised);
    synchronised_ = row >= 0 && script_->ShortAt(row, 2) != 0;
    row = script_->FindRowByKey(kOpName);
    MMCopyTaskName(name_, row >= 0 ? script_->StringAt(row, 2) : "", "");
    row = script_->FindRowByKey(kOpFrame);
    position_ = row >= 0 ? row : RowCount();
    ResetLoop();
    if (ResourceMode() == kResourcesPreloaded)
        UseResources(true);
    else if (ResourceMode() == kResourcesWhileAttached)
        UseResources(false);
}

MMPictureBasedVisual* MMAnimationThread::CreateVisual(int16_t) { return new MMPictureVisual; }

void MMAnimationThread::SetOffset(int32_t x, int32_t y)
{
    if (x == offset_.x && y == offset_.y)
        return;
    Pair by = {x - offset_.x, y - offset_.y};
    offset_ = Pair{x, y};
    if (!molecule_)
        return;
    for (int16_t i = 0; i < molecule_->VisualCount(); ++i) {
        MMPictureBasedVisual* visual = molecule_->Visual(i);
        Pair at = visual->GetPosition();
        visual->SetPosition(at.x + by.x, at.y + by.y);
    }
    if (MMEnclosureVisual* enclosure = molecule_->EnclosureVisual()) {
        Box box = enclosure->GetBounds();
        box.Offset(by);
        enclosure->SetBox(box);
    }
}

void MMAnimationThread::SetLayerOffset(int16_t layerOffset)
{
    if (layerOffset == layerOffset_)
        return;
    int16_t by = int16_t(layerOffset - layerOffset_);
    layerOffset_ = layerOffset;
    if (!molecule_)
        return;
    for (int16_t i = 0; i < molecule_->VisualCount(); ++i) {
        MMPictureBasedVisual* visual = molecule_->Visual(i);
        visual->SetLayer(int16_t(visual->Layer() + by));
    }
    if (MMEnclosureVisual* enclosure = molecule_->EnclosureVisual())
        enclosure->SetLayer(int16_t(enclosure->Layer() + by));
}

void MMAnimationThread::Goto(int16_t label)
{
    position_ = RowCount();
    if (label != -1) {
        for (int32_t row = 0; row < RowCount(); ++row) {
            if (OpcodeAt(row) == kOpFrame && script_->ShortAt(row, 2) == label) {
                position_ = row;
                break;
            }
        }
    }
    ResetLoop();
}

void MMAnimationThread::FrameDone()
{
    if (timingState_ != kAnimationTimingStarted)
        return;
    timingState_ = kAnimationTimingRunning;
    int32_t shown = StageTime() - frameStart_;
    totalTime_ += shown;
    if (due_ != INT_MAX)
        due_ += shown;
}

void MMAnimationThread::AdvanceLoop()
{
    if (!loopActive_)
        return;
    // A length below 1 would never be reached.
    int32_t length = loopLength_ < 1 ? 1 : loopLength_;
    if (++loopFrames_ < length)
        return;
    bool ends;
    if (loopRemaining_ > 0)
        ends = loopRemaining_-- == 1;
    else if (loopRemaining_ < 0)
        ends = !ChannelIsActive(-int32_t(loopRemaining_) - 1);
    else
        ends = true;
    if (ends) {
        ResetLoop();
    } else {
        position_ = loopStart_;
        loopFrames_ = 0;
    }
}

bool MMAnimationThread::PlayFrame()
{
    if (AtEnd())
        return false;
    // A first frame that waited to be woken left no due time to build on.
    if (timingState_ == kAnimationTimingIdle || due_ == INT_MAX)
        StartTiming();
    loopNextSound_ = 0;
    currentVisual_ = -1;
    currentChannel_ = -1;
    timingReset_ = false;
    int32_t before;
    do {
        before = position_;
        Step();
        // A custom row that holds the position ends the frame there.
    } while (!AtEnd() && OpcodeAt(position_) != kOpFrame && position_ != before);
    ++framesPlayed_;
    AdvanceLoop();

    int32_t now = StageTime();
    int32_t delay = delay_;
    if (delay == INT_MAX) {
        due_ = INT_MAX;
        correction_ = 0;
        return false;
    }
    int32_t grid = due_ - correction_ + delay;
    if (!synchronised_) {
        due_ = now + delay;
        correction_ = 0;
        return false;
    }
    if (timingReset_) {
        due_ = now + delay;
        correction_ = due_ - grid;
        return false;
    }
    bool late = now > due_ - correction_ + delay / 2;
    due_ = grid;
    correction_ = 0;
    return late;
}

void MMAnimationThread::Step()
{
    const MMRecordTable& s = *script_;
    int32_t row = position_;
    bool advance = true;
    switch (s.ShortAt(row, 0)) {
    case kOpFrame:
        EnterFrame(s.ShortAt(row, 2), s.ShortAt(row, 4), s.ShortAt(row, 6), s.ShortAt(row, 8));
        break;
    case kOpPlaceVisual:
        PlaceVisual(s.ShortAt(row, 2), s.ShortAt(row, 4), s.PairAt(row, 6));
        break;
    case kOpSetPicture:
        SetPicture(s.LongAt(row, 2));
        break;
    case kOpSelectChannel:
        SelectSoundChannel(s.ShortAt(row, 2), s.ShortAt(row, 4), s.ShortAt(row, 6));
        break;
    case kOpPlaySound:
        PlaySound(s.LongAt(row, 2));
        break;
    case kOpPostEvent:
        PostEventCommand(s.ShortAt(row, 2));
        break;
    case kOpJump:
        JumpTo(s.ShortAt(row, 2));
        advance = false;
        break;
    case kOpGotoWhenChannelIdle:
        advance = !GotoWhenChannelIdle(s.ShortAt(row, 2), s.ShortAt(row, 4));
        break;
    case kOpTimingReset:
        SetTimingReset(s.ShortAt(row, 2) != 0);
        break;
    case kOpCustom:
        advance = !CustomOpcode(s.ShortAt(row, 2), s.ShortAt(row, 4), s.ShortAt(row, 6),
                                s.ShortAt(row, 8));
        break;
    case kOpEnclosure:
        SetEnclosureBox(s.RectAt(row, 2));
        break;
    default:
        break;
    }
    if (advance)
        ++position_;
}

void MMAnimationThread::EnterFrame(int16_t, int16_t delay, int16_t loopLength, int16_t loopCount)
{
    if (delay <= 0) {
        delay_ = INT_MAX;
        timingReset_ = true;
    } else {
        delay_ = delay;
    }
    if (loopCount != 0 && !loopActive_) {
        loopStart_ = position_;
        loopLength_ = loopLength;
        loopActive_ = true;
        loopFrames_ = 0;
        loopRemaining_ = loopCount;
    }
}

void MMAnimationThread::PlaceVisual(int16_t index, int16_t layer, const Pair& point)
{
    MMPictureBasedVisual* visual = VisualAt(index);
    if (!visual)
        return;
    if (layer == -1)
        visual->SetHidden(true);
    Pair at = {offset_.x + point.x, offset_.y + point.y};
    if (visual->GetPosition() != at)
        visual->SetPosition(at.x, at.y);
    if (layer >= 0) {
        visual->SetHidden(false);
        visual->SetLayer(int16_t(layer + layerOffset_));
    }
    currentVisual_ = index;
}

void MMAnimationThread::SetPicture(MMResourceId picture)
{
    MMPictureBasedVisual* visual = VisualAt(currentVisual_);
    if (!visual)
        return;
    MMPictureReference reference;
    reference.Load(picture);
    visual->SetPicture(reference);
}

void MMAnimationThread::SelectSoundChannel(int16_t index, int16_t keep, int16_t loop)
{
    if (!molecule_ || index < 0 || index >= molecule_->SoundChannelCount())
        return;
    MMGenericSoundChannel* channel = molecule_->SoundChannel(index);
    if (keep == 0 || channel->IsActive())
        channel->Stop();
    currentChannel_ = index;
    loopNextSound_ = loop != 0 ? 1 : 0;
}

void MMAnimationThread::PlaySound(MMResourceId sound)
{
    if (!molecule_ || currentChannel_ < 0 || currentChannel_ >= molecule_->SoundChannelCount())
        return;
    MMSoundReference reference;
    reference.Load(sound);
    molecule_->SoundChannel(currentChannel_)->Play(reference, loopNextSound_ != 0);
    // Frames of a synchronised script run from the start of channel 0's sound.
    if (synchronised_ && currentChannel_ == 0 && timingState_ == kAnimationTimingRunning) {
        ClearTiming();
        StartTiming();
    }
}

void MMAnimationThread::PostEventCommand(int16_t event)
{
    if (molecule_) {
        if (MMCommand* command = molecule_->FindCommand(event))
            command->Post();
    }
    timingReset_ = true;
}

void MMAnimationThread::PostEndCommand()
{
    if (molecule_ && molecule_->DoneCommand())
        molecule_->DoneCommand()->Post();
}

void MMAnimationThread::SetTimingReset(bool value)
{
    if (!timingReset_)
        timingReset_ = value;
}

void MMAnimationThread::JumpTo(int16_t label) { Goto(label); }

bool MMAnimationThread::GotoWhenChannelIdle(int16_t channel, int16_t label)
{
    if (!molecule_ || channel < 0 || channel >= molecule_->SoundChannelCount())
        return false;
    if (ChannelIsActive(channel))
        return false;
    Goto(label);
    return true;
}

bool MMAnimationThread::CustomOpcode(int16_t, int16_t, int16_t, int16_t) { return false; }

void MMAnimationThread::SetEnclosureBox(const Box& box)
{
    MMEnclosureVisual* enclosure = molecule_ ? molecule_->EnclosureVisual() : nullptr;
    if (!enclosure)
        return;
    Box moved = box;
    moved.Offset(offset_);
    enclosure->SetBox(moved);
}

void MMAnimationThread::StartTiming()
{
    int32_t now = StageTime();
    timingState_ = kAnimationTimingStarted;
    frameStart_ = now;
    due_ = now;
    correction_ = 0;
    totalTime_ = 0;
    framesPlayed_ = 0;
}

int32_t MMAnimationThread::ClearTiming()
{
    int32_t previous = timingState_;
    timingState_ = kAnimationTimingIdle;
    return previous;
}

// Uses are a state, not a count: taking them again while held (a thread
// woken before its first sleep) must not add a second use per item.
bool MMAnimationThread::UseResources(bool preload)
{
    if (!resourcesHeld_ && script_) {
        for (int32_t row = 0; row < RowCount(); ++row) {
            int16_t opcode = OpcodeAt(row);
            if (opcode == kOpSetPicture)
                MMUsePicture(script_->LongAt(row, 2));
            else if (opcode == kOpPlaySound)
                MMRetainSound(script_->LongAt(row, 2));
        }
        resourcesHeld_ = true;
    }
    return preload ? MMLockAllCollections() : true;
}

void MMAnimationThread::ReleaseResources()
{
    if (!resourcesHeld_ || !script_)
        return;
    for (int32_t row = 0; row < RowCount(); ++row) {
        int16_t opcode = OpcodeAt(row);
        if (opcode == kOpSetPicture)
            MMReleasePicture(script_->LongAt(row, 2));
        else if (opcode == kOpPlaySound)
            MMReleaseSound(script_->LongAt(row, 2));
    }
    resourcesHeld_ = false;
}
