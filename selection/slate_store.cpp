#include "selection/slate_store.h"

#include <algorithm>
#include <cstring>

#include "selection/magic_slate_tool_collection.h"

namespace {

const uint32_t kGhostGrey = 0x00C0C0C0;

bool ValidIndex(int32_t n) { return n >= 0 && n < kSlateFrames; }

void EmptyFrame(SlateFrame* frame)
{
    frame->count = 0;
    frame->bounds = {0, 0, 0, 0};
    frame->state = kSlateEmpty;
}

// Inserts the midpoint of the longest segment (the first on ties).
void SplitLongestSegment(SlateFrame* frame)
{
    int32_t best = 0;
    int64_t bestLength = -1;
    for (int32_t k = 0; k + 1 < frame->count; ++k) {
        int64_t dx = frame->points[k + 1].x - frame->points[k].x;
        int64_t dy = frame->points[k + 1].y - frame->points[k].y;
        if (dx * dx + dy * dy > bestLength) {
            bestLength = dx * dx + dy * dy;
            best = k;
        }
    }
    Pair* p = frame->points;
    std::memmove(p + best + 2, p + best + 1, sizeof(Pair) * (frame->count - best - 1));
    p[best + 1] = {p[best].x + (p[best + 2].x - p[best].x) / 2,
                   p[best].y + (p[best + 2].y - p[best].y) / 2};
    ++frame->count;
}

void Subdivide(SlateFrame* frame, int16_t target)
{
    if (frame->count == 1) {
        // A single point has no segment: it stands for all of them.
        std::fill(frame->points + 1, frame->points + target, frame->points[0]);
        frame->count = target;
        return;
    }
    while (frame->count < target)
        SplitLongestSegment(frame);
}

int32_t Mix(int32_t a, int32_t b, int32_t k, int32_t n)
{
    return int32_t(a + double(b - a) / n * k);
}

}  // namespace

MagicSlateStore::MagicSlateStore()
    : channels{}, currentChannel(0), currentFrame(0), step(0), reserved{0, 0, 0, 0},
      frameDue(true), playing(false), paused(false), owner(nullptr), frameListener(nullptr),
      loop(false), forward(true)
{
}

void MagicSlateStore::Init()
{
    for (SlateChannel& channel : channels) {
        for (SlateFrame& frame : channel.frames) {
            EmptyFrame(&frame);
            frame.ghostColour = kGhostGrey;
        }
        EmptyFrame(&channel.work);
        channel.work.ghostColour = kGhostGrey;
        channel.bounds = {0, 0, 0, 0};
    }
    currentChannel = currentFrame = step = 0;
    reserved = {0, 0, 0, 0};
    frameDue = true;
    playing = paused = false;
    owner = nullptr;
    frameListener = nullptr;
    loop = false;
    forward = true;
}

void MagicSlateStore::SetGhostColour(uint32_t colour)
{
    for (SlateChannel& channel : channels)
        for (SlateFrame& frame : channel.frames)
            frame.ghostColour = colour;
}

void GrowSlateBounds(SlateFrame* frame)
{
    int32_t w = frame->width;
    Box& b = frame->bounds;
    for (int32_t i = 0; i < frame->count; ++i) {
        const Pair& p = frame->points[i];
        if (b.IsEmpty()) {
            b = {p.x - w, p.y - w, p.x + w, p.y + w};
            continue;
        }
        b.left = std::min(b.left, p.x - w);
        b.top = std::min(b.top, p.y - w);
        b.right = std::max(b.right, p.x + w);
        b.bottom = std::max(b.bottom, p.y + w);
    }
}

void InterpolateSlateFrame(const SlateFrame& a, const SlateFrame& b, int32_t k, int32_t n,
                           SlateFrame* target)
{
    target->count = a.count;
    for (int32_t i = 0; i < a.count; ++i) {
        target->points[i] = {Mix(a.points[i].x, b.points[i].x, k, n),
                             Mix(a.points[i].y, b.points[i].y, k, n)};
    }
    uint32_t colour = target->colour & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        int32_t mixed = Mix((a.colour >> shift) & 0xFF, (b.colour >> shift) & 0xFF, k, n);
        colour |= uint32_t(mixed & 0xFF) << shift;
    }
    target->colour = colour;
    target->width = int16_t(Mix(a.width, b.width, k, n));
    GrowSlateBounds(target);
}

