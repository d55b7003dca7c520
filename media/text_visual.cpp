#include "media/text_visual.h"

#include "engine/enclosure.h"
#include "media/text_copy.h"

MMTextBasedVisual::MMTextBasedVisual()
    // No colour chosen yet: palette index -2.
    : style{nullptr, {-2, 0, 0, 0, 0}, kAlignLeft, kAlignBaseline}
{
}

MMTextBasedVisual::MMTextBasedVisual(const char* newText, int32_t length) : MMTextBasedVisual()
{
    SetText(newText, length);
}

MMTextBasedVisual::~MMTextBasedVisual()
{
    FreeTextCopy(text);
}

template <class Change>
void MMTextBasedVisual::Restyle(Change change)
{
    Invalidate();
    change();
    textBoxValid = false;
    Invalidate();
}

void MMTextBasedVisual::SetEnclosure(MMEnclosure* newEnclosure)
{
    // Measured on the enclosure's surface: measured again in the new one.
    Restyle([&] { enclosure = newEnclosure; });
}

void MMTextBasedVisual::SetText(const char* newText, int32_t length)
{
    Restyle([&] {
        FreeTextCopy(text);
        text = NewTextCopy(newText, length);
    });
}

void MMTextBasedVisual::SetStyle(const MMTextStyle& newStyle)
{
    Restyle([&] { style = newStyle; });
}

void MMTextBasedVisual::SetStyleFields(MMFont* font, MMColor color, int32_t verticalAlignment,
                                       int32_t horizontalAlignment)
{
    Restyle([&] { style = {font, color, horizontalAlignment, verticalAlignment}; });
}

void MMTextBasedVisual::SetFont(MMFont* font)
{
    Restyle([&] { style.font = font; });
}

void MMTextBasedVisual::SetHorizontalAlignment(int32_t value)
{
    Restyle([&] { style.horizontalAlignment = value; });
}

void MMTextBasedVisual::SetVerticalAlignment(int32_t value)
{
    Restyle([&] { style.verticalAlignment = value; });
}

void MMTextBasedVisual::SetColor(MMColor color)
{
    style.color = color;
    Invalidate();
}

Box MMTextBasedVisual::TextBox() const
{
    if (textBoxValid) {
        return textBox;
    }
    MMSurface* surface = enclosure != nullptr ? enclosure->Surface() : nullptr;
    if (surface == nullptr) {
        return {0, 0, 0, 0};
    }
    textBox = surface->MeasureStyledText(text, {0, 0}, style);
    textBoxValid = true;
    return textBox;
}

MMPointTextVisual::MMPointTextVisual(int32_t x, int32_t y, int16_t layer) : x(x), y(y)
{
    SetLayer(layer);
}

void MMPointTextVisual::ConstructOnLayer(const char* newText, int16_t newLayer)
{
    SetText(newText, 0);
    SetLayer(newLayer);
}

void MMPointTextVisual::ConstructAt(int32_t newX, int32_t newY, const char* newText,
                                   int32_t length)
{
    x = newX;
    y = newY;
    SetText(newText, length);
}

Box MMPointTextVisual::GetBounds() const
{
    Box box = TextBox();
    box.Offset({x, y});
    return box;
}

void MMPointTextVisual::SetPosition(int32_t newX, int32_t newY)
{
    if (newX == x && newY == y) {
        return;
    }
    Invalidate();
    x = newX;
    y = newY;
    Invalidate();
}

Pair MMPointTextVisual::GetPosition() const
{
    return {x, y};
}

void MMPointTextVisual::Draw(MMSurface* surface)
{
    surface->DrawStyledText(text, {x, y}, style);
}
