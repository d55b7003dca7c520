#pragma once
// Category buttons: chosen with a click, they play their selection animation
// with the mouse ignored until the script's event 1, then stay selected until
// someone deselects them. Selection markers, and the molecule groups that
// keep one member of a radio group selected.
#include <cstdint>
#include <vector>

#include "engine/mouse_interpreter.h"
#include "shell/widgets/animation_thread.h"

class MPRadioGroupMolecule;

class MPSelection {
public:
    virtual ~MPSelection() = default;
    virtual bool IsSelected() { return selected; }
    virtual bool SetSelected(bool flag)
    {
        selected = flag;
        return true;
    }

protected:
    bool selected = false;
};

class MPSelectionAnimationMolecule : public KVXAnimationMolecule, public MPSelection {
public:
    MPSelectionAnimationMolecule(MMBaseScene* scene, MMResourceId scriptId, int16_t resourceMode,
                                 MMAnimationThread* thread = nullptr);

    void SetGroup(MPRadioGroupMolecule* newGroup) { group = newGroup; }
    MPRadioGroupMolecule* Group() const { return group; }

protected:
    MPRadioGroupMolecule* group = nullptr;
};

class MPCategoryAdapter {
public:
    virtual bool ContainsPoint(int32_t x, int32_t y) = 0;
    virtual void ShowPressed() = 0;
    virtual void ShowReleased() = 0;
    virtual void Choose() = 0;
    virtual void ShowHover() = 0;
    virtual void ShowNormal() = 0;

protected:
    ~MPCategoryAdapter() = default;
};

class MPCategoryInterpreter : public MMStandardMouseInterpreter {
public:
    MPCategoryInterpreter(MMStage* stage, MPCategoryAdapter* adapter, MMCursor* cursor);

    bool Interpret(const MMStageEvent& event) override;
    void CurrentCursor() override;
    void CaptureLost() override;

    void SetEnabled(bool flag) { enabled = flag; }
    bool IsEnabled() const { return enabled; }
    bool IsPressed() const { return pressed; }

private:
    MPCategoryAdapter* adapter;
    bool pressed = false;
    bool enabled = true;
};

class MPCategoryMolecule : public MPSelectionAnimationMolecule, public MPCategoryAdapter {
public:
    MPCategoryMolecule(MMBaseScene* scene, MMResourceId scriptId, int16_t resourceMode,
                       MMAnimationThread* thread = nullptr);

    virtual void DisableInput();
    virtual void EnableInput();
    virtual void Deselected() { EnableInput(); }
    bool SetSelected(bool flag) override;

    bool ContainsPoint(int32_t x, int32_t y) override;
    void ShowPressed() override;
    void ShowReleased() override;
    void Choose() override;
    void ShowHover() override;
    void ShowNormal() override;

    MPCategoryInterpreter* CategoryInterpreter() const;
};

class MPGroupMolecule : public MMMolecule {
public:
    using MMMolecule::MMMolecule;
    ~MPGroupMolecule() override;

    void Add(MMMolecule* member) { members.push_back(member); }
    // The member taken out, or null when it is not in the group.
    MMMolecule* Remove(MMMolecule* member);
    void DeleteAll();
    const std::vector<MMMolecule*>& Members() const { return members; }

protected:
    std::vector<MMMolecule*> members;
};

class MPRadioGroupMolecule : public MPGroupMolecule {
public:
    using MPGroupMolecule::MPGroupMolecule;

    void Add(MPSelectionAnimationMolecule* member);
    // Every other member is deselected, the chosen one selected when flag is
    // set; false when a member refused and the walk stopped.
    virtual bool Select(MPSelectionAnimationMolecule* member, bool flag);
    virtual bool SelectIndex(int32_t index, bool flag);
    bool IsSelectedAt(int32_t index) const;

private:
    MPSelectionAnimationMolecule* MemberAt(int32_t index) const;
};
