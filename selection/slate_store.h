#pragma once
// The recording of the five-frame animation slate: five channels that play
// together, each of five key frames of one polyline, with in-betweens made
// by interpolation. One fixed block: nothing is allocated while it plays.
#include <cstdint>

#include "canvas/slate_recording.h"
#include "framework/geometry.h"

class FSReader;
class FSWriter;
class MMSurface;

constexpr int16_t kSlateChannels = 5;
constexpr int16_t kSlateFrames = 5;
constexpr int16_t kSlatePoints = 512;
constexpr int32_t kSlateStepsPerFrame = 12;

enum SlateFrameState : int32_t {
    kSlateEmpty = 0,
    kSlateDrawn = 1,
    kSlateInBetween = 2,
};

struct SlateFrame {
    Pair points[kSlatePoints];
    int16_t count;
    uint32_t colour;       // blue, green, red, spare from the lowest byte
    uint32_t ghostColour;  // the onion skin; never stored
    int16_t width;
    Box bounds;
    int32_t state;
};

struct SlateChannel {
    SlateFrame frames[kSlateFrames];
    SlateFrame work;  // the in-between shown during playback
    Box bounds;
};

// The chalk-talk scene, told as playback passes its frames.
class KVXSlateFrameListener {
public:
    virtual void HighlightFrameButton(int16_t frame) = 0;

protected:
    ~KVXSlateFrameListener() = default;
};

class MagicSlateStore : public KVXSlateRecording {
public:
    // Allocated zeroed, so the slots beyond the counts are written as zeros.
    MagicSlateStore();

    void Init() override;
    void Release() override {}
    void SetGhostColour(uint32_t colour);

    bool StoreFrame(int32_t channel, int32_t frame, const Pair* points, int32_t count,
                    uint32_t colour, int32_t width) override;
    bool CopyFrame(int32_t channel, int32_t from, int32_t to) override;
    bool ClearFrame(int32_t channel, int32_t frame) override;
    void ClearAll() override;
    bool SelectChannel(int32_t channel) override;
    bool SelectFrame(int32_t frame) override;
    void Start() override;
    void Stop() override;
    bool HasStrokes() const;
    Box GetBounds() const override;

    void DrawPlaybackStep(MMSurface* surface) override;
    void DrawAtStep(MMSurface* surface, int32_t n) override;
    // The frame shown of a channel at frame f, step s (the work frame for an
    // in-between), or null when nothing is drawn.
    const SlateFrame* FrameShown(int16_t channel, int16_t f, int16_t s);

    bool Write(FSWriter& writer) const;
    // Reads the whole stored form first: a short read leaves the store
    // empty, a damaged channel stays empty while the others load; either
    // answers false with a pending error and starts no playback.
    bool Read(FSReader& reader);
    static constexpr int32_t StoredSize() { return 51750; }

    bool IsRunning() const override { return playing; }
    void SetStepFlag(bool on) override { frameDue = on; }
    bool IsPaused() const override { return paused; }
    void SetPaused(bool on) override { paused = on; }
    bool IsLooping() const override { return loop; }
    void SetLooping(bool on) override { loop = on; }
    void SetOwner(KVXMagicSlateToolCollection* collection) override { owner = collection; }
    void SetFrameListener(KVXSlateFrameListener* listener) { frameListener = listener; }
    int32_t FrameState(int32_t channel, int32_t frame) const override;
    uint32_t FrameColour(int32_t channel, int32_t frame) const override;

    SlateChannel channels[kSlateChannels];
    int16_t currentChannel;
    int16_t currentFrame;
    int16_t step;
    Box reserved;
    bool frameDue;
    bool playing;
    bool paused;
    KVXMagicSlateToolCollection* owner;
    KVXSlateFrameListener* frameListener;
    bool loop;
    bool forward;

private:
    void RebuildInBetweens(int16_t channel);
    void ClearKeyFrames(int16_t channel);
    void DrawChannel(MMSurface* surface, int16_t channel, int16_t f, int16_t s, bool ghost);
    void AdvancePlayback();
    void TellFrame(int16_t frame, bool listener);
    int16_t HighestDrawnFrame() const;
};

// Frame drawing helpers shared with the slate's thumbnails.
void DrawSlateFrame(MMSurface* surface, const SlateFrame& frame, bool ghost);
// Makes target the in-between of a and b at position k of n.
void InterpolateSlateFrame(const SlateFrame& a, const SlateFrame& b, int32_t k, int32_t n,
                           SlateFrame* target);
// Adds the points' boxes, widened by the frame's width, to its bounds.
void GrowSlateBounds(SlateFrame* frame);
