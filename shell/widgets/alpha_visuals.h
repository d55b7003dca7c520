#pragma once
// Visuals that draw an 8-bit palette picture through an 8-bit mask, so that
// their edges blend into whatever lies below: a picture shown through a mask
// picture, and a text rendered smooth at half its font's size.
#include <cstdint>

#include "engine/picture_collection.h"
#include "framework/color_table.h"
#include "media/text_visual.h"
#include "media/visual.h"

class WinMMOffscreenSurface;

class KVXAlphaVisual : public MMPointBasedVisual {
public:
    KVXAlphaVisual();
    KVXAlphaVisual(const MMPictureReference& mask, const MMPictureReference& image, int32_t x,
                   int32_t y, int16_t layer);

    Box GetBounds() const override { return bounds; }
    // Never hides what lies below.
    Box GetOpaqueBox() const override { return Box{0, 0, 0, 0}; }
    void SetPosition(int32_t newX, int32_t newY) override;
    // Hit where the mask is below 255.
    bool ContainsPoint(int32_t px, int32_t py) override;
    void Draw(MMSurface* surface) override;

    void SetPictures(const MMPictureReference& newMask, const MMPictureReference& newImage);
    const MMPictureReference& Mask() const { return mask; }
    const MMPictureReference& Image() const { return image; }

private:
    void ComputeBounds();

    Box bounds = {0, 0, 0, 0};
    MMPictureReference mask;
    MMPictureReference image;
};

class KVXAlphaTextBasedVisual : public MMPointTextVisual {
public:
    KVXAlphaTextBasedVisual() : level(255) {}
    KVXAlphaTextBasedVisual(int32_t x, int32_t y, const char* newText, int32_t length);

    // How dark the text's ink is: 255 fully the text colour.
    void SetLevel(uint8_t value) { level = value; }
    uint8_t Level() const { return level; }

protected:
    uint8_t level;
};

// Renders its text once per change of text, font, colour or level into two
// 8-bit surfaces it keeps; redraws only blend them.
class KVXAlphaTextVisual : public KVXAlphaTextBasedVisual {
public:
    KVXAlphaTextVisual() = default;
    KVXAlphaTextVisual(int32_t x, int32_t y, const char* newText, int32_t length);
    ~KVXAlphaTextVisual() override;

    Box GetBounds() const override;
    void Invalidate() override;
    // Moves without rendering the text again.
    void SetPosition(int32_t newX, int32_t newY) override;
    void Draw(MMSurface* surface) override;

    bool IsReady() const { return ready; }
    bool IsDirty() const { return dirty; }
    int32_t RenderCount() const { return renders; }

private:
    void Prepare();
    void DisposeSurfaces();
    // The box the text will take once rendered (the text box while it
    // cannot be rendered), so that a first or changed text is redrawn whole.
    Box ComingBox() const;

    bool ready = false;
    bool dirty = true;
    WinMMOffscreenSurface* maskSurface = nullptr;
    WinMMOffscreenSurface* colorSurface = nullptr;
    MMColorTable colorTable;
    int32_t renders = 0;
    mutable bool comingValid = false;
    mutable Box coming = {0, 0, 0, 0};
};
