#include "text/text_tool.h"

#include <new>

#include "canvas/canvas_visual.h"
#include "framework/heap.h"
#include "text/text_box.h"
#include "text/text_styles.h"
#include "tools/shape_interpreter.h"

namespace {

// The rectangle's rubber band as the text tool draws it.
const uint8_t kTextFeedbackStyle = 1;

}  // namespace

TextTool::TextTool(KVXCreationHost* creationScene, MMResourceId tableId, int32_t sizeType)
    : KVXToolStd(creationScene, tableId, sizeType), target(GetCreationCanvas())
{
    cursorIndex = ToolCursorIndex(kTextToolCursorKey, cursorIndex);
    soundId = kTextToolSound;
    KVXCanvasVisual* canvas = GetCreationCanvas();
    MMBaseScene* scene = creationScene ? creationScene->HostScene() : nullptr;
    // The box belongs to the painting screen's scene, which hands it the keys
    // while it has the focus; the tool deletes it.
    box = new (std::nothrow) KVXTextEditWrapper(scene, &target,
                                                canvas ? canvas->GetBounds() : ::Box{0, 0, 0, 0});
    if (box)
        box->MakeHandles();
}

TextTool::~TextTool() { delete box; }

void TextTool::Commit()
{
    if (box)
        box->RenderTextIntoCanvas(slider1, slider2);
}

void TextTool::DeleteMolecules()
{
    if (box) {
        Commit();
        box->Hide();
    }
    KVXToolStd::DeleteMolecules();
}

int32_t TextTool::TextSize() const { return TextSizeForIndex(sizeType, twisted != 0); }

void TextTool::SetSizeType(int32_t index)
{
    sizeType = index;
    if (box) {
        box->SetTextSize(TextSize());
        box->UpdatePlacement();
    }
}

void TextTool::SetTwisted(bool on)
{
    twisted = on;
    SetSizeType(sizeType);
}

void TextTool::Finish(int32_t value)
{
    if (!box)
        return;
    if (value)
        Commit();
    box->Hide();
    box->ReapplyFormat();
}

void TextTool::SetSlider1(int16_t value)
{
    slider1 = value;
    slider1Full = value >= 256;
}

void TextTool::SetSlider2(int16_t value)
{
    HeightsFromSlider2(value, 256);
    if (interpreter)
        ReplaceInterpreter();
}

void TextTool::MakeBrush()
{
    KVXPlaneComponentTop* plane = GetCanvasComponentPlane();
    if (plane)
        SetBrush(new (gDefaultHeap) KVXBrushText(plane, this));
}

void TextTool::MakeInterpreter()
{
    auto* made = new (gDefaultHeap) KVXTextRectangleShapeToolInterpreter(
        creationScene, Stage(), GetCreationCanvas(), brush, AppCursor(cursorIndex));
    made->SetFeedbackStyle(kTextFeedbackStyle);
    interpreter = made;
}

void TextTool::PlaceBox(const ::Box& rect)
{
    if (box)
        box->PlaceBox(rect);
}

void TextTool::TakeFocus()
{
    if (box)
        box->TakeFocus();
}

void TextTool::FocusStage()
{
    MMBaseScene* scene = creationScene ? creationScene->HostScene() : nullptr;
    if (!scene)
        return;
    scene->SetFocus(nullptr);
    scene->TakeKeyboardFocus();
}

void TextTool::Hide()
{
    if (box)
        box->Hide();
}

void TextTool::ReapplyFormat()
{
    if (box)
        box->ReapplyFormat();
}

void TextTool::RenderIntoCanvas(KVXPlaneComponent&, int16_t, int16_t) { Commit(); }

void TwistedTextTool::SetSizeType(int32_t index)
{
    if (index != sizeType)
        TextTool::SetSizeType(index);
}

int32_t TwistedTextTool::TextSize() const { return TwistedToolTextSize(sizeType); }
