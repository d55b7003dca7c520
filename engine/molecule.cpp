#include "engine/molecule.h"

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/mouse_interpreter.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "engine/stage_window.h"
#include "framework/callbacks.h"
#include "media/enclosure_visual.h"
#include "media/visual.h"

MMMolecule::MMMolecule(MMBaseScene* scene) : scene_(scene)
{
    if (scene_)
        scene_->AddMolecule(this);
}

MMMolecule::~MMMolecule()
{
    if (scene_)
        scene_->RemoveMolecule(this);
}

void MMMolecule::Show() { hidden_ = false; }
void MMMolecule::Hide() { hidden_ = true; }

MMMolecule* MMMolecule::FocusedMolecule() { return hasFocus_ ? this : nullptr; }

MMStage* MMMolecule::Stage() const { return scene_ ? scene_->Stage() : nullptr; }
MMEnclosure* MMMolecule::Enclosure() const { return scene_ ? scene_->TopEnclosure() : nullptr; }

void MMMolecule::TakeFocus()
{
    if (scene_)
        scene_->SetFocus(this);
}

MMCommand* MMMolecule::MakeShowCommand()
{
    return new MMClassCommand<MMMolecule>("Show molecule", Stage(), this, &MMMolecule::Show);
}

MMCommand* MMMolecule::MakeHideCommand()
{
    return new MMClassCommand<MMMolecule>("Hide molecule", Stage(), this, &MMMolecule::Hide);
}

MMCommand* MMMolecule::MakeFocusCommand()
{
    typedef void (MMBaseScene::*SetFocusMethod)(MMMolecule*);
    return new MMClassCommand1Parameter<MMBaseScene, SetFocusMethod, MMMolecule*>(
        "Focus molecule", Stage(), scene_, &MMBaseScene::SetFocus, this);
}

void MMMolecule::RunOnWindowThread(AFCallback* callback)
{
    MMStage* stage = Stage();
    MMStageWindow* window = stage ? stage->Window() : nullptr;
    if (window)
        window->RunOnWindowThread(callback);
    else
        delete callback;
}

MMVisualMolecule::MMVisualMolecule(MMBaseScene* scene, MMVisual* visual)
    : MMMolecule(scene), visual_(visual)
{
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual_);
}

MMVisualMolecule::~MMVisualMolecule()
{
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(visual_);
    delete visual_;
}

void MMVisualMolecule::Show()
{
    if (visual_)
        visual_->SetHidden(false);
    hidden_ = false;
}

void MMVisualMolecule::Hide()
{
    if (visual_)
        visual_->SetHidden(true);
    hidden_ = true;
}

MMMouseVisualMolecule::MMMouseVisualMolecule(MMBaseScene* scene, MMCommand* command,
                                             const Box& box, int16_t layer, MMCursor* cursor)
    : MMVisualMolecule(scene, new MMBoxVisual(box, layer))
{
    interpreter_ = new MMHotSpotInterpreter(Stage(), visual_, command, cursor);
    visual_->SetMouseInterpreter(interpreter_);
}

MMMouseVisualMolecule::MMMouseVisualMolecule(MMBaseScene* scene,
                                             MMStandardMouseInterpreter* interpreter,
                                             const Box& box, int16_t layer)
    : MMMouseVisualMolecule(scene, interpreter, new MMBoxVisual(box, layer))
{
}

MMMouseVisualMolecule::MMMouseVisualMolecule(MMBaseScene* scene,
                                             MMStandardMouseInterpreter* interpreter,
                                             MMVisual* visual)
    : MMVisualMolecule(scene, visual), interpreter_(interpreter)
{
    visual_->SetMouseInterpreter(interpreter_);
    // Both hot-spot families take the molecule's visual as their hot spot;
    // a highlight interpreter keeps a highlightable it was given.
    if (MMHotSpotInterpreter* hotSpot = dynamic_cast<MMHotSpotInterpreter*>(interpreter_))
        hotSpot->SetHotSpot(visual_);
    else if (auto* highlight = dynamic_cast<MMHighlightHotSpotInterpreter*>(interpreter_))
        highlight->SetHotSpot(visual_, highlight->Highlightable());
}

MMMouseVisualMolecule::~MMMouseVisualMolecule()
{
    if (interpreter_) {
        interpreter_->ReleaseCapture();
        delete interpreter_;
    }
}

void MMMouseVisualMolecule::Hide()
{
    if (interpreter_)
        interpreter_->ReleaseCapture();
    MMVisualMolecule::Hide();
}

MMChildWindowMolecule::MMChildWindowMolecule(MMBaseScene* scene, MMChildWindowObject* child)
    : MMMolecule(scene), child_(child)
{
    MMEnclosure* enclosure = Enclosure();
    child_->SetHost(this);
    mainVisual_ = child_->MakeMainVisual();
    if (enclosure && mainVisual_)
        enclosure->AddVisual(mainVisual_);
    secondVisual_ = child_->MakeSecondVisual();
    if (enclosure && secondVisual_)
        enclosure->AddVisual(secondVisual_);
    for (int32_t kind = kNotifyStagePaused; kind <= kNotifyFrameDone; ++kind)
        scene_->AddNotificationRegistration(this, kind);
    child_->Start();
}

MMChildWindowMolecule::~MMChildWindowMolecule()
{
    for (int32_t kind = kNotifyStagePaused; kind <= kNotifyFrameDone; ++kind)
        scene_->RemoveNotificationRegistration(this, kind);
    child_->Stop();
    delete child_;
    MMEnclosure* enclosure = Enclosure();
    for (MMVisual* visual : {secondVisual_, mainVisual_}) {
        if (!visual)
            continue;
        if (enclosure)
            enclosure->RemoveVisual(visual);
        delete visual;
    }
}

void MMChildWindowMolecule::Show()
{
    hidden_ = false;
    for (MMVisual* visual : {mainVisual_, secondVisual_})
        if (visual)
            visual->SetHidden(false);
}

void MMChildWindowMolecule::Hide()
{
    hidden_ = true;
    for (MMVisual* visual : {mainVisual_, secondVisual_})
        if (visual)
            visual->SetHidden(true);
}

MMMolecule* MMChildWindowMolecule::FocusedMolecule()
{
    if (!hasFocus_)
        return nullptr;
    MMMolecule* inner = child_->FocusObject();
    return inner ? inner->FocusedMolecule() : this;
}

void MMChildWindowMolecule::StagePaused() { child_->StagePaused(); }
void MMChildWindowMolecule::StageResumed() { child_->StageResumed(); }
void MMChildWindowMolecule::FrameStarting() { child_->FrameStarting(); }
void MMChildWindowMolecule::FrameDone() { child_->FrameDone(); }

MMVisual* MMChildWindowObject::MakeCoverVisual()
{
    MMEnclosure* top = host_ ? host_->Enclosure() : nullptr;
    Box bounds = top ? top->GetBounds() : Box{0, 0, 0, 0};
    return new MMBoxVisual(bounds, 9999);
}

MMVisual* MMChildWindowObject::MakeChildWindowVisual()
{
    MMEnclosure* top = host_ ? host_->Enclosure() : nullptr;
    Box bounds = top ? top->GetBounds() : Box{0, 0, 0, 0};
    MMChildWindowVisual* visual = new MMChildWindowVisual(new MMChildEnclosure);
    visual->SetBox(bounds);
    visual->SetLayer(10000);
    return visual;
}
