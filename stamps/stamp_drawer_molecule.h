#pragma once
// The animated cabinet at the left of the painting screen from which the
// stamp buttons come out: its animation shows the rack it presents (stamps
// or tools), pressed and released.
#include "engine/molecule.h"
#include "engine/resource_collection.h"
#include "stamps/stamp_drawer.h"

class KVXAnimationMolecule;
class MMBoxVisual;

// The drawer's animation script: row 42 of the painting screen's table 734.
enum : int16_t { kDrawerScriptRow = 42 };

class KVXStampDrawerMolecule : public MMMolecule, public KVXStampDrawerState {
public:
    // The script -1 is read from table 734.
    KVXStampDrawerMolecule(MMBaseScene* scene, const Box& box, MMResourceId script = -1);
    ~KVXStampDrawerMolecule() override;

    void Reset();
    // Skipped while the drawer's opening or closing runs (running true).
    void Close(bool drawerAnimationRunning);
    void HideAnimation();

    KVXAnimationMolecule* Animation() const { return animation; }
    KVXStampDrawerInterpreter* Interpreter() const { return interpreter; }
    MMBoxVisual* HitBox() const { return hitBox; }
    int16_t LastStart() const { return lastStart; }

protected:
    void RestartAnimation(int16_t start) override;
    void ShowHitBox(bool shown) override;

private:
    void ShowThenHide(void (KVXStampDrawerState::*rack)());

    KVXStampDrawerInterpreter* interpreter = nullptr;
    MMBoxVisual* hitBox = nullptr;
    KVXAnimationMolecule* animation = nullptr;
    int16_t lastStart = 0;
};
