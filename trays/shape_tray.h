#pragma once
// The shape tray: ellipses, rectangles and triangles (the manager's shape
// buttons choose which, only the ellipse may be chosen) painted as an
// outline, and globs in the twisted mode. The buttons of mode 0 show the
// current shape; the first slider hides while the second stands at 256 or
// more.
#include <cstdint>

#include "trays/tool_collection.h"

class MMPictureMolecule;

class KVXShapeToolCollection : public KVXToolCollection {
public:
    KVXShapeToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                           KVXPlaneComponentTop* previewPlane, MMBitmapWithPixels* previewBitmapA,
                           MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void ReleaseModifiers() override;
    KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                               int16_t toolIndex) override;
    void SelectModifier(int16_t index) override;
    void SetSizeType(int16_t type) override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;
    void StoreOwnerValue(const uint32_t* colour) override;

    int16_t Shape() const { return shape; }
    int16_t LearnedSlider(int16_t which) const { return learned[which & 1]; }

private:
    void LearnSliderValues();
    void ShowFirstSlider(bool shown);
    void FollowSecondSlider();
    void DeleteDecorations();

    int16_t shape = 0;
    int16_t lastModifier[3] = {0, 0, 0};
    int16_t learned[2] = {-1, -1};
    MMPictureMolecule* decorations[2] = {nullptr, nullptr};
};
