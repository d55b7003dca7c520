#include "brushes/text_brush.h"

#include "canvas/canvas_scene.h"

void KVXBrushText::BeginStroke(const BrushDab*)
{
    textBox->Hide();
    textBox->RenderIntoCanvas(*plane, textX, textY);
    plane->changeState.Advance();
    textBox->ReapplyFormat();
}

void KVXBrushText::PlaceTextBox(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (left < right && top < bottom && right - left >= kSmallestBox &&
        bottom - top >= kSmallestBox) {
        Box box = {left, top, right, bottom};
        box.Offset({CanvasBox.left, CanvasBox.top});
        textBox->PlaceBox(box);
        textBox->TakeFocus();
    } else {
        textBox->FocusStage();
    }
}
