#pragma once
// The slate's pens on the canvas: a free line, a circle or a square drawn
// with a rubber band and handed to the slate tray as a stroke of at most 512
// points when the button comes up. Nothing is painted into the picture.
#include <cstdint>
#include <memory>

#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_pen.h"
#include "tools/interpreter_with_brush.h"

class KVXToolSound;

constexpr MMResourceId kSlatePenSound = 483;
constexpr int16_t kSlateCursorKey = 26;

// What the three pens share: the rubber band, the stroke's life, and
// Control-click picking of the canvas colour while no stroke is drawn.
class KVXMagicSlateInterpreterBase : public KVXInterpreterWithBrush {
public:
    KVXMagicSlateInterpreterBase(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                 KVXMagicSlateToolCollection* tray, MMCursor* cursor,
                                 SlateShape shape);

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    bool StrokeActive() const { return strokeActive; }

protected:
    // What a pen does beside its stroke while it is drawn.
    virtual void Pressed(const Pair& point) {}
    virtual void Moved(const Pair& point) {}
    virtual void Released() {}
    // A stroke cut short by a lost capture: dropped, with what it started.
    virtual void Abandon() {}

    KVXMagicSlateToolCollection* tray;
    KVXSlatePen pen;
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
    void Pressed(const Pair& point) override;
    void Moved(const Pair& point) override;
    void Released() override;
    void Abandon() override;

private:
    std::unique_ptr<KVXToolSound> sound;
};

// Circles (ellipse outline) and squares (rectangle outline) of the drag.
class KVXMagicSlateCircleInterpreter : public KVXMagicSlateInterpreterBase {
public:
    KVXMagicSlateCircleInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                   KVXMagicSlateToolCollection* tray, MMCursor* cursor)
        : KVXMagicSlateInterpreterBase(host, stage, canvas, tray, cursor, kSlateCircle) {}
};

class KVXMagicSlateSquareInterpreter : public KVXMagicSlateInterpreterBase {
public:
    KVXMagicSlateSquareInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                                   KVXMagicSlateToolCollection* tray, MMCursor* cursor)
        : KVXMagicSlateInterpreterBase(host, stage, canvas, tray, cursor, kSlateSquare) {}
};
