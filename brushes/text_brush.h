#pragma once
// The text tools' brush: the dragged rectangle places the text box, and the
// next click paints the box's text into the canvas.
#include <cstdint>

#include "brushes/brush_base.h"

// What the brush needs of the text box on the canvas.
class KVXTextBox {
public:
    virtual ~KVXTextBox() = default;
    // Moves the box to a stage rectangle, clipped to the canvas area.
    virtual void PlaceBox(const Box& box) = 0;
    virtual void TakeFocus() = 0;
    // Gives the keyboard focus back to the stage's control window.
    virtual void FocusStage() = 0;
    virtual void Hide() = 0;
    // Selects all the text and applies the stored format again.
    virtual void ReapplyFormat() = 0;
    virtual void RenderIntoCanvas(KVXPlaneComponent& plane, int16_t x, int16_t y) = 0;
};

class KVXBrushText : public BrushBase {
public:
    static constexpr int32_t kSmallestBox = 32;

    KVXBrushText(KVXPlaneComponent* plane, KVXTextBox* textBox) : plane(plane), textBox(textBox) {}

    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab*) override {}
    void EndStroke(const BrushDab*) override {}
    void Dab(const BrushDab*) override {}
    void SetPathGenerator(PathGeneratorBase*) override {}

    // Canvas coordinates of the rubber band.
    void PlaceTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom);

    int16_t textX = 0;
    int16_t textY = 0;

private:
    KVXPlaneComponent* plane;
    KVXTextBox* textBox;
};
