#pragma once
// The pencil tray: a pencil whose slider 1 picks a line style (dashes, waves,
// loops...) and whose slider 2 raises or carves the paint, and a bundle of
// pencils at fixed offsets from the pen, each shifting the colour its own
// way every stroke.
#include "tools/tool_variants.h"

class KVXBrushMultiBundle;

class PencilTool : public KVXLineModeTool<KVXToolStd> {
public:
    PencilTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
               const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;
};

class ModifierPencilTool : public KVXModifierTwin<PencilTool> {
public:
    ModifierPencilTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                       KVXPlaneComponent* preview)
        : KVXModifierTwin<PencilTool>(preview, scene, tableId, 0, colour) {}
    void SetSlider1(int16_t) override {}
    void MakeGenerator() override;
};

// The bundle is the tool's brush: one owner, deleted once.
class BundlePencilTool : public KVXToolStd {
public:
    BundlePencilTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                     const uint8_t* colour);
    void Begin() override;
    void SetSizeType(int32_t type) override;
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;
    // Adds the row's bristles to an empty bundle.
    virtual void BuildBristles();

    KVXBrushMultiBundle* Bundle() const;
    // The pencils' own colours of the offset table (red, green, blue; white
    // where a pencil has none), kept for the bundle's first 20 pencils.
    static constexpr int32_t kMaxColours = 20;
    uint8_t bristleColours[kMaxColours][3];
};

// The offset table of a bundle size: 509 to 513, 511 for any other size.
MMResourceId BundleOffsetTable(int32_t sizeType);
