#pragma once
// Tools that move or pool paint: watercolour lays soft blobs that the canvas
// shows as watery glop, finger paint smears the paint along the stroke, and
// the electric toothbrush smears in squiggles that go on while the pen rests.
#include "tools/tool_variants.h"

class WaterColorTool : public KVXMetaballTool {
public:
    WaterColorTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                   const uint8_t* colour);
    void ChooseDrawMethod() override { drawMethodKind = 12; }
};

// Paints nothing: it builds no brush, generator or interpreter.
class ModifierWaterColorTool : public WaterColorTool {
public:
    ModifierWaterColorTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                           KVXPlaneComponent* preview)
        : WaterColorTool(scene, tableId, 0, colour), preview(preview) {}
    void Begin() override {}
    void DeleteMolecules() override {}
    void SetSizeType(int32_t) override {}

private:
    KVXPlaneComponent* preview;
};

class FingerPaintTool : public KVXToolStd {
public:
    FingerPaintTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                    const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;

protected:
    void StoreSlider2(int16_t value);
};

class ModifierFingerPaintTool : public KVXModifierTwin<FingerPaintTool> {
public:
    ModifierFingerPaintTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                            KVXPlaneComponent* preview)
        : KVXModifierTwin<FingerPaintTool>(preview, scene, tableId, 0, colour) {}
    void SetSlider1(int16_t) override {}
    void SetSlider2(int16_t value) override { StoreSlider2(value); }
};

class ElectricToothbrushTool : public KVXToolStd {
public:
    ElectricToothbrushTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                           const uint8_t* colour);
    void MakeGenerator() override;
    void ChooseDrawMethod() override { drawMethodKind = 3; }
    void MakeBrush() override;
};
