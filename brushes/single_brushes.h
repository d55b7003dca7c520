#pragma once
// Three brushes that do not paint pixel by pixel: globs of gloppy paint,
// the phaser's burst at the pen-down point, and one picture stamped on
// every dab.
#include <cstdint>
#include <vector>

#include "brushes/brush_base.h"
#include "brushes/generators.h"

class KVXBrushScene;
class KVXCanvasVisual;

// Forwards the stroke to its path generator.
class KVXGeneratorBrush : public BrushBase {
public:
    void BeginStroke(const BrushDab* sample) override { BeginPath(sample); }
    void ContinueStroke(const BrushDab* sample) override { ContinuePath(sample); }
};

class KVXBrushMetaball : public KVXGeneratorBrush {
public:
    KVXBrushMetaball(int16_t radiusMin, int16_t radiusMax, const uint8_t* colour,
                     KVXCanvasVisual* canvasVisual, KVXPlaneComponent* plane);
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* dab) override;

    int16_t radiusMin;
    int16_t radiusMax;

private:
    const uint8_t* colour;
    KVXCanvasVisual* canvasVisual;
    KVXPlaneComponent* plane;
};

class KVXPhaserEraser : public KVXGeneratorBrush {
public:
    KVXPhaserEraser(KVXCanvasVisual* canvasVisual, KVXPlaneComponent* plane, KVXBrushScene* scene);
    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab*) override {}
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab*) override {}

private:
    KVXCanvasVisual* canvasVisual;
    KVXPlaneComponent* plane;
    KVXBrushScene* scene;
};

// Stamps the first of its pictures centred on every dab after the
// pen-down one.
class KVXBrushSingleImageSprayer : public KVXBrushWithComponentPlane {
public:
    KVXBrushSingleImageSprayer(KVXPlaneComponent* plane, const uint8_t* colour,
                               const KVXBitmap<uint8_t>* texture, const double opacityNumbers[4]);
    void BeginStroke(const BrushDab* sample) override;
    void ContinueStroke(const BrushDab* sample) override;
    void EndStroke(const BrushDab* sample) override;
    void Dab(const BrushDab* dab) override;

    std::vector<int32_t> pictureIds;

private:
    const uint8_t* colour;
    const KVXBitmap<uint8_t>* texture;
    KVXOpacityGeneratorTexture opacity;
    bool strokeStart = false;
};
