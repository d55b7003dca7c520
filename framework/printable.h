#pragma once
// Things placed on a printed page at a Box in printer pixels. Print
// sessions print them in order on their printer's device context.
#include <cstdint>
#include <windows.h>

#include "framework/color.h"
#include "framework/geometry.h"

class AFPrintSession;

class AFPrintable {
public:
    explicit AFPrintable(const Box& box) : box(box) {}
    virtual ~AFPrintable() = default;
    AFPrintable(const AFPrintable&) = delete;
    AFPrintable& operator=(const AFPrintable&) = delete;

    virtual bool Print(AFPrintSession& session) = 0;                // 1
    bool PrintOn(AFPrintSession& session) { return Print(session); }

    Box box;
};

// A filled box.
class AFPrintableBox : public AFPrintable {
public:
    AFPrintableBox(const Box& box, const MMColor& color);
    bool Print(AFPrintSession& session) override;

    MMColor color;
};

// The outline of a box, drawn inside it.
class AFPrintableFrame : public AFPrintable {
public:
    AFPrintableFrame(const Box& box, const MMColor& color, int16_t penWidth);
    bool Print(AFPrintSession& session) override;

    MMColor color;
    int16_t penWidth;
};

// One line of text whose baseline starts at the position.
class AFPrintableText : public AFPrintable {
public:
    static constexpr int kTextSize = 256;

    // `height` is the characters' height in printer pixels.
    AFPrintableText(const Pair& position, const char* text, const char* faceName, int32_t height,
                    const MMColor& color, int32_t weight = 0);
    ~AFPrintableText() override;
    bool Print(AFPrintSession& session) override;

    char text[kTextSize];
    MMColor color;
    HFONT font;
};
