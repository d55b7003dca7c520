#pragma once
// The eraser tray's tools: the soft eraser rubs paint back to white and
// flattens its height (slider 1 its strength, slider 2 what it erases), the
// squeegee does the same dragging a band along the stroke, the phaser
// eraser removes paint in bursts and the water wets paint so that it runs.
// None has an eraser end of its own: the stylus's eraser end paints with the
// main brush.
#include "tools/tool_variants.h"

class SoftEraserTool : public KVXToolStd {
public:
    SoftEraserTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;

    // What slider 2 erases: 0 the height only, 1 colour and height, 2 colour only.
    static int32_t EraseKind(int32_t slider2);

protected:
    SoftEraserTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                   int16_t cursorKey, MMResourceId sound);
    uint8_t eraserWhite[3] = {255, 255, 255};
};

class SqueegeeEraserTool : public SoftEraserTool {
public:
    SqueegeeEraserTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType);
    void MakeGenerator() override;
    void MakeBrush() override;
};

class PhaserEraserTool : public KVXToolStd {
public:
    PhaserEraserTool(KVXCreationHost* scene, MMResourceId tableId);
    void SetSizeType(int32_t type) override;
    void ChooseDrawMethod() override { drawMethodKind = 13; }
    void MakeBrush() override;
};

class WaterTool : public KVXToolStd {
public:
    WaterTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType, const uint8_t* colour);
    void ChooseDrawMethod() override { drawMethodKind = 9; }
    void MakeGenerator() override;
    void MakeBrush() override;
};

// Turns the paint it passes grey; nothing in the program creates it.
class ToGreyscaleEraserTool : public KVXToolStd {
public:
    ToGreyscaleEraserTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                          const uint8_t* colour);
    void MakeBrush() override;
};
