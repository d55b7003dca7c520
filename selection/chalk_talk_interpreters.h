#pragma once
// The chalk talk's board interpreters: the child's free line, circle or
// square, shown as a rubber band while drawn and handed to the scene as the
// step's stroke when the button comes up.
#include <cstdint>
#include <memory>

#include "engine/mouse_interpreter.h"
#include "selection/magic_slate_tool_collection.h"

class ChalkTalkScene;
class ChalkTalkCanvasVisual;
class KVXShapeVisual;

class KVXChalkTalkInterpreterBase : public MMStandardMouseInterpreter {
public:
    KVXChalkTalkInterpreterBase(ChalkTalkScene* scene, ChalkTalkCanvasVisual* canvas, int16_t cursorKey);
    ~KVXChalkTalkInterpreterBase() override;

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    bool IsDrawing() const { return drawing; }

protected:
    virtual void Press(const Pair& point) = 0;
    virtual void Move(const Pair& point) = 0;
    virtual std::vector<Pair> Release(const Pair& point) = 0;
    Pair Clamped(int32_t x, int32_t y) const;
    void RemoveBand();

    ChalkTalkScene* scene;
    ChalkTalkCanvasVisual* canvas;
    KVXShapeVisual* band = nullptr;
    bool drawing = false;
};

// The free line: a point kept every 5 pixels and more, 512 at most.
class KVXChalkTalkInterpreter : public KVXChalkTalkInterpreterBase {
public:
    using KVXChalkTalkInterpreterBase::KVXChalkTalkInterpreterBase;

protected:
    void Press(const Pair& point) override;
    void Move(const Pair& point) override;
    std::vector<Pair> Release(const Pair& point) override;

private:
    KVXSlateStrokePoints stroke;
};

// Circles (ellipse outline) and squares (rectangle outline) from the drag's box.
class KVXChalkTalkShapeInterpreter : public KVXChalkTalkInterpreterBase {
public:
    KVXChalkTalkShapeInterpreter(ChalkTalkScene* scene, ChalkTalkCanvasVisual* canvas, bool circle,
                                 int16_t cursorKey);

protected:
    void Press(const Pair& point) override;
    void Move(const Pair& point) override;
    std::vector<Pair> Release(const Pair& point) override;

private:
    bool circle;
};
