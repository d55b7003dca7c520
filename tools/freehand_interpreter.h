#pragma once
// The road of a freehand stroke: a press on the canvas takes the undo
// snapshot and starts the "Freehand Ticker", which drains the stage's pen
// ring each scheduler pass (at most 100 ms of it) and hands the samples to
// the tool's brush, or to its write-all brush when the stroke comes from the
// stylus's eraser end. The tool's sound follows the pen.
#include <cstdint>

#include "engine/engine_thread.h"
#include "engine/resource_collection.h"
#include "tools/interpreter_with_brush.h"

class KVXToolSound;

class KVXFreeHandToolInterpreter : public KVXInterpreterWithBrush {
public:
    class Ticker : public MMLightweightThread {
    public:
        Ticker(KVXFreeHandToolInterpreter* owner, MMStage* stage);
        bool Run() override;

    private:
        KVXFreeHandToolInterpreter* owner;
    };

    KVXFreeHandToolInterpreter(KVXCreationHost* host, MMStage* stage, KVXCanvasVisual* canvas,
                               BrushBase* brush, BrushBase* writeAllBrush, MMCursor* cursor,
                               MMResourceId soundId);
    ~KVXFreeHandToolInterpreter() override;

    void CurrentCursor() override;                            // 1
    bool Interpret(const MMStageEvent& event) override;       // 2
    void CaptureLost() override;                              // 3
    virtual void BeginStroke(const MMPointerSample& sample);  // 6
    virtual void ContinueStroke(const MMPointerSample& sample);  // 7
    virtual void EndStroke(const MMPointerSample& sample);    // 8
    virtual void TickSound(int32_t time);                     // 9

    // Ends the begun stroke with its last sample; while the button stays
    // down the next sample begins a new stroke.
    void EndBegunStroke() override;
    bool FeedSamples(bool go);

    Ticker& StrokeTicker() { return ticker; }
    bool StrokeActive() const { return strokeActive != 0; }
    bool StrokeBegun() const { return strokeBegun != 0; }
    bool EraserStroke() const { return eraserStroke != 0; }
    bool WaitingForFirstSample() const { return waitingForFirst != 0; }
    const MMPointerSample& CurrentSample() const { return current; }
    KVXToolSound* ToolSound() const { return toolSound; }
    KVXToolSound* EraserSound() const { return eraserSound; }

private:
    void DrainSamples();
    void TakeSample();
    bool TickerScheduled() const { return ticker.State() != kMMThreadInactive; }
    uint32_t Now() const;

    Ticker ticker;
    KVXCanvasVisual* canvasVisual;
    uint8_t waitingForFirst = 1;
    uint8_t heldPresent = 0;
    MMPointerSample held = {0, 0, 0, 0};
    uint8_t tabletMark = 0;
    uint8_t strokeActive = 0;
    uint8_t eraserStroke = 0;
    uint8_t strokeBegun = 0;
    MMPointerSample current = {0, 0, 0, 0};
    KVXToolSound* toolSound = nullptr;
    KVXToolSound* eraserSound = nullptr;
};

// The eraser end's sound.
constexpr MMResourceId kEraserEndSound = 463;
// A pass of the ticker feeds samples for at most this long.
constexpr uint32_t kFeedBudget = 100;
