#include "shell/widgets/animation_thread.h"

#include "media/picture_visual.h"
#include "shell/app.h"
#include "shell/widgets/animated_button.h"

void KVXAnimationThread::OnSleep()
{
    ClearTiming();
    if (ResourceMode() == kResourcesWhilePlaying)
        ReleaseResources();
}

void KVXAnimationThread::Step()
{
    auto* button = dynamic_cast<KVXAnimatedButtonMolecule*>(Molecule());
    if (!button || AtEnd() || OpcodeAt(position_) != kOpPlaySound) {
        MMAnimationThread::Step();
        return;
    }
    if (button->SoundOnNextPlay())
        MMAnimationThread::Step();
    else
        ++position_;
    button->SetSoundOnNextPlay(true);
}

MMAnimationThread* EnsureAnimationThread(MMStage* stage, MMAnimationThread* thread)
{
    return thread ? thread : new KVXAnimationThread(stage);
}

bool KVXAnimationContainsPoint(const MMAnimationMolecule& molecule, const Pair& point)
{
    for (int16_t i = int16_t(molecule.VisualCount() - 1); i >= 0; --i) {
        MMPictureBasedVisual* visual = molecule.Visual(i);
        if (!visual->IsHidden() && visual->ContainsPoint(point.x, point.y))
            return true;
    }
    return false;
}

bool KVXScriptHasLabel(const MMAnimationMolecule& molecule, int16_t label)
{
    const MMRecordTable& script = molecule.Script();
    for (int32_t row = 0; row < script.RowCount(); ++row) {
        if (script.ShortAt(row, 0) == MMScriptedAnimationContext::kOpFrame &&
            script.ShortAt(row, 2) == label)
            return true;
    }
    return false;
}

MMCursor* KVXAppCursor(int16_t n)
{
    return gApp ? gApp->GetCursor(n) : nullptr;
}
