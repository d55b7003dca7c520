// Drawing the slate recording and stepping its playback.
#include <algorithm>

#include "framework/color.h"
#include "media/surface.h"
#include "selection/magic_slate_tool_collection.h"
#include "selection/slate_store.h"

namespace {
const int32_t kSlateRun = 24;
}  // namespace

void DrawSlateFrame(MMSurface* surface, const SlateFrame& frame, bool ghost)
{
    if (surface == nullptr || frame.count == 0)
        return;
    MMColor colour = MakeMMColorFromRgb(ghost ? frame.ghostColour : frame.colour);
    // A wide pen's outline grows costlier faster than its length, and its
    // joins and ends are round: short runs that share their end points draw
    // the same line in a fraction of the time.
    const int32_t run = frame.width > 1 ? kSlateRun : frame.count;
    for (int32_t first = 0; first < frame.count - 1 || first == 0; first += run - 1) {
        int32_t n = std::min(run, frame.count - first);
        surface->DrawPolyline(frame.points + first, n, colour, frame.width);
        if (first + n >= frame.count)
            break;
    }
}

const SlateFrame* MagicSlateStore::FrameShown(int16_t channel, int16_t f, int16_t s)
{
    SlateChannel& c = channels[channel];
    int16_t g = std::clamp<int16_t>(f, 0, kSlateFrames - 1);
    while (g > 0 && c.frames[g].count == 0)
        --g;
    const SlateFrame& key = c.frames[g];
    if (key.count == 0)
        return nullptr;
    if (s == 0 || g == kSlateFrames - 1)
        return &key;
    const SlateFrame& next = c.frames[g + 1];
    if (next.count == 0)
        return &key;
    if (s == kSlateStepsPerFrame)
        return &next;
    InterpolateSlateFrame(key, next, s, kSlateStepsPerFrame, &c.work);
    c.work.state = kSlateInBetween;
    return &c.work;
}

void MagicSlateStore::DrawChannel(MMSurface* surface, int16_t channel, int16_t f, int16_t s,
                                  bool ghost)
{
    const SlateFrame* shown = FrameShown(channel, f, s);
    if (shown != nullptr)
        DrawSlateFrame(surface, *shown, ghost);
}

void MagicSlateStore::DrawAtStep(MMSurface* surface, int32_t n)
{
    if (!HasStrokes())
        return;
    // Past the last key frame the export still shows frame 4, never the
    // work frame behind it.
    n = std::max(n, 0);
    int16_t f = int16_t(std::min(n / kSlateStepsPerFrame, kSlateFrames - 1));
    int16_t s = int16_t(n % kSlateStepsPerFrame);
    for (int16_t c = 0; c < kSlateChannels; ++c)
        DrawChannel(surface, c, f, s, false);
}

int16_t MagicSlateStore::HighestDrawnFrame() const
{
    int16_t highest = 0;
    for (const SlateChannel& channel : channels)
        for (int16_t f = 0; f < kSlateFrames; ++f)
            if (channel.frames[f].state == kSlateDrawn)
                highest = std::max(highest, f);
    return highest;
}

void MagicSlateStore::DrawPlaybackStep(MMSurface* surface)
{
    if (!HasStrokes())
        return;
    if (!playing || paused) {
        for (int16_t c = 0; c < kSlateChannels; ++c)
            DrawChannel(surface, c, currentFrame, step, false);
        if (currentFrame > 0 &&
            channels[currentChannel].frames[currentFrame - 1].state == kSlateDrawn)
            DrawChannel(surface, currentChannel, int16_t(currentFrame - 1), step, true);
        return;
    }
    for (int16_t c = 0; c < kSlateChannels; ++c)
        DrawChannel(surface, c, currentFrame, step, false);
    if (!frameDue)
        return;
    AdvancePlayback();
    frameDue = false;
}

void MagicSlateStore::AdvancePlayback()
{
    const int16_t last = HighestDrawnFrame();
    const int16_t full = kSlateStepsPerFrame;
    int16_t& f = currentFrame;
    int16_t& s = step;
    if (loop || forward) {
        if (s < full) {
            ++s;
            TellFrame(int16_t(f + 1), s == 6);
        } else if (f < last - 1 && f < 3) {
            ++f;
            s = 1;
        } else if (loop) {
            f = 0;
            s = 1;
            TellFrame(0, true);
        } else {
            forward = false;
            TellFrame(int16_t(f + 1), true);
        }
        return;
    }
    if (s > 0) {
        --s;
        TellFrame(f, s == 6);
    } else if (f > 0) {
        --f;
        s = full;
    } else {
        forward = true;
        TellFrame(0, true);
    }
}
