#pragma once
// The marker tray's tools: markers whose slider 2 carves into the paint or
// builds it up, the invisible-ink markers that write and reveal hidden ink,
// the rainbow marker and the leaky marker. Slider 1 chooses the line style.
#include "brushes/brush_base.h"
#include "tools/tool_base.h"

class MarkerTool : public KVXToolStd {
public:
    MarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
               const uint8_t* colour);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void ChooseDrawMethod() override;
    void MakeBrush() override;

protected:
    // Built by the derived tools that set their own slider 2 behaviour.
    struct Quiet {};
    MarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
               const uint8_t* colour, Quiet);
};

class KVXToolInvisibleInkMarkerTool : public MarkerTool {
public:
    KVXToolInvisibleInkMarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                                  const uint8_t* colour);
    void SetSlider2(int16_t) override {}
    void ChooseDrawMethod() override { drawMethodKind = 14; }
    void MakeBrush() override;
};

class KVXToolInvisibleInkRevealMarkerTool : public MarkerTool {
public:
    KVXToolInvisibleInkRevealMarkerTool(KVXCreationHost* scene, MMResourceId tableId,
                                        int32_t sizeType, const uint8_t* colour);
    void SetSlider2(int16_t) override {}
    void ChooseDrawMethod() override { drawMethodKind = 15; }
    void MakeBrush() override;
};

class RainbowMarkerTool : public MarkerTool {
public:
    RainbowMarkerTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour);
    void SetSlider2(int16_t value) override;
    void ChooseDrawMethod() override { drawMethodKind = 3; }
    void MakeBrush() override;
};

class LeakyMarkerTool : public KVXToolStd {
public:
    LeakyMarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                    const uint8_t* colour);
    void SetSizeType(int32_t type) override;
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void ChooseDrawMethod() override { drawMethodKind = 11; }
    void MakeBrush() override;
};

// The marker tools' cursor key, sounds and table.
constexpr int16_t kMarkerCursorKey = 10;
constexpr MMResourceId kMarkerSound = 484;
constexpr MMResourceId kInkMarkerSound = 489;
constexpr MMResourceId kRainbowSound = 470;
constexpr MMResourceId kLeakySound = 459;

// The modifier palette's twins: they paint its preview plane with a plain
// line.
class ModifierMarkerTool : public KVXModifierTwin<MarkerTool> {
public:
    ModifierMarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                       const uint8_t* colour, KVXPlaneComponent* preview)
        : KVXModifierTwin<MarkerTool>(preview, scene, tableId, sizeType, colour) {}
    void SetSlider1(int16_t) override {}
    void MakeGenerator() override { KVXToolStd::MakeGenerator(); }
};

class ModifierRainbowMarkerTool : public KVXModifierTwin<RainbowMarkerTool> {
public:
    ModifierRainbowMarkerTool(KVXCreationHost* scene, MMResourceId tableId, const uint8_t* colour,
                              KVXPlaneComponent* preview, int32_t sizeType);
    void SetSlider1(int16_t) override {}
    void MakeGenerator() override { KVXToolStd::MakeGenerator(); }
};

// Inert: only its slider 2 is kept.
class ModifierLeakyMarkerTool : public LeakyMarkerTool {
public:
    ModifierLeakyMarkerTool(KVXCreationHost* scene, MMResourceId tableId, int32_t sizeType,
                            const uint8_t* colour, KVXPlaneComponent*)
        : LeakyMarkerTool(scene, tableId, sizeType, colour) {}
    void Begin() override {}
    void DeleteMolecules() override {}
    void SetSizeType(int32_t) override {}
    void SetSlider1(int16_t) override {}
    void MakeBrush() override {}
    void MakeInterpreter() override {}
};
