#pragma once
// What the canvas visual uses of the five-channel slate recording it carries
// as an overlay: 5 channels of 5 key frames, drawn over the picture while
// they play.
#include <cstdint>

#include "framework/geometry.h"

class MMSurface;
class KVXMagicSlateToolCollection;

class KVXSlateRecording {
public:
    virtual ~KVXSlateRecording() = default;

    virtual void Init() = 0;
    virtual void Release() = 0;
    virtual bool StoreFrame(int32_t channel, int32_t frame, const Pair* points, int32_t count,
                            uint32_t colour, int32_t width) = 0;
    virtual void Stop() = 0;
    virtual void Start() = 0;
    virtual bool SelectChannel(int32_t channel) = 0;
    virtual bool SelectFrame(int32_t frame) = 0;
    virtual bool CopyFrame(int32_t channel, int32_t from, int32_t to) = 0;
    virtual bool ClearFrame(int32_t channel, int32_t frame) = 0;
    virtual void ClearAll() = 0;
    // Union of the key frames' boxes, stage coordinates.
    virtual Box GetBounds() const = 0;
    virtual void DrawPlaybackStep(MMSurface* surface) = 0;
    virtual void DrawAtStep(MMSurface* surface, int32_t step) = 0;

    virtual bool IsRunning() const = 0;
    virtual void SetStepFlag(bool on) = 0;
    virtual bool IsPaused() const = 0;
    virtual void SetPaused(bool on) = 0;
    virtual bool IsLooping() const = 0;
    virtual void SetLooping(bool on) = 0;
    // The slate tray that the recording tells of its changes.
    virtual void SetOwner(KVXMagicSlateToolCollection* collection) = 0;
    // 0 empty, 1 drawn, 2 in-between.
    virtual int32_t FrameState(int32_t channel, int32_t frame) const = 0;
    virtual uint32_t FrameColour(int32_t channel, int32_t frame) const = 0;
};
