#include "selection/magic_slate_tool_collection.h"

#include <algorithm>
#include <cmath>

#include "canvas/point_array.h"
#include "canvas/slate_recording.h"

namespace {

constexpr int32_t kMostPoints = 512;

int32_t Distance(const Pair& a, const Pair& b)
{
    double dx = a.x - b.x, dy = a.y - b.y;
    return int32_t(std::sqrt(dx * dx + dy * dy));
}

void PadToThree(std::vector<Pair>& points)
{
    while (!points.empty() && points.size() < 3)
        points.push_back(points.back());
}

}  // namespace

KVXMagicSlateToolCollection::KVXMagicSlateToolCollection()
{
    std::fill(channelColours, channelColours + kTabs, 0x00FF0000u);
    std::fill(penWidths, penWidths + kTabs, int16_t(4));
}

void KVXMagicSlateToolCollection::HighlightFrameTab(int16_t frame)
{
    if (frame >= 0 && frame < kTabs)
        litTab = frame;
}

void KVXMagicSlateToolCollection::SetChannelColour(int16_t channel, uint32_t colour)
{
    if (channel >= 0 && channel < kTabs)
        channelColours[channel] = colour;
}

void KVXMagicSlateToolCollection::SetPenWidth(int16_t n, int16_t width)
{
    if (n >= 0 && n < kTabs)
        penWidths[n] = width;
}

void KVXMagicSlateToolCollection::SetSize(int16_t n)
{
    if (n >= 0 && n < kTabs)
        size = n;
}

void KVXMagicSlateToolCollection::StoreStroke(const Pair* points, int32_t count)
{
    if (slate == nullptr)
        return;
    slate->StoreFrame(currentChannel, currentFrame, points, count,
                      channelColours[currentChannel], penWidths[size]);
    slate->SelectChannel(currentChannel);
    slate->SelectFrame(currentFrame);
    ++thumbnailRedraws;
    if (!autoAdvance) {
        autoAdvance = true;
    } else if (currentFrame > 3) {
        autoAdvance = false;
    } else {
        ++currentFrame;
        litTab = currentFrame;
    }
    slate->SetPaused(false);
    slate->Start();
}

void KVXMagicSlateToolCollection::SelectFrame(int16_t frame)
{
    if (frame == currentFrame || frame < 0 || frame >= kTabs)
        return;
    currentFrame = frame;
    if (slate != nullptr) {
        // Stopping rewinds the recording, so the frame is chosen after it.
        if (slate->IsRunning())
            slate->Stop();
        slate->SelectChannel(currentChannel);
        slate->SelectFrame(frame);
    }
    litTab = frame;
    autoAdvance = false;
}

void KVXMagicSlateToolCollection::SelectChannel(int16_t channel)
{
    if (channel >= 0 && channel < kTabs && channel != currentChannel) {
        currentChannel = channel;
        currentFrame = 0;
        if (slate != nullptr) {
            slate->SelectChannel(channel);
            slate->SelectFrame(0);
        }
        litTab = 0;
        autoAdvance = true;
    }
    ++thumbnailRedraws;
}

void KVXMagicSlateToolCollection::Trash()
{
    if (slate == nullptr)
        return;
    if (slate->IsRunning()) {
        for (int16_t c = kTabs - 1; c >= 0; --c) {
            for (int16_t f = kTabs - 1; f >= 0; --f) {
                if (slate->FrameState(c, f) == 1) {
                    slate->ClearFrame(c, f);
                    ++thumbnailRedraws;
                    return;
                }
            }
        }
    } else {
        slate->ClearFrame(currentChannel, currentFrame);
    }
    ++thumbnailRedraws;
}

void KVXMagicSlateToolCollection::PastePrepared(const std::vector<KVXPreparedSlateStroke>& strokes)
{
    if (slate == nullptr)
        return;
    slate->ClearAll();
    for (const KVXPreparedSlateStroke& stroke : strokes) {
        slate->StoreFrame(stroke.channel, stroke.frame, stroke.points.data(),
                          int32_t(stroke.points.size()), stroke.colour, stroke.width);
    }
    ++thumbnailRedraws;
    slate->Start();
}

void KVXMagicSlateToolCollection::ResetSelection()
{
    currentFrame = 0;
    autoAdvance = true;
    ++thumbnailRedraws;
    if (currentChannel != 0)
        SelectChannel(0);
}

void KVXSlateStrokePoints::Keep(const Pair& point)
{
    if (int32_t(points.size()) < kMostPoints)
        points.push_back(point);
}

void KVXSlateStrokePoints::Press(const Pair& point)
{
    points.clear();
    Keep(point);
}

bool KVXSlateStrokePoints::Move(const Pair& point)
{
    if (points.empty() || Distance(point, points.back()) <= 5 || int32_t(points.size()) >= kMostPoints)
        return false;
    Keep(point);
    return true;
}

std::vector<Pair> KVXSlateStrokePoints::Release(const Pair& point)
{
    Keep(point);
    if (points.size() < 3)
        points.push_back(points.back());
    std::vector<Pair> stroke(points.begin(), points.end() - 1);
    points.clear();
    return stroke;
}

std::vector<Pair> SlateCirclePoints(const Box& box)
{
    PointArray outline;
    outline.AssignRect(kPointArrayEllipse, box);
    std::vector<Pair> kept;
    for (int32_t i = 0; i < outline.Count(); ++i) {
        if (kept.empty() || Distance(outline[i], kept.back()) > 4) {
            if (int32_t(kept.size()) == kMostPoints - 1) {
                kept.push_back(outline[outline.Count() - 1]);
                break;
            }
            kept.push_back(outline[i]);
        }
    }
    PadToThree(kept);
    return kept;
}

std::vector<Pair> SlateSquarePoints(const Box& box)
{
    PointArray outline;
    outline.AssignRect(kPointArrayRectangle, box);
    std::vector<Pair> kept(outline.Points(), outline.Points() + outline.Count());
    PadToThree(kept);
    return kept;
}

std::vector<KVXPreparedSlateStroke>& AppPreparedSlateStrokes()
{
    static std::vector<KVXPreparedSlateStroke> strokes;
    return strokes;
}
