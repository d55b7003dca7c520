#include "engine/animation_molecule.h"

#include <climits>
#include <cstdio>

#include "engine/enclosure.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/enclosure_visual.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"

MMAnimationInterpreter::MMAnimationInterpreter(MMStage* stage, MMAnimationMolecule* molecule,
                                               MMCommand* command)
    : MMStandardMouseInterpreter(stage, command, nullptr), molecule_(molecule)
{
}

bool MMAnimationInterpreter::Interpret(const MMStageEvent& event)
{
    if (event.data & kPointerPressed)
        PostCommand();
    return false;
}

MMAnimationMolecule::MMAnimationMolecule(MMBaseScene* scene, MMResourceId scriptId, int16_t mode,
                                         MMAnimationThread* thread)
    : MMMolecule(scene), thread_(thread), scriptId_(scriptId), mode_(mode)
{
    script_.Load(scriptId, kScriptRowSize, gDefaultHeap);
    if (!thread_)
        thread_ = new MMAnimationThread(Stage());
    SetUpFromScript();
    thread_->AttachMolecule(this);
    if (MMEnclosure* enclosure = VisualsEnclosure()) {
        for (int16_t i = 0; i < visualCount_; ++i)
            enclosure->AddVisual(visuals_[i]);
    }
    if (scene_)
        scene_->AddNotificationRegistration(this, kNotifyFrameDone);
}

MMAnimationMolecule::~MMAnimationMolecule()
{
    if (scene_)
        scene_->RemoveNotificationRegistration(this, kNotifyFrameDone);
    if (interpreter_)
        interpreter_->ReleaseCapture();
    Stop();
    if (MMEnclosure* enclosure = VisualsEnclosure()) {
        for (int16_t i = 0; i < visualCount_; ++i)
            enclosure->RemoveVisual(visuals_[i]);
    }
    delete thread_;
    thread_ = nullptr;
    for (int16_t i = 0; i < visualCount_; ++i)
        visuals_[i]->SetMouseInterpreter(nullptr);
    delete interpreter_;
    interpreter_ = nullptr;
    eventCommands_.Clear();
    delete doneCommand_;
    doneCommand_ = nullptr;
    for (int16_t i = 0; i < channelCount_; ++i) {
        channels_[i]->Stop();
        delete channels_[i];
    }
    delete[] channels_;
    for (int16_t i = 0; i < visualCount_; ++i)
        delete visuals_[i];
    delete[] visuals_;
    if (enclosureVisual_) {
        if (MMEnclosure* parent = enclosureVisual_->Enclosure())
            parent->RemoveVisual(enclosureVisual_);
        delete enclosureVisual_;
    }
    script_.Free();
}

int32_t MMAnimationMolecule::HeaderRow(int16_t opcode) const
{
    return script_.FindRowByKey(opcode);
}

int16_t MMAnimationMolecule::HeaderValue(int16_t opcode) const
{
    int32_t row = HeaderRow(opcode);
    return row >= 0 ? script_.ShortAt(row, 2) : int16_t(0);
}

MMEnclosure* MMAnimationMolecule::VisualsEnclosure() const
{
    if (enclosureVisual_)
        return enclosureVisual_->Child();
    return Enclosure();
}

