#include "text/text_styles.h"

void KVXTextStyleButtons::PressPlain()
{
    italic = bold = underline = false;
    plain = true;
}

void KVXTextStyleButtons::FollowStyles() { plain = !(italic || bold || underline); }

void KVXTextStyleButtons::SetItalic(bool on)
{
    italic = on;
    FollowStyles();
}

void KVXTextStyleButtons::SetBold(bool on)
{
    bold = on;
    FollowStyles();
}

void KVXTextStyleButtons::SetUnderline(bool on)
{
    underline = on;
    FollowStyles();
}

uint32_t PaintableTextColour(uint32_t colour)
{
    if ((colour & 0xFFFFFF) == 0xFFFFFF)
        return (colour & 0xFF000000u) | 0xFAFAFA;
    return colour;
}

int32_t TextSizeForIndex(int32_t index, bool twisted)
{
    static const int32_t plain[5] = {12, 18, 32, 48, 72};
    static const int32_t large[5] = {96, 171, 246, 321, 396};
    if (index < 0 || index > 4)
        return 0;
    return twisted ? large[index] : plain[index];
}

int32_t TwistedToolTextSize(int32_t index)
{
    static const int32_t sizes[5] = {24, 26, 64, 96, 142};
    return index < 0 || index > 4 ? 0 : sizes[index];
}
