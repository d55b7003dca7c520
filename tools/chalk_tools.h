#pragma once
// The chalk and the crayons: a pressure-driven brush along the line style of
// slider 1, raising the paint or carving it by slider 2. The chalk covers
// with grain, the crayon builds its colour up, the melted crayon smears the
// paint it passes while building up its own.
#include "tools/tool_variants.h"

class ChalkTool : public KVXLineModeTool<KVXToolStd> {
public:
    ChalkTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
              const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;

protected:
    struct Quiet {};
    // The common construction, without the slider calls.
    ChalkTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType, const uint8_t* colour,
              int16_t cursorKey, MMResourceId sound, Quiet);
    void StartSliders();
    virtual BrushBase* NewMainBrush(const KVXStdBrushArgs& args) const;
    // The chalk replaces its generator only while it has a brush.
    bool generatorNeedsBrush = true;
};

class CrayonTool : public ChalkTool {
public:
    CrayonTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
               const uint8_t* colour);

protected:
    CrayonTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType, const uint8_t* colour,
               int16_t cursorKey, MMResourceId sound);
    BrushBase* NewMainBrush(const KVXStdBrushArgs& args) const override;
};

class MeltedCrayonTool : public CrayonTool {
public:
    MeltedCrayonTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                     const uint8_t* colour);
    void MakeGenerator() override;

protected:
    BrushBase* NewMainBrush(const KVXStdBrushArgs& args) const override;
};

class ModifierChalkTool : public KVXModifierTwin<ChalkTool> {
public:
    ModifierChalkTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                      KVXPlaneComponent* preview)
        : KVXModifierTwin<ChalkTool>(preview, scene, tableId, 0, colour) {}
};

class ModifierCrayonTool : public KVXModifierTwin<CrayonTool> {
public:
    ModifierCrayonTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                       KVXPlaneComponent* preview)
        : KVXModifierTwin<CrayonTool>(preview, scene, tableId, 0, colour) {}
};

class ModifierMeltedCrayonTool : public KVXModifierTwin<MeltedCrayonTool> {
public:
    ModifierMeltedCrayonTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                             KVXPlaneComponent* preview)
        : KVXModifierTwin<MeltedCrayonTool>(preview, scene, tableId, 0, colour) {}
};
