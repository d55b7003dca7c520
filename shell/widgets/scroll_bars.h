#pragma once
// The paint program's scroll bars: a snap zone around a chosen position,
// the modifier slider whose thumb the trays show and hide, and the zoom bar
// drawn entirely from pictures.
#include <cstdint>

#include "engine/picture_collection.h"
#include "engine/scroll_bar.h"

class KVXScrollBarVisual;

class KVXScrollBarMolecule : public MMScrollBarMolecule {
public:
    KVXScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual, int16_t layer,
                         MMCursor* cursor);
    KVXScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual, int16_t range,
                         int16_t page, int16_t snapCentre, int16_t snapHalfWidth, int16_t layer,
                         MMCursor* cursor);

    // A position strictly within the half-width of the snap centre becomes
    // the centre.
    void ChangePosition(int16_t position) override;

    int16_t SnapCentre() const { return snapCentre; }
    int16_t SnapHalfWidth() const { return snapHalfWidth; }

private:
    int16_t snapCentre = 0;
    int16_t snapHalfWidth = 0;
};

class KVXModifierScrollBarMolecule : public KVXScrollBarMolecule {
public:
    KVXModifierScrollBarMolecule(MMBaseScene* scene, KVXScrollBarVisual* visual, int16_t layer,
                                 MMCursor* cursor);
    KVXModifierScrollBarMolecule(MMBaseScene* scene, KVXScrollBarVisual* visual, int16_t range,
                                 int16_t page, int16_t snapCentre, int16_t snapHalfWidth,
                                 int16_t layer, MMCursor* cursor);

    void ShowSlider();
    void HideSlider();

private:
    KVXScrollBarVisual* slider;  // the base owns it
};

class KVXZoomScrollBarVisual : public MMScrollBarVisual {
public:
    struct Pictures {
        MMPictureID firstArrow;
        MMPictureID firstArrowPressed;
        MMPictureID secondArrow;
        MMPictureID secondArrowPressed;
        MMPictureID thumb;
        MMPictureID background;
    };

    // A bar whose background is taller than wide runs vertically.
    KVXZoomScrollBarVisual(int32_t x, int32_t y, const Pictures& pictures, int16_t layer);

    void Draw(MMSurface* surface) override;
    // The box is shortened along its length by the background's short side.
    void SetBox(const Box& box) override;
    void DrawFirstButton(MMSurface* surface, const Box& box, bool pressed) override;
    void DrawTrack(MMSurface* surface, const Box& track, const Box& thumb, bool pressed) override;
    void DrawSecondButton(MMSurface* surface, const Box& box, bool pressed) override;
    virtual void DrawBackground(MMSurface* surface);

private:
    MMPictureReference firstArrow;
    MMPictureReference firstArrowPressed;
    MMPictureReference secondArrow;
    MMPictureReference secondArrowPressed;
    MMPictureReference thumb;
    MMPictureReference background;
};

class KVXZoomScrollBarMolecule : public MMScrollBarMolecule {
public:
    KVXZoomScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual, int16_t layer);
    KVXZoomScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual, int16_t range,
                             int16_t page, int16_t layer);
};
