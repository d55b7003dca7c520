#pragma once
// The five kinds of stamps: characters and props float in a list and can be
// scaled, mirrored and animated; the background, midground and foreground
// each fill their layer of the canvas and snap back to it.
#include "stamps/stamp_base.h"

class KVXCharacterStamp : public KVXStampBase {
public:
    using KVXStampBase::KVXStampBase;

    int32_t Kind() const override { return 3; }
    void ShowPlaced(bool keepSize) override;
    void Select(KVXStampSelector* selector) override;
    void Deselect() override;
};

class KVXPropstamp : public KVXCharacterStamp {
public:
    using KVXCharacterStamp::KVXCharacterStamp;

    int32_t Kind() const override { return 4; }
    void TintColour(bool selected, uint8_t bgr[3]) const override;
};

class KVXBackGroundStamp : public KVXStampBase {
public:
    using KVXStampBase::KVXStampBase;

    int32_t Kind() const override { return 0; }
    void ShowPlaced(bool keepSize) override;
    Pair GetSize() const override;
    Box GetBox() const override;
    void SetBox(const Box& box) override;
    bool CanFlipX() const override { return false; }
    bool CanFlipY() const override { return false; }
    bool CanScale() const override { return false; }
    bool IsAnimated() const override;
    Pair HandlePositionAt(KVXHandleCorner corner, const Pair& handleSize) const override;
    void TintColour(bool selected, uint8_t bgr[3]) const override;
    void Select(KVXStampSelector* selector) override;
    void Deselect() override;
    void SetDepth(int16_t d) override;
    void Replay() override {}
    void Play(bool withStopCommand) override;
    MMAnimationMolecule* MakeAnimation() override { return nullptr; }
    void AnimationEnded() override {}
    void StopAndRestore() override {}
    void StopAnimation(bool show) override { StopAndRestore(); }
    void DeleteAnimation() override {}
    void PlaceCentredAt(int32_t x, int32_t y) override;
    void EndMove() override;
    MMPictureID RenderColour() override { return colourPicture; }
    MMPictureID RenderPlain() override { return bwPicture; }

protected:
    // Where the stamp rests on the canvas.
    virtual Pair RestingPlace() const;
};

class KVXMidGroundStamp : public KVXBackGroundStamp {
public:
    using KVXBackGroundStamp::KVXBackGroundStamp;

    int32_t Kind() const override { return 1; }

protected:
    Pair RestingPlace() const override;
};

class KVXForeGroundStamp : public KVXBackGroundStamp {
public:
    using KVXBackGroundStamp::KVXBackGroundStamp;

    int32_t Kind() const override { return 2; }
    bool IsAnimated() const override { return inColour; }
    void Select(KVXStampSelector* selector) override;
    void Deselect() override;
    void Replay() override;
    void Play(bool withStopCommand) override;
    void AnimationEnded() override;
    void StopAndRestore() override;

    bool InColour() const { return inColour; }

protected:
    Pair RestingPlace() const override;

private:
    bool inColour = false;
};
