#pragma once
// Image rollers roll a row of small pictures along the stroke, turned to its
// direction; the invisible roller rolls invisible ink. Slider 2 carves into
// the paint or builds it up.
#include "tools/tool_base.h"

constexpr int16_t kRollerCursorKey = 11;
constexpr MMResourceId kRollerSound = 488;

class KVXToolImageRoller : public KVXToolAnim {
public:
    KVXToolImageRoller(KVXCreationHost* scene, const uint8_t* colour, MMResourceId tableId,
                       int32_t sizeType);
    void SetSlider1(int16_t value) override;
    void SetSlider2(int16_t value) override;
    void MakeGenerator() override;
    void MakeBrush() override;
    virtual void ChooseDrawMethod() { drawMethodKind = 16; }  // 21

    int16_t HeightMin() const { return heightMin; }
    int16_t HeightMax() const { return heightMax; }
    bool Slider2Full() const { return slider2Full != 0; }
    int32_t DrawMethodKind() const { return drawMethodKind; }

protected:
    struct Quiet {};
    KVXToolImageRoller(KVXCreationHost* scene, const uint8_t* colour, MMResourceId tableId,
                       int32_t sizeType, Quiet);
    // The roller's brush of its pictures with the pixel-type transfer PT.
    template <class PT>
    void BuildSprayer();

    int16_t heightMin = 0;
    int16_t heightMax = 0;
    double heightRatio = 1.0;
};

class KVXToolInvisibleImageRoller : public KVXToolImageRoller {
public:
    KVXToolInvisibleImageRoller(KVXCreationHost* scene, const uint8_t* colour,
                                MMResourceId tableId, int32_t sizeType);
    void MakeBrush() override;
    void ChooseDrawMethod() override { drawMethodKind = 14; }
};
