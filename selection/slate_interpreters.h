#pragma once
// The slate's pens on the canvas: a free line, a circle or a square drawn
// with a rubber band and handed to the slate tray as a stroke of at most 512
// points when the button comes up. Nothing is painted into the picture.
#include <cstdint>
#include <memory>

#include "selection/magic_slate_tool_collection.h"
#include "tools/interpreter_with_brush.h"

class KVXShapeVisual;
class KVXToolSound;

constexpr MMResourceId kSlatePenSound = 483;
constexpr int16_t kSlateCursorKey = 26;

// What the three pens share: the rubber band, the stroke's life, and
// Control-click picking of the canvas colour while no stroke is drawn.
class KVXMagicSlateInterpreterBase : public KVXInterpreterWithBrush {
public:
    KVXMagicSlateInterpreterBase(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                 KVXMagicSlateToolCollection* tray, MMCursor* cursor);
    ~KVXMagicSlateInterpreterBase() override;

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    bool StrokeActive() const { return strokeActive; }

protected:
    virtual void Press(const Pair& point) = 0;
    virtual void Move(const Pair& point) = 0;
    virtual std::vector<Pair> Release(const Pair& point) = 0;
    // A stroke cut short by a lost capture: dropped, with what it started.
    virtual void Abandon() {}
    Pair Clamped(int32_t x, int32_t y) const;
    void ShowBand(KVXShapeVisual* visual);
    void RemoveBand();

    KVXMagicSlateToolCollection* tray;
    KVXShapeVisual* band = nullptr;
    bool strokeActive = false;
};

// The free line, with the pen's sound.
class KVXMagicSlateInterpreter : public KVXMagicSlateInterpreterBase {
public:
    KVXMagicSlateInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                             KVXMagicSlateToolCollection* tray, MMCursor* cursor,
                             MMResourceId soundId);
    ~KVXMagicSlateInterpreter() override;

    const KVXToolSound* Sound() const { return sound.get(); }

protected:
    void Press(const Pair& point) override;
    void Move(const Pair& point) override;
    std::vector<Pair> Release(const Pair& point) override;
    void Abandon() override;

private:
    KVXSlateStrokePoints stroke;
    std::unique_ptr<KVXToolSound> sound;
};

// Circles (ellipse outline) and squares (rectangle outline) of the drag.
class KVXMagicSlateShapeInterpreter : public KVXMagicSlateInterpreterBase {
public:
    KVXMagicSlateShapeInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                  KVXMagicSlateToolCollection* tray, MMCursor* cursor, bool circle);

protected:
    void Press(const Pair& point) override;
    void Move(const Pair& point) override;
    std::vector<Pair> Release(const Pair& point) override;

private:
    bool circle;
};

class KVXMagicSlateCircleInterpreter : public KVXMagicSlateShapeInterpreter {
public:
    KVXMagicSlateCircleInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                   KVXMagicSlateToolCollection* tray, MMCursor* cursor)
        : KVXMagicSlateShapeInterpreter(host, stage, canvas, tray, cursor, true) {}
};

class KVXMagicSlateSquareInterpreter : public KVXMagicSlateShapeInterpreter {
public:
    KVXMagicSlateSquareInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                   KVXMagicSlateToolCollection* tray, MMCursor* cursor)
        : KVXMagicSlateShapeInterpreter(host, stage, canvas, tray, cursor, false) {}
};
