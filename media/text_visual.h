#pragma once
// Visuals that show one line of text in a font, a colour and an alignment
// relative to an anchor point.
#include <cstdint>
#include "media/surface.h"
#include "media/visual.h"

class MMTextBasedVisual : public MMVisual {
public:
    MMTextBasedVisual();
    MMTextBasedVisual(const char* text, int32_t length);
    ~MMTextBasedVisual() override;

    void SetEnclosure(MMEnclosure* newEnclosure) override;

    // Every setter marks the old and the new bounds dirty, changed or not.
    // A length below 1 takes the whole zero-terminated text; null shows nothing.
    void SetText(const char* newText, int32_t length);
    void SetStyle(const MMTextStyle& newStyle);
    void SetStyleFields(MMFont* font, MMColor color, int32_t verticalAlignment,
                        int32_t horizontalAlignment);
    void SetFont(MMFont* font);
    void SetHorizontalAlignment(int32_t value);
    void SetVerticalAlignment(int32_t value);
    // The colour does not move the text: marks the bounds dirty once.
    void SetColor(MMColor color);

    const char* Text() const { return text; }
    const MMTextStyle& Style() const { return style; }
    // The box the text covers around its anchor, measured on the enclosure's
    // surface; empty while the visual has no surface to measure on.
    Box TextBox() const;

protected:
    template <class Change>
    void Restyle(Change change);

    char* text = nullptr;
    MMTextStyle style;
    mutable bool textBoxValid = false;
    mutable Box textBox = {0, 0, 0, 0};
};

class MMPointTextVisual : public MMTextBasedVisual {
public:
    MMPointTextVisual() = default;
    MMPointTextVisual(int32_t x, int32_t y, int16_t layer);

    // The whole text, on the layer; the owner places it.
    void ConstructOnLayer(const char* newText, int16_t newLayer);
    void ConstructAt(int32_t newX, int32_t newY, const char* newText, int32_t length);

    Box GetBounds() const override;
    void SetPosition(int32_t newX, int32_t newY) override;
    Pair GetPosition() const override;
    void Draw(MMSurface* surface) override;

protected:
    int32_t x = 0;
    int32_t y = 0;
};