void MMAnimationMolecule::SetUpFromScript()
{
    if (HeaderRow(kOpEnclosure) >= 0) {
        enclosureVisual_ = new MMEnclosureVisual(new MMChildEnclosure);
        enclosureVisual_->SetLayer(HeaderValue(kOpEnclosureLayer));
        if (MMEnclosure* top = Enclosure())
            top->AddVisual(enclosureVisual_);
    }
    int16_t visuals = HeaderValue(kOpVisualCount);
    visualCount_ = visuals > 0 ? visuals : 0;
    visuals_ = new MMPictureBasedVisual*[visualCount_];
    for (int16_t i = 0; i < visualCount_; ++i) {
        MMPictureBasedVisual* visual = thread_->CreateVisual(i);
        visual->SetHidden(true);
        visual->SetLayer(int16_t(i + 1));
        visual->SetPosition(0, 0);
        visuals_[i] = visual;
    }
    MMSoundManager* manager = Stage() ? Stage()->SoundManager() : nullptr;
    int16_t channels = manager ? HeaderValue(kOpChannelCount) : int16_t(0);
    channelCount_ = channels > 0 ? channels : 0;
    channels_ = new MMGenericSoundChannel*[channelCount_];
    for (int16_t i = 0; i < channelCount_; ++i)
        channels_[i] = new MMGenericSoundChannel(manager);
}

void MMAnimationMolecule::Show()
{
    MMMolecule::Show();
    if (!IsRunning())
        Run(1);
}

void MMAnimationMolecule::Hide()
{
    if (IsRunning())
        Stop();
    if (interpreter_)
        interpreter_->ReleaseCapture();
    MMMolecule::Hide();
}

void MMAnimationMolecule::FrameDone() { thread_->FrameDone(); }

void MMAnimationMolecule::Run(int16_t start)
{
    thread_->Goto(start);
    if (IsRunning())
        thread_->SleepFor(0);
    else
        thread_->Activate();
}

void MMAnimationMolecule::Restart(int16_t start)
{
    if (IsRunning())
        thread_->Terminate();
    thread_->Goto(start);
    thread_->Activate();
}

void MMAnimationMolecule::Stop()
{
    if (thread_ && IsRunning())
        thread_->Terminate();
}

void MMAnimationMolecule::Sleep() { thread_->SleepUntil(INT_MAX); }

void MMAnimationMolecule::WakeUp() { thread_->SleepFor(0); }

bool MMAnimationMolecule::IsRunning() const { return thread_->State() != kMMThreadInactive; }

bool MMAnimationMolecule::IsAsleep() const
{
    return thread_->WakeTime() == INT_MAX && !thread_->Semaphore();
}

MMPictureBasedVisual* MMAnimationMolecule::Visual(int16_t index) const
{
    return index >= 0 && index < visualCount_ ? visuals_[index] : nullptr;
}

void MMAnimationMolecule::HideVisual(int16_t index)
{
    if (MMPictureBasedVisual* visual = Visual(index))
        visual->SetHidden(true);
}

void MMAnimationMolecule::ShowVisual(int16_t index)
{
    if (MMPictureBasedVisual* visual = Visual(index))
        visual->SetHidden(false);
}

bool MMAnimationMolecule::IsVisualHidden(int16_t index) const
{
    MMPictureBasedVisual* visual = Visual(index);
    return !visual || visual->IsHidden();
}

MMGenericSoundChannel* MMAnimationMolecule::SoundChannel(int16_t index) const
{
    return index >= 0 && index < channelCount_ ? channels_[index] : nullptr;
}

void MMAnimationMolecule::SetOffset(int32_t x, int32_t y) { thread_->SetOffset(x, y); }

Pair MMAnimationMolecule::Offset() const { return thread_->Offset(); }

void MMAnimationMolecule::SetLayerOffset(int16_t layerOffset)
{
    thread_->SetLayerOffset(layerOffset);
}

int16_t MMAnimationMolecule::LayerOffset() const { return thread_->LayerOffset(); }

void MMAnimationMolecule::SetCommand(int16_t event, MMCommand* command)
{
    if (!command)
        eventCommands_.Remove(event);
    else if (eventCommands_.Find(event))
        eventCommands_.Replace(event, command);
    else
        eventCommands_.Add(event, command);
}

MMCommand* MMAnimationMolecule::FindCommand(int16_t event) const
{
    return eventCommands_.Find(event);
}

void MMAnimationMolecule::SetDoneCommand(MMCommand* command)
{
    if (command != doneCommand_)
        delete doneCommand_;
    doneCommand_ = command;
}

