#pragma once
// The text tray's choices: the four style buttons, the colour and the text
// sizes of the size buttons.
#include <cstdint>

struct KVXTextStyleButtons {
    bool plain = true;
    bool italic = false;
    bool bold = false;
    bool underline = false;

    // Plain turns the three styles off. A style turned on turns plain off;
    // the last style turned off turns plain back on.
    void PressPlain();
    void SetItalic(bool on);
    void SetBold(bool on);
    void SetUnderline(bool on);

private:
    void FollowStyles();
};

// White text would leave the canvas unchanged: it paints as 0xFAFAFA. The
// top byte is kept.
uint32_t PaintableTextColour(uint32_t colour);

// Pixel heights of size indexes 0 to 4 (0 for any other), the large set
// while the tray is twisted.
int32_t TextSizeForIndex(int32_t index, bool twisted);
// The sizes of the twisted text tool.
int32_t TwistedToolTextSize(int32_t index);
