#pragma once
// Oil paint: a rake of bristles across the stroke, each a standard brush of
// its own slightly different size and colour shift, drippy or not by slider
// 1, raising or carving by slider 2.
#include "tools/tool_variants.h"

class KVXBrushRake;

// The rake is the tool's brush: one owner, deleted once.
class OilTool : public KVXToolStd {
public:
    OilTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType, const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;
    // Adds the row's bristles to the rake.
    virtual void BuildBristles();

    KVXBrushRake* Rake() const;

protected:
    // The slider state without rebuilding anything.
    void StoreSlider2(int16_t value);
};

class ModifierOilTool : public KVXModifierTwin<OilTool> {
public:
    ModifierOilTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                    KVXPlaneComponent* preview)
        : KVXModifierTwin<OilTool>(preview, scene, tableId, 0, colour) {}
    void SetSlider1(int16_t) override {}
    void SetSlider2(int16_t value) override { StoreSlider2(value); }
};