void MMAnimationMolecule::SetMouseCommand(MMCommand* command)
{
    SetInterpreter(command ? new MMAnimationInterpreter(Stage(), this, command) : nullptr);
}

void MMAnimationMolecule::SetInterpreter(MMStandardMouseInterpreter* interpreter)
{
    if (interpreter_)
        interpreter_->ReleaseCapture();
    for (int16_t i = 0; i < visualCount_; ++i)
        visuals_[i]->SetMouseInterpreter(interpreter);
    if (interpreter_ != interpreter)
        delete interpreter_;
    interpreter_ = interpreter;
}

void MMAnimationMolecule::SetCursor(MMCursor* cursor)
{
    if (interpreter_)
        interpreter_->SetCursor(cursor);
}

int16_t MMAnimationMolecule::CommandPriority() const
{
    return int16_t(thread_->Priority() + 1);
}

MMCommand* MMAnimationMolecule::MakeGotoCommand(int16_t start)
{
    char name[80];
    std::snprintf(name, sizeof name, "Goto(%d) %s", start, thread_->Name());
    return new MMClassCommand1Parameter<MMAnimationMolecule, void (MMAnimationMolecule::*)(int16_t),
                                        int16_t>(name, Stage(), this, &MMAnimationMolecule::Run,
                                                 start, CommandPriority());
}

MMCommand* MMAnimationMolecule::MakeInterruptGotoCommand(int16_t start)
{
    char name[80];
    std::snprintf(name, sizeof name, "Interrupt & goto(%d) %s", start, thread_->Name());
    return new MMClassCommand1Parameter<MMAnimationMolecule, void (MMAnimationMolecule::*)(int16_t),
                                        int16_t>(name, Stage(), this, &MMAnimationMolecule::Restart,
                                                 start, CommandPriority());
}

MMCommand* MMAnimationMolecule::MakeStopCommand()
{
    char name[80];
    std::snprintf(name, sizeof name, "Stop %s", thread_->Name());
    return new MMClassCommand<MMAnimationMolecule>(name, Stage(), this, &MMAnimationMolecule::Stop,
                                                   CommandPriority());
}

MMCommand* MMAnimationMolecule::MakeSleepCommand()
{
    char name[80];
    std::snprintf(name, sizeof name, "Sleep %s", thread_->Name());
    return new MMClassCommand<MMAnimationMolecule>(name, Stage(), this,
                                                   &MMAnimationMolecule::Sleep, CommandPriority());
}

MMCommand* MMAnimationMolecule::MakeWakeUpCommand()
{
    char name[80];
    std::snprintf(name, sizeof name, "WakeUp %s", thread_->Name());
    return new MMClassCommand<MMAnimationMolecule>(name, Stage(), this,
                                                   &MMAnimationMolecule::WakeUp, CommandPriority());
}

MMCommand* MMAnimationMolecule::MakeSetOffsetCommand(int32_t x, int32_t y)
{
    char name[80];
    std::snprintf(name, sizeof name, "SetOffset(%d,%d) %s", int(x), int(y), thread_->Name());
    return new MMClassCommand2Parameters<MMAnimationMolecule,
                                         void (MMAnimationMolecule::*)(int32_t, int32_t), int32_t,
                                         int32_t>(name, Stage(), this,
                                                  &MMAnimationMolecule::SetOffset, x, y);
}

MMCommand* MMAnimationMolecule::MakeSetLayerOffsetCommand(int16_t layerOffset)
{
    char name[80];
    std::snprintf(name, sizeof name, "SetLayerOffset(%d) %s", layerOffset, thread_->Name());
    return new MMClassCommand1Parameter<MMAnimationMolecule, void (MMAnimationMolecule::*)(int16_t),
                                        int16_t>(name, Stage(), this,
                                                 &MMAnimationMolecule::SetLayerOffset,
                                                 layerOffset);
}
