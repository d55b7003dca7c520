#include "stamps/stamp_drawer_molecule.h"

#include "engine/enclosure.h"
#include "engine/record_table.h"
#include "media/visual.h"
#include "shell/widgets/animation_thread.h"

namespace {

const int16_t kHitBoxLayer = 104;
const int32_t kDrawerPriority = 260;

}  // namespace

KVXStampDrawerMolecule::KVXStampDrawerMolecule(MMBaseScene* scene, const Box& box,
                                               MMResourceId script)
    : MMMolecule(scene)
{
    interpreter = new KVXStampDrawerInterpreter(Stage(), this, box);
    hitBox = new MMBoxVisual(box, kHitBoxLayer);
    hitBox->SetMouseInterpreter(interpreter);
    hitBox->SetHidden(true);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(hitBox);
    MMAnimationThread* thread = new KVXAnimationThread(Stage());
    thread->SetPriority(kDrawerPriority);
    if (script == -1)
        script = MMItemOfRow(734, kDrawerScriptRow);
    animation = new KVXAnimationMolecule(
        scene, script, MMAnimationResourceUsage::kResourcesWhileAttached, thread);
}

KVXStampDrawerMolecule::~KVXStampDrawerMolecule()
{
    interpreter->ReleaseCapture();
    hitBox->SetMouseInterpreter(nullptr);
    delete interpreter;
    if (MMEnclosure* enclosure = hitBox->Enclosure())
        enclosure->RemoveVisual(hitBox);
    delete hitBox;
    delete animation;
}

void KVXStampDrawerMolecule::RestartAnimation(int16_t start)
{
    lastStart = start;
    animation->Restart(start);
}

void KVXStampDrawerMolecule::ShowHitBox(bool shown)
{
    hitBox->SetHidden(!shown);
}

void KVXStampDrawerMolecule::ShowThenHide(void (KVXStampDrawerState::*rack)())
{
    if (animation->IsHidden())
        animation->Show();
    (this->*rack)();
    RestartAnimation(kStampsRackPressed);
    if (!animation->IsHidden())
        animation->Hide();
}

void KVXStampDrawerMolecule::Reset()
{
    ShowThenHide(&KVXStampDrawerState::ShowStampsRack);
}

void KVXStampDrawerMolecule::Close(bool drawerAnimationRunning)
{
    if (drawerAnimationRunning)
        return;
    ShowThenHide(&KVXStampDrawerState::ShowToolsRack);
}

void KVXStampDrawerMolecule::HideAnimation()
{
    if (!animation->IsHidden())
        animation->Hide();
}