bool MagicSlateStore::StoreFrame(int32_t channel, int32_t frame, const Pair* points,
                                 int32_t count, uint32_t colour, int32_t width)
{
    if (!ValidIndex(channel) || !ValidIndex(frame))
        return false;
    SlateChannel& c = channels[channel];
    SlateFrame& f = c.frames[frame];
    count = std::clamp(count, 0, int32_t(kSlatePoints));
    f.width = int16_t(width);
    f.colour = colour;
    f.count = int16_t(count);
    if (points != &f.points[0])
        std::memmove(f.points, points, sizeof(Pair) * count);
    GrowSlateBounds(&f);
    f.state = kSlateDrawn;
    int16_t most = 0;
    for (const SlateFrame& key : c.frames)
        most = std::max(most, key.count);
    for (SlateFrame& key : c.frames) {
        if (key.count != 0 && key.count != most)
            Subdivide(&key, most);
    }
    RebuildInBetweens(int16_t(channel));
    return true;
}

bool MagicSlateStore::CopyFrame(int32_t channel, int32_t from, int32_t to)
{
    if (!ValidIndex(channel) || !ValidIndex(from) || !ValidIndex(to))
        return false;
    const SlateFrame& source = channels[channel].frames[from];
    if (source.state != kSlateDrawn)
        return false;
    return StoreFrame(channel, to, source.points, source.count, source.colour, source.width);
}

bool MagicSlateStore::ClearFrame(int32_t channel, int32_t frame)
{
    if (!ValidIndex(channel) || !ValidIndex(frame))
        return false;
    EmptyFrame(&channels[channel].frames[frame]);
    RebuildInBetweens(int16_t(channel));
    return true;
}

void MagicSlateStore::ClearKeyFrames(int16_t channel)
{
    for (SlateFrame& frame : channels[channel].frames)
        EmptyFrame(&frame);
    channels[channel].bounds = {0, 0, 0, 0};
}

void MagicSlateStore::ClearAll()
{
    Stop();
    for (int16_t c = 0; c < kSlateChannels; ++c)
        ClearKeyFrames(c);
    reserved = {0, 0, 0, 0};
    if (owner != nullptr)
        owner->RefreshThumbnails();
}

void MagicSlateStore::RebuildInBetweens(int16_t channel)
{
    SlateFrame* frames = channels[channel].frames;
    int32_t start = 0;
    for (;;) {
        int32_t e = -1;
        for (int32_t i = std::max(start, 1); i < kSlateFrames && e < 0; ++i) {
            if (frames[i].count == 0 || frames[i].state == kSlateInBetween)
                e = i;
        }
        if (e < 0)
            return;
        int32_t n = -1;
        for (int32_t j = e; j < kSlateFrames && n < 0; ++j) {
            if (frames[j].count != 0 && frames[j].state == kSlateDrawn)
                n = j;
        }
        int32_t p = e - 1;
        if (n < 0 || frames[p].count == 0)
            return;
        InterpolateSlateFrame(frames[p], frames[n], (e - p) * kSlateStepsPerFrame,
                              (n - p) * kSlateStepsPerFrame, &frames[e]);
        frames[e].state = kSlateInBetween;
        start = e + 1;
    }
}

bool MagicSlateStore::SelectChannel(int32_t channel)
{
    if (!ValidIndex(channel))
        return false;
    currentChannel = int16_t(channel);
    step = 0;
    return true;
}

bool MagicSlateStore::SelectFrame(int32_t frame)
{
    if (!ValidIndex(frame))
        return false;
    currentFrame = int16_t(frame);
    step = 0;
    return true;
}

void MagicSlateStore::TellFrame(int16_t frame, bool listener)
{
    if (listener && frameListener != nullptr)
        frameListener->HighlightFrameButton(frame);
    if (owner != nullptr)
        owner->HighlightFrameTab(frame);
}

void MagicSlateStore::Start()
{
    SelectFrame(0);
    playing = true;
    TellFrame(currentFrame, true);
}

void MagicSlateStore::Stop()
{
    playing = false;
    SelectFrame(0);
    TellFrame(currentFrame, true);
}

bool MagicSlateStore::HasStrokes() const
{
    for (const SlateChannel& channel : channels)
        for (const SlateFrame& frame : channel.frames)
            if (frame.count != 0)
                return true;
    return false;
}

Box MagicSlateStore::GetBounds() const
{
    Box all = {0, 0, 0, 0};
    for (const SlateChannel& channel : channels)
        for (const SlateFrame& frame : channel.frames)
            if (!frame.bounds.IsEmpty())
                all.Union(frame.bounds);
    return all;
}

int32_t MagicSlateStore::FrameState(int32_t channel, int32_t frame) const
{
    return ValidIndex(channel) && ValidIndex(frame) ? channels[channel].frames[frame].state : 0;
}

uint32_t MagicSlateStore::FrameColour(int32_t channel, int32_t frame) const
{
    return ValidIndex(channel) && ValidIndex(frame) ? channels[channel].frames[frame].colour : 0;
}
