#pragma once
// What a chalk-talk lesson does to the chalk-talk canvas's recording: each
// step's stroke stored at its channel and frame, skipped steps given their
// guide strokes, the finished drawing copied for the slate tray to paste,
// and which step buttons and arrows show around the displayed step.
#include <cstdint>
#include <vector>

#include "framework/geometry.h"
#include "selection/magic_slate_tool_collection.h"

class MagicSlateStore;

enum KVXChalkStepKind : int16_t {
    kChalkFreehand = 0,
    kChalkCircle = 1,
    kChalkSquare = 2,
};

struct KVXChalkStep {
    int16_t channel = 0;
    int16_t frame = 0;
    uint32_t colour = 0;
    int16_t width = 3;
    int16_t kind = kChalkFreehand;
    std::vector<Pair> guide;  // at most 512 points

    // A point table's rows, one point at offset 2 of each; 512 rows at most.
    void SetGuide(const std::vector<Pair>& rows);
};

// Where the step buttons go: the step shown at each of the three places
// (keys 10, 11 and 12 of the scene table; -1 for none) and the arrows.
struct KVXStepButtonLayout {
    int16_t atPlace[3] = {-1, -1, -1};
    bool backArrow = false;
    bool forwardArrow = false;
};
KVXStepButtonLayout ArrangeStepButtons(int16_t displayed, int16_t steps);

class KVXChalkTalkLesson {
public:
    KVXChalkTalkLesson(MagicSlateStore* store, std::vector<KVXChalkStep> steps);

    int16_t StepCount() const { return int16_t(steps.size()); }
    int16_t CurrentStep() const { return current; }
    int16_t LastStoredStep() const { return lastStored; }
    const KVXChalkStep& Step(int16_t n) const { return steps[n]; }

    // The preview: every step but the last drawn from its guide.
    void StorePreview();
    // Step v chosen: the guides of the steps skipped since the last stored
    // one go in first; the last step's choice stores every remaining guide.
    void GoToStep(int16_t v);
    // The child's stroke for the current step.
    void StoreStep(const Pair* points, int32_t count);
    // The step's guide stored as though the child had drawn it.
    void StoreGuide(int16_t n);

private:
    void StoreStroke(const KVXChalkStep& step, const Pair* points, int32_t count);

    MagicSlateStore* store;
    std::vector<KVXChalkStep> steps;
    int16_t current = 0;
    int16_t lastStored = -1;
};

// Every drawn key frame of the recording, channel by channel, as the
// prepared strokes that the slate tray pastes.
std::vector<KVXPreparedSlateStroke> CopyToPrepared(const MagicSlateStore& store);
