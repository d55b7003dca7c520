#pragma once
// The tray of the five-frame animation slate, as its frame tabs and its slate
// recording see it.
#include <cstdint>

class KVXMagicSlateToolCollection {
public:
    virtual ~KVXMagicSlateToolCollection() = default;

    // While a frame tab is dragged: highlights the tab under the point and
    // the drop area when the point lies in it.
    virtual void TrackFrameTab(int16_t frame, int32_t x, int32_t y) = 0;
    // A dragged tab let go: in the drop area the frame is cleared, over
    // another tab it is copied there; the highlights go.
    virtual void DropFrameTab(int16_t frame, int32_t x, int32_t y) = 0;

    // Told by the recording as playback moves and when it is emptied.
    virtual void HighlightFrameTab(int16_t frame) = 0;
    virtual void RefreshThumbnails() = 0;
};
