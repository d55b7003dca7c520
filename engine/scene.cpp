#include "engine/scene.h"

#include <algorithm>

#include "engine/enclosure.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "media/visual.h"

MMBaseScene::MMBaseScene() = default;
MMBaseScene::~MMBaseScene() = default;

void MMBaseScene::AddMolecule(MMMolecule* molecule) { molecules_.push_back(molecule); }

void MMBaseScene::RemoveMolecule(MMMolecule* molecule)
{
    if (focus_ == molecule) {
        molecule->LoseFocus();
        focus_ = nullptr;
    }
    molecules_.erase(std::remove(molecules_.begin(), molecules_.end(), molecule),
                     molecules_.end());
    // A deleted molecule must not be notified later.
    registrations_.erase(std::remove_if(registrations_.begin(), registrations_.end(),
                                        [molecule](const NotificationRegistration& r) {
                                            return r.molecule == molecule;
                                        }),
                         registrations_.end());
}

void MMBaseScene::SetFocus(MMMolecule* molecule)
{
    MMMolecule* old = focus_;
    if (old)
        old->LoseFocus();
    if (!old && molecule)
        TakeKeyboardFocus();
    focus_ = molecule;
    if (molecule)
        molecule->GainFocus();
}

void MMBaseScene::DeleteMolecules()
{
    while (!molecules_.empty()) {
        MMMolecule* first = molecules_.front();
        delete first;
        // A molecule whose destructor did not leave the list must not loop forever.
        if (!molecules_.empty() && molecules_.front() == first)
            molecules_.erase(molecules_.begin());
    }
}

bool MMBaseScene::FindTarget(const MMStageEvent& event, MMMouseInterpreter** interpreter,
                             MMEnclosure** enclosure)
{
    MMEnclosure* top = TopEnclosure();
    MMVisual* visual = top ? top->FindVisualAt(Pair{event.x, event.y}) : nullptr;
    if (!visual)
        return false;
    *interpreter = visual->GetMouseInterpreter();
    *enclosure = visual->Enclosure();
    return true;
}

bool MMBaseScene::HandleKey(uint32_t keyData) { return focus_ && focus_->HandleKey(keyData); }

bool MMBaseScene::HandleMenuCommand(int32_t id) { return focus_ && focus_->HandleMenuCommand(id); }

void MMBaseScene::AddNotificationRegistration(MMMolecule* molecule, int32_t kind)
{
    registrations_.push_back(NotificationRegistration{molecule, kind});
}

void MMBaseScene::RemoveNotificationRegistration(MMMolecule* molecule, int32_t kind)
{
    for (auto it = registrations_.begin(); it != registrations_.end(); ++it) {
        if (it->molecule == molecule && it->kind == kind) {
            registrations_.erase(it);
            return;
        }
    }
}

bool MMBaseScene::HasNotificationRegistration(MMMolecule* molecule, int32_t kind) const
{
    for (const NotificationRegistration& r : registrations_) {
        if (r.molecule == molecule && r.kind == kind)
            return true;
    }
    return false;
}

bool MMBaseScene::HasAnyNotificationRegistration(MMMolecule* molecule) const
{
    for (const NotificationRegistration& r : registrations_) {
        if (r.molecule == molecule)
            return true;
    }
    return false;
}

// Walks a copy, so handlers may add or remove registrations; one removed
// during the loop is not called any more.
void MMBaseScene::Notify(int32_t kind)
{
    std::vector<NotificationRegistration> snapshot = registrations_;
    notifying_ = true;
    for (const NotificationRegistration& r : snapshot) {
        if (r.kind != kind || !HasNotificationRegistration(r.molecule, kind))
            continue;
        switch (kind) {
        case kNotifyStagePaused: r.molecule->StagePaused(); break;
        case kNotifyStageResumed: r.molecule->StageResumed(); break;
        case kNotifyFrameStarting: r.molecule->FrameStarting(); break;
        case kNotifyFrameDone: r.molecule->FrameDone(); break;
        }
    }
    notifying_ = false;
}

void MMBaseScene::NotifyStagePaused() { Notify(kNotifyStagePaused); }
void MMBaseScene::NotifyStageResumed() { Notify(kNotifyStageResumed); }
void MMBaseScene::NotifyFrameStarting() { Notify(kNotifyFrameStarting); }
void MMBaseScene::NotifyFrameDone() { Notify(kNotifyFrameDone); }

MMScene::MMScene(MMStage* stage) : stage_(stage)
{
    if (stage_)
        stage_->AddScene(this);
}

MMScene::~MMScene()
{
    if (stage_)
        stage_->RemoveScene(this);
}

MMEnclosure* MMScene::TopEnclosure()
{
    if (!stage_)
        return nullptr;
    return stage_->TopEnclosure();
}

void MMScene::TakeKeyboardFocus()
{
    if (stage_ && stage_->Control() && stage_->Control()->Window())
        ::SetFocus(stage_->Control()->Window());
}
