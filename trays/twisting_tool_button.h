#pragma once
// A tool button through which the child reaches the tray's twisted tools:
// a click on the button of the tray already open posts its twist command,
// the next such click its untwist command, and so on. Choosing another
// tray resets the button, so a reopened tray starts untwisted.
#include "shell/widgets/animated_choice_buttons.h"

class KVXTwistingToolButton : public KVXAnimatedToolButtonMolecule {
public:
    using KVXAnimatedToolButtonMolecule::KVXAnimatedToolButtonMolecule;

    void Clicked() override;
    bool Reset() override;

    bool IsTwisted() const { return twisted; }

private:
    bool twisted = false;
};
