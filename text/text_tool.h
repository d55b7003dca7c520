#pragma once
// The text tray's tool: a rectangle dragged on the canvas opens the text box
// there, and the next rectangle, the tool's finish or its end paints what was
// typed into the canvas with the tool's opacity (slider 1) and relief
// (slider 2).
#include <cstdint>

#include "brushes/text_brush.h"
#include "text/canvas_text_target.h"
#include "tools/tool_base.h"

class KVXTextEditWrapper;

constexpr MMResourceId kTextToolTable = 547;
constexpr int16_t kTextToolCursorKey = 16;
constexpr MMResourceId kTextToolSound = 478;

class TextTool : public KVXToolStd, private KVXTextBox {
public:
    // The box is made here, hidden, with its handles; its size follows the
    // size index.
    TextTool(KVXCreationHost* creationScene, MMResourceId tableId = kTextToolTable,
             int32_t sizeType = 2);
    ~TextTool() override;

    void DeleteMolecules() override;
    // The size index 0 to 4 chooses the box's text size.
    void SetSizeType(int32_t index) override;
    // Commits the box's text when value is not 0, then empties the box.
    void Finish(int32_t value) override;
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override {}
    void ChooseDrawMethod() override {}
    void MakeBrush() override;
    void MakeInterpreter() override;

    // The large sizes while the tray is twisted.
    void SetTwisted(bool on);
    bool Twisted() const { return twisted != 0; }
    KVXTextEditWrapper* TextBox() const { return box; }
    // Pixels of the current size index.
    virtual int32_t TextSize() const;

protected:
    KVXTextEditWrapper* box = nullptr;

private:
    void PlaceBox(const Box& rect) override;
    void TakeFocus() override;
    void FocusStage() override;
    void Hide() override;
    void ReapplyFormat() override;
    void RenderIntoCanvas(KVXPlaneComponent& plane, int16_t x, int16_t y) override;
    void Commit();

    KVXCanvasTextTarget target;
    uint8_t twisted = 0;
};

// Its own text sizes; a size index it already has changes nothing.
class TwistedTextTool : public TextTool {
public:
    using TextTool::TextTool;
    void SetSizeType(int32_t index) override;
    int32_t TextSize() const override;
};
