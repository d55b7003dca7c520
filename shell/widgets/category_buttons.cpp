#include "shell/widgets/category_buttons.h"

#include <algorithm>

#include "engine/command.h"
#include "engine/scene.h"

MPSelectionAnimationMolecule::MPSelectionAnimationMolecule(MMBaseScene* scene,
                                                           MMResourceId scriptId,
                                                           int16_t resourceMode,
                                                           MMAnimationThread* thread)
    : KVXAnimationMolecule(scene, scriptId, resourceMode,
                           EnsureAnimationThread(scene->Stage(), thread))
{
}

MPCategoryInterpreter::MPCategoryInterpreter(MMStage* stage, MPCategoryAdapter* adapter,
                                             MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, nullptr, cursor), adapter(adapter)
{
}

bool MPCategoryInterpreter::Interpret(const MMStageEvent& event)
{
    if (!enabled)
        return pressed;
    if (pressed) {
        if (event.data & kPointerReleased) {
            if (adapter->ContainsPoint(event.x, event.y))
                adapter->Choose();
            else
                adapter->ShowReleased();
            pressed = false;
        }
    } else if ((event.data & kPointerPressed) && !(event.data & kPointerDoubleClick) &&
               adapter->ContainsPoint(event.x, event.y)) {
        adapter->ShowPressed();
        pressed = true;
    }
    return pressed;
}

void MPCategoryInterpreter::CurrentCursor()
{
    if (!enabled)
        return;
    MMMouseInterpreter::CurrentCursor();
    adapter->ShowHover();
}

void MPCategoryInterpreter::CaptureLost()
{
    if (enabled)
        adapter->ShowNormal();
    MMStandardMouseInterpreter::CaptureLost();
}

MPCategoryMolecule::MPCategoryMolecule(MMBaseScene* scene, MMResourceId scriptId,
                                       int16_t resourceMode, MMAnimationThread* thread)
    : MPSelectionAnimationMolecule(scene, scriptId, resourceMode, thread)
{
    SetInterpreter(new MPCategoryInterpreter(Stage(), this, nullptr));
    Thread()->SetPriority(98);
    SetCommand(1, new MMClassCommand<MPCategoryMolecule>("Category Select Done Cmd", Stage(), this,
                                                         &MPCategoryMolecule::EnableInput));
    MPCategoryMolecule::SetSelected(false);
    Run(1);
}

MPCategoryInterpreter* MPCategoryMolecule::CategoryInterpreter() const
{
    return dynamic_cast<MPCategoryInterpreter*>(Interpreter());
}

void MPCategoryMolecule::DisableInput()
{
    if (MPCategoryInterpreter* interpreter = CategoryInterpreter())
        interpreter->SetEnabled(false);
}

void MPCategoryMolecule::EnableInput()
{
    if (MPCategoryInterpreter* interpreter = CategoryInterpreter())
        interpreter->SetEnabled(true);
}

bool MPCategoryMolecule::SetSelected(bool flag)
{
    if (!flag && selected) {
        Run(1);
        Deselected();
    }
    selected = flag;
    if (flag) {
        DisableInput();
        Run(6);
    }
    return true;
}

bool MPCategoryMolecule::ContainsPoint(int32_t x, int32_t y)
{
    return KVXAnimationContainsPoint(*this, {x, y});
}

void MPCategoryMolecule::ShowPressed() { Run(5); }

void MPCategoryMolecule::ShowReleased() { Run(1); }

void MPCategoryMolecule::Choose()
{
    if (selected)
        return;
    Run(3);
    MPSelection::SetSelected(true);
    // A button used alone has no group to tell.
    if (group)
        group->Select(this, false);
    DisableInput();
}

void MPCategoryMolecule::ShowHover()
{
    if (!selected)
        Run(4);
}

void MPCategoryMolecule::ShowNormal()
{
    if (selected)
        return;
    Run(KVXScriptHasLabel(*this, 44) ? 44 : 1);
}

MPGroupMolecule::~MPGroupMolecule() { DeleteAll(); }

MMMolecule* MPGroupMolecule::Remove(MMMolecule* member)
{
    auto found = std::find(members.begin(), members.end(), member);
    if (found == members.end())
        return nullptr;
    members.erase(found);
    return member;
}

void MPGroupMolecule::DeleteAll()
{
    while (!members.empty()) {
        MMMolecule* member = members.back();
        members.pop_back();
        delete member;
    }
}

void MPRadioGroupMolecule::Add(MPSelectionAnimationMolecule* member)
{
    MPGroupMolecule::Add(member);
    member->SetGroup(this);
}

MPSelectionAnimationMolecule* MPRadioGroupMolecule::MemberAt(int32_t index) const
{
    if (index < 0 || index >= int32_t(members.size()))
        return nullptr;
    return dynamic_cast<MPSelectionAnimationMolecule*>(members[index]);
}

bool MPRadioGroupMolecule::Select(MPSelectionAnimationMolecule* member, bool flag)
{
    for (size_t i = 0; i < members.size(); ++i) {
        MPSelectionAnimationMolecule* other = MemberAt(int32_t(i));
        if (!other)
            continue;
        bool accepted = other == member ? (!flag || other->SetSelected(true))
                                        : other->SetSelected(false);
        if (!accepted)
            return false;
    }
    return true;
}

bool MPRadioGroupMolecule::SelectIndex(int32_t index, bool flag)
{
    return Select(MemberAt(index), flag);
}

bool MPRadioGroupMolecule::IsSelectedAt(int32_t index) const
{
    MPSelectionAnimationMolecule* member = MemberAt(index);
    return member && member->IsSelected();
}
