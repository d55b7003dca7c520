#pragma once
// A scroll bar drawn by the engine on the offscreen surface: two end buttons,
// a track and a thumb; an interpreter that presses, repeats and drags; and a
// molecule that keeps range, page, line step and position.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "media/color.h"
#include "media/visual.h"

class MMScrollBarMolecule;

// Parts of a scroll bar as FindPart numbers them.
enum MMScrollBarPart : int32_t {
    kScrollNone = 0,
    kScrollFirstButton = 1,
    kScrollTrackBefore = 2,
    kScrollThumb = 3,
    kScrollTrackAfter = 4,
    kScrollSecondButton = 5,
};

enum MMScrollBarOrientation : int32_t { kScrollVertical = 0, kScrollHorizontal = 1 };

class MMScrollBarVisual : public MMOpaqueBoxVisual {
public:
    explicit MMScrollBarVisual(int32_t orientation);

    void Draw(MMSurface* surface) override;
    void SetBox(const Box& box) override;
    virtual int32_t FindPart(int32_t x, int32_t y) const;                             // 16
    virtual void DrawFirstButton(MMSurface* surface, const Box& box, bool pressed) = 0; // 17
    virtual void DrawTrack(MMSurface* surface, const Box& track, const Box& thumb,
                           bool pressed) = 0;                                          // 18
    virtual void DrawSecondButton(MMSurface* surface, const Box& box, bool pressed) = 0; // 19

    void SetProportion(int32_t total, int32_t page);
    void SetThumbPos(int16_t position);
    void SetPressedPart(int32_t part);
    void BeginDrag(int32_t x, int32_t y);
    void DragTo(int32_t x, int32_t y);
    void EndDrag();
    Box ThumbBox() const;

    int32_t PressedPart() const { return pressedPart_; }
    bool IsVertical() const { return vertical_; }
    int16_t ThumbPos() const { return thumbPos_; }
    int16_t ThumbLength() const { return thumbLength_; }
    int16_t TrackSpan() const { return trackSpan_; }
    int16_t ThumbRange() const { return thumbRange_; }
    int16_t ButtonSize() const { return buttonSize_; }
    int16_t Length() const { return length_; }
    const Box& FirstButtonBox() const { return firstButtonBox_; }
    const Box& TrackBox() const { return trackBox_; }
    const Box& SecondButtonBox() const { return secondButtonBox_; }

protected:
    // A bar without end buttons whose track is the whole box and whose thumb
    // keeps the given length whatever the proportion.
    void UseWholeTrack(int16_t thumbLength);

private:
    void InvalidateArea(const Box& box);
    void InvalidatePart(int32_t part);
    int32_t Along(int32_t x, int32_t y) const { return vertical_ ? y : x; }

    int32_t pressedPart_ = kScrollNone;
    int16_t dragOffset_ = 0;
    bool vertical_;
    int16_t thumbPos_ = 0;
    int16_t thumbLength_ = 0;
    int16_t trackSpan_ = 0;
    int16_t thumbRange_ = 0;
    int16_t buttonSize_ = 0;
    int16_t length_ = 0;
    Box firstButtonBox_ = {0, 0, 0, 0};
    Box trackBox_ = {0, 0, 0, 0};
    Box secondButtonBox_ = {0, 0, 0, 0};
    bool fixedThumb_ = false;
};

class MMPlainScrollBarVisual : public MMScrollBarVisual {
public:
    explicit MMPlainScrollBarVisual(int32_t orientation);
    MMPlainScrollBarVisual(int32_t orientation, MMColor frame, MMColor face, MMColor light,
                           MMColor dark);

    void DrawFirstButton(MMSurface* surface, const Box& box, bool pressed) override;
    void DrawTrack(MMSurface* surface, const Box& track, const Box& thumb, bool pressed) override;
    void DrawSecondButton(MMSurface* surface, const Box& box, bool pressed) override;

private:
    void DrawButton(MMSurface* surface, const Box& box, bool pressed);
    void DrawBevel(MMSurface* surface, const Box& box, bool pressed);

    MMColor frameColor_;
    MMColor faceColor_;
    MMColor lightColor_;
    MMColor darkColor_;
};

class MMScrollBarInterpreter : public MMStandardMouseInterpreter {
public:
    MMScrollBarInterpreter(MMStage* stage, MMScrollBarMolecule* molecule,
                           MMScrollBarVisual* visual, MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    int32_t PressedPart() const { return pressedPart_; }

private:
    void EndPress(const MMStageEvent& event);

    MMScrollBarMolecule* molecule_;
    MMScrollBarVisual* visual_;
    int32_t repeatTime_ = 0;
    int32_t pressedPart_ = kScrollNone;
};

class MMScrollBarMolecule : public MMMolecule {
public:
    MMScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual, int16_t layer,
                        MMCursor* cursor);
    MMScrollBarMolecule(MMBaseScene* scene, MMScrollBarVisual* visual, int16_t range,
                        int16_t page, int16_t layer, MMCursor* cursor);
    ~MMScrollBarMolecule() override;

    void Show() override;
    void Hide() override;
    virtual void ChangePosition(int16_t position);  // 12

    void SetRange(int16_t range);
    void SetPage(int16_t page);
    void SetLineStep(int16_t step) { lineStep_ = step; }
    void SetCommand(MMCommand* command);
    void SetPosition(int16_t position);
    void SetTracking(bool tracking) { tracking_ = tracking; }
    void UpdateThumb();
    void Step(int32_t part);
    void SyncFromThumb(bool force);

    int16_t Range() const { return range_; }
    int16_t Page() const { return page_; }
    int16_t LineStep() const { return lineStep_; }
    int16_t Position() const { return position_; }
    bool Tracking() const { return tracking_; }
    MMScrollBarVisual* Visual() const { return visual_; }
    MMScrollBarInterpreter* Interpreter() const { return interpreter_; }

private:
    void Build(int16_t layer, MMCursor* cursor);

    MMScrollBarVisual* visual_;
    MMScrollBarInterpreter* interpreter_ = nullptr;
    int16_t range_ = 0;
    int16_t lineStep_ = 1;
    int16_t page_ = 1;
    MMCommand* command_ = nullptr;
    bool tracking_ = false;
    int16_t position_ = 0;
};
