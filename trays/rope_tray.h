#pragma once
// The rope's tray: three rope buttons of which only the rectangle may be
// chosen, a filter button that gives the floating selection (or the whole
// picture) the impressionist effect at the second slider's strength, and
// a twist that switches the rope's mode without rebuilding the buttons.
#include <cstdint>

#include "trays/tool_collection.h"

class KVXAnimatedButtonMolecule;
class KVXBaseRopeToolInterpreter;
class MMPictureMolecule;

class KVXRopeToolCollection : public KVXToolCollection {
public:
    KVXRopeToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                          KVXPlaneComponentTop* previewPlane, MMBitmapWithPixels* previewBitmapA,
                          MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void DeleteMolecules() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void ReleaseModifiers() override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;

    // "HandleFilterButton": the impressionist effect at slider 2's value.
    void HandleFilterButton();
    // The rope interpreter on the canvas while the rope tool is current.
    KVXBaseRopeToolInterpreter* RopeInterpreter() const;
    KVXAnimatedButtonMolecule* FilterButton() const { return filterButton; }
    // The floating selection put down and its controls dropped.
    void PutDownSelection();

private:
    void DeleteDecorations();

    KVXAnimatedButtonMolecule* filterButton = nullptr;
    MMPictureMolecule* decorations[2] = {nullptr, nullptr};
};
