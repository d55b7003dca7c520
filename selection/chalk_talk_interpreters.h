#pragma once
// The chalk talk's board interpreters: the child's free line, circle or
// square, shown as a rubber band while drawn and handed to the scene as the
// step's stroke when the button comes up.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "selection/slate_pen.h"

class ChalkTalkScene;
class ChalkTalkCanvasVisual;

class KVXChalkTalkInterpreterBase : public MMStandardMouseInterpreter {
public:
    KVXChalkTalkInterpreterBase(ChalkTalkScene* scene, ChalkTalkCanvasVisual* canvas,
                                SlateShape shape, int16_t cursorKey);

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    bool IsDrawing() const { return drawing; }

protected:
    ChalkTalkScene* scene;
    ChalkTalkCanvasVisual* canvas;
    KVXSlatePen pen;
    bool drawing = false;
};

// The free line: a point kept every 5 pixels and more, 512 at most.
class KVXChalkTalkInterpreter : public KVXChalkTalkInterpreterBase {
public:
    KVXChalkTalkInterpreter(ChalkTalkScene* scene, ChalkTalkCanvasVisual* canvas,
                            int16_t cursorKey)
        : KVXChalkTalkInterpreterBase(scene, canvas, kSlateFreehand, cursorKey)
    {
    }
};

// Circles (ellipse outline) and squares (rectangle outline) from the drag's box.
class KVXChalkTalkShapeInterpreter : public KVXChalkTalkInterpreterBase {
public:
    KVXChalkTalkShapeInterpreter(ChalkTalkScene* scene, ChalkTalkCanvasVisual* canvas, bool circle,
                                 int16_t cursorKey)
        : KVXChalkTalkInterpreterBase(scene, canvas, circle ? kSlateCircle : kSlateSquare,
                                      cursorKey)
    {
    }
};
