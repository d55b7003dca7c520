#include "selection/chalk_talk_lesson.h"

#include <algorithm>
#include <utility>

#include "selection/slate_store.h"

void KVXChalkStep::SetGuide(const std::vector<Pair>& rows)
{
    guide.assign(rows.begin(), rows.begin() + std::min<size_t>(rows.size(), kSlatePoints));
}

KVXStepButtonLayout ArrangeStepButtons(int16_t d, int16_t steps)
{
    KVXStepButtonLayout layout;
    if (steps <= 0)
        return layout;
    d = std::clamp<int16_t>(d, 0, int16_t(steps - 1));
    if (steps == 1) {
        // One step: its button alone, nothing to scroll to.
        layout.atPlace[1] = 0;
    } else if (d == 0) {
        layout.atPlace[1] = 0;
        layout.atPlace[2] = 1;
        layout.forwardArrow = true;
    } else if (d == steps - 1) {
        layout.atPlace[0] = int16_t(d - 1);
        layout.atPlace[1] = d;
        layout.backArrow = steps >= 3;
    } else {
        layout.atPlace[0] = int16_t(d - 1);
        layout.atPlace[1] = d;
        layout.atPlace[2] = int16_t(d + 1);
        layout.backArrow = layout.forwardArrow = true;
    }
    return layout;
}

KVXChalkTalkLesson::KVXChalkTalkLesson(MagicSlateStore* store, std::vector<KVXChalkStep> steps)
    : store(store), steps(std::move(steps))
{
}

void KVXChalkTalkLesson::StoreStroke(const KVXChalkStep& step, const Pair* points, int32_t count)
{
    // A step aimed outside the five channels or frames stores nothing.
    if (store == nullptr || step.channel < 0 || step.channel >= kSlateChannels || step.frame < 0 ||
        step.frame >= kSlateFrames)
        return;
    store->StoreFrame(step.channel, step.frame, points, count, step.colour, step.width);
}

void KVXChalkTalkLesson::StoreGuide(int16_t n)
{
    if (n < 0 || n >= StepCount())
        return;
    const KVXChalkStep& step = steps[n];
    StoreStroke(step, step.guide.data(), int32_t(step.guide.size()));
}

void KVXChalkTalkLesson::StorePreview()
{
    for (int16_t n = 0; n + 1 < StepCount(); ++n)
        StoreGuide(n);
}

void KVXChalkTalkLesson::GoToStep(int16_t v)
{
    if (v < 0 || v >= StepCount())
        return;
    int16_t upTo = v < StepCount() - 1 ? v : StepCount();
    for (int16_t n = int16_t(lastStored + 1); n < upTo; ++n)
        StoreGuide(n);
    if (upTo == StepCount())
        lastStored = int16_t(StepCount() - 1);
    current = v;
}

void KVXChalkTalkLesson::StoreStep(const Pair* points, int32_t count)
{
    if (current < 0 || current >= StepCount())
        return;
    StoreStroke(steps[current], points, count);
    if (store != nullptr)
        store->SetPaused(false);
    lastStored = std::max(lastStored, current);
}

std::vector<KVXPreparedSlateStroke> CopyToPrepared(const MagicSlateStore& store)
{
    std::vector<KVXPreparedSlateStroke> prepared;
    for (int16_t c = 0; c < kSlateChannels; ++c) {
        for (int16_t f = 0; f < kSlateFrames; ++f) {
            const SlateFrame& frame = store.channels[c].frames[f];
            if (frame.state != kSlateDrawn)
                continue;
            prepared.push_back({std::vector<Pair>(frame.points, frame.points + frame.count),
                                frame.colour, frame.width, f, c});
        }
    }
    return prepared;
}
