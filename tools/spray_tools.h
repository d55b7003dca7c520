#pragma once
// The spray tray's tools: the fine spray hisses on while the pen rests, the
// spatter throws drops around the pen (both drippy or plain by slider 1,
// raising or carving by slider 2), the gloppy paint lays thick blobs and the
// whipped cream squeezes a ribbon of one picture.
#include "tools/tool_variants.h"

class FineSprayTool : public KVXToolStd {
public:
    FineSprayTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                  const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;

protected:
    struct Quiet {};
    FineSprayTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                  const uint8_t* colour, MMResourceId sound, Quiet);
    void StartSliders();
};

class SpatterTool : public FineSprayTool {
public:
    SpatterTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                const uint8_t* colour);
    void MakeGenerator() override;
};

class GloppyPaintTool : public KVXMetaballTool {
public:
    GloppyPaintTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                    const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void ChooseDrawMethod() override { drawMethodKind = 10; }
};

// The whipped cream's brush stamps the picture its table lists.
class WhippedCream : public KVXToolAnim {
public:
    WhippedCream(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour);
    void MakeGenerator() override {}
    void MakeBrush() override;
};

class ModifierFineSprayTool : public KVXModifierTwin<FineSprayTool> {
public:
    ModifierFineSprayTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                          KVXPlaneComponent* preview)
        : KVXModifierTwin<FineSprayTool>(preview, scene, tableId, 0, colour) {}
};

class ModifierSpatterTool : public KVXModifierTwin<SpatterTool> {
public:
    ModifierSpatterTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                        KVXPlaneComponent* preview)
        : KVXModifierTwin<SpatterTool>(preview, scene, tableId, 0, colour) {}
};

// Never builds a brush: its preview stays as it is.
class ModifierGloppyPaintTool : public GloppyPaintTool {
public:
    ModifierGloppyPaintTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                            KVXPlaneComponent* preview)
        : GloppyPaintTool(scene, tableId, 0, colour), preview(preview) {}
    void Begin() override {}
    void DeleteMolecules() override {}

private:
    KVXPlaneComponent* preview;
};
