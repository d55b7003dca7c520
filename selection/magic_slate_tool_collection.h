#pragma once
// The tray of the five-frame animation slate: frame tabs, pen sizes, trash
// and the pasting of a prepared recording, as they change the recording.
#include <cstdint>
#include <vector>

#include "framework/geometry.h"

class KVXSlateRecording;

// A stroke prepared by the chalk talk, pasted whole into the slate.
struct KVXPreparedSlateStroke {
    std::vector<Pair> points;
    uint32_t colour;
    int16_t width;
    int16_t frame;
    int16_t channel;
};

// The application's list of prepared strokes: the chalk talk's last finished
// drawing, which the slate tray's clipboard pastes.
std::vector<KVXPreparedSlateStroke>& AppPreparedSlateStrokes();

class KVXMagicSlateToolCollection {
public:
    static constexpr int16_t kTabs = 5;

    KVXMagicSlateToolCollection();
    virtual ~KVXMagicSlateToolCollection() = default;

    // While a frame tab is dragged: highlights the tab under the point and
    // the drop area when the point lies in it.
    virtual void TrackFrameTab(int16_t frame, int32_t x, int32_t y) = 0;
    // A dragged tab let go: in the drop area the frame is cleared, over
    // another tab it is copied there; the highlights go.
    virtual void DropFrameTab(int16_t frame, int32_t x, int32_t y) = 0;

    // Told by the recording as playback moves and when it is emptied.
    virtual void HighlightFrameTab(int16_t frame);
    virtual void RefreshThumbnails() { ++thumbnailRedraws; }

    void SetSlate(KVXSlateRecording* recording) { slate = recording; }
    void SetChannelColour(int16_t channel, uint32_t colour);
    void SetPenWidth(int16_t size, int16_t width);
    void SetSize(int16_t size);

    // A finished stroke goes into the current frame; consecutive strokes
    // fill frames 0 to 4, and the one after frame 4 draws it again.
    void StoreStroke(const Pair* points, int32_t count);
    // A frame tab clicked: that frame is drawn next, without advancing.
    void SelectFrame(int16_t frame);
    void SelectChannel(int16_t channel);
    // While playing the last drawn frame goes, else the current one.
    void Trash();
    void PastePrepared(const std::vector<KVXPreparedSlateStroke>& strokes);
    void ResetSelection();

    int16_t CurrentFrame() const { return currentFrame; }
    int16_t CurrentChannel() const { return currentChannel; }
    bool AutoAdvance() const { return autoAdvance; }
    int16_t LitTab() const { return litTab; }
    int32_t ThumbnailRedraws() const { return thumbnailRedraws; }

protected:
    KVXSlateRecording* slate = nullptr;
    uint32_t channelColours[kTabs];
    int16_t penWidths[kTabs];
    int16_t size = 0;
    int16_t currentFrame = 0;
    int16_t currentChannel = 0;
    bool autoAdvance = true;
    int16_t litTab = 0;
    int32_t thumbnailRedraws = 0;
};

// The freehand slate pen's points: the press, every point farther than 5
// pixels from the last kept one, and the release; a click gives two equal
// points. At most 512 are kept.
class KVXSlateStrokePoints {
public:
    void Press(const Pair& point);
    // True when the point was kept.
    bool Move(const Pair& point);
    // The finished stroke (count less one of what was kept, at least two).
    std::vector<Pair> Release(const Pair& point);

private:
    void Keep(const Pair& point);
    std::vector<Pair> points;
};

// Circle strokes keep outline points more than 4 pixels apart (511 at
// most, then the outline's last); square strokes keep every corner.
std::vector<Pair> SlateCirclePoints(const Box& box);
std::vector<Pair> SlateSquarePoints(const Box& box);
