#pragma once
// A font of fixed metrics for the text tests: every character is 5 pixels
// wide, except the ones given their own width; 'j' reaches 2 pixels out on
// the left and 'f' 1 pixel on the right. It counts what it is asked.
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "media/font.h"

class FakeFont : public MMFont {
public:
    void Select(MMSurface* target) override
    {
        surface = target;
        ++selects;
    }
    void Deselect() override { surface = nullptr; }
    int32_t GetCapHeight() override { return capHeight; }
    int32_t GetAscent() override { return ascent; }
    int32_t GetDescent() override { return descent; }
    int32_t GetLineHeight() override { return lineHeight; }
    int32_t GetTextWidth(const char* text, int32_t length) override
    {
        ++widthCalls;
        if (length == 0) {
            length = static_cast<int32_t>(std::strlen(text));
        }
        int32_t width = 0;
        for (int32_t i = 0; i < length; ++i) {
            width += Width(text[i]);
        }
        return width;
    }
    void GetCharOffsets(int16_t* offsets, const char* text, int32_t length) override
    {
        if (length == 0) {
            length = static_cast<int32_t>(std::strlen(text));
        }
        offsets[0] = 0;
        for (int32_t i = 0; i < length; ++i) {
            offsets[i + 1] = static_cast<int16_t>(offsets[i] + Width(text[i]));
        }
    }
    int32_t GetLeftOverhang(const char* character) override { return *character == 'j' ? 2 : 0; }
    int32_t GetRightOverhang(const char* character) override { return *character == 'f' ? 1 : 0; }
    void MovePen(int32_t x, int32_t y) override { pen = {x, y}; }
    Pair GetPenPosition() override { return pen; }
    void DrawText(MMColor color, const char* text, int32_t length) override
    {
        if (length == 0) {
            length = static_cast<int32_t>(std::strlen(text));
        }
        drawn.push_back(std::string(text, length));
        drawnAt.push_back(pen);
        pen.x += GetTextWidth(text, length);
    }

    int32_t Width(char c) const
    {
        auto found = widths.find(c);
        return found == widths.end() ? 5 : found->second;
    }

    MMSurface* surface = nullptr;
    int32_t capHeight = 7;
    int32_t ascent = 9;
    int32_t descent = 3;
    int32_t lineHeight = 13;
    std::map<char, int32_t> widths;
    Pair pen = {0, 0};
    int selects = 0;
    int widthCalls = 0;
    std::vector<std::string> drawn;
    std::vector<Pair> drawnAt;
};
