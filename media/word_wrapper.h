#pragma once
// Word wrap: a text flows through frame boxes line by line, breaking at
// blanks and newlines, and inside a word only when the word alone is wider
// than its frame. The molecule shows each line as a point-text visual.
#include <cstdint>
#include <vector>
#include "engine/molecule.h"
#include "framework/geometry.h"
#include "media/color.h"

class MMFont;
class MMPointTextVisual;
class MMSurface;

class MMWordWrapper {
public:
    explicit MMWordWrapper(int32_t frameCount);
    virtual ~MMWordWrapper() = default;

    virtual void BeginFrame(int32_t index, const char* position) {}                   // 0
    virtual void EmitLine(int32_t index, const char* start, int32_t length, int32_t x,
                          int32_t y) = 0;                                              // 1
    virtual void EndFrame(int32_t index, const char* position) {}                     // 2

    // The font is selected on the surface. Fills frames from the first on.
    void WrapAll(MMSurface* surface, const char* text);
    // Lines into one frame; returns where the text goes on.
    const char* WrapFrame(int32_t index, MMSurface* surface, const char* text);
    // One line at the pen; returns where the next line starts.
    const char* BreakLine(int32_t index, MMSurface* surface, const char* start, const Pair& pen,
                          int32_t width);

    void SetFrame(int32_t index, const Box& box) { frames[index] = box; }
    const Box& FrameBox(int32_t index) const { return frames[index]; }
    int32_t FrameCount() const { return static_cast<int32_t>(frames.size()); }
    int16_t FramesUsed() const { return framesUsed; }
    bool AllTextPlaced() const { return allTextPlaced; }
    bool WordBroken() const { return wordBroken; }

protected:
    std::vector<Box> frames;
    int16_t framesUsed = 0;
    bool allTextPlaced = true;
    bool wordBroken = false;
};

class MMWordWrapMolecule : public MMMolecule, public MMWordWrapper {
public:
    MMWordWrapMolecule(MMBaseScene* scene, int32_t frameCount);
    MMWordWrapMolecule(MMBaseScene* scene, int32_t frameCount, MMColor color, MMFont* font,
                       int16_t layer, const char* text);
    // One frame, set to the box.
    static MMWordWrapMolecule* ConstructInBox(MMBaseScene* scene, const Box& frame, MMColor color,
                                              MMFont* font, int16_t layer, const char* text);
    ~MMWordWrapMolecule() override;

    void Show() override;
    void Hide() override;

    void SetText(const char* newText);
    void SetFrameBox(int32_t index, const Box& box);
    void SetFont(MMFont* newFont);
    void SetFrameVisible(int32_t index, bool flag);
    bool IsFrameVisible(int32_t index) const { return states[index].visible; }
    void SetLayer(int16_t newLayer);
    void SetColor(MMColor newColor);
    void HoldLayout() { ++holdCount; }
    void ReleaseLayout();
    void Rewrap();

    const char* Text() const { return text; }
    const std::vector<MMPointTextVisual*>& Lines() const { return lines; }

    void BeginFrame(int32_t index, const char* position) override;
    void EmitLine(int32_t index, const char* start, int32_t length, int32_t x,
                  int32_t y) override;
    void EndFrame(int32_t index, const char* position) override;

private:
    struct FrameState {
        const char* textStart = nullptr;
        const char* textEnd = nullptr;
        bool visible = true;
    };

    void DropLines();

    std::vector<FrameState> states;
    char* text = nullptr;
    MMFont* font = nullptr;
    MMColor color = {-2, 0, 0, 0, 0};
    int16_t layer = 1;
    int16_t holdCount = 0;
    bool needsFullWrap = true;
    std::vector<MMPointTextVisual*> lines;
};
