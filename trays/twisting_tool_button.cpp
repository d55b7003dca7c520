#include "trays/twisting_tool_button.h"

#include "engine/command.h"

void KVXTwistingToolButton::Clicked()
{
    bool wasSelected = IsSelected();
    KVXAnimatedToolButtonMolecule::Clicked();
    if (!wasSelected)
        return;
    MMCommand* command = twisted ? SecondCommand() : FirstCommand();
    if (command == nullptr)
        return;
    command->Post();
    twisted = !twisted;
}

bool KVXTwistingToolButton::Reset()
{
    twisted = false;
    return KVXAnimatedToolButtonMolecule::Reset();
}
