#pragma once
// What the canvas visual uses of the five-channel slate recording it carries
// as an overlay: 5 groups (channels) of 5 polylines (frames), drawn over the
// picture while they play.
#include <cstdint>

#include "framework/geometry.h"

class MMSurface;

class KVXSlateRecording {
public:
    virtual ~KVXSlateRecording() = default;

    virtual void Init() = 0;
    virtual void Release() = 0;
    virtual void StorePolyline(int32_t group, int32_t polyline, const Pair* points, int32_t count,
                               int32_t settings, uint32_t color) = 0;
    virtual void Stop() = 0;
    virtual void Start() = 0;
    virtual void SelectGroup(int32_t group) = 0;
    virtual void SelectPolyline(int32_t polyline) = 0;
    virtual void CopyPolyline(int32_t group, int32_t from, int32_t to) = 0;
    virtual void ClearPolyline(int32_t group, int32_t polyline) = 0;
    virtual void ClearAll() = 0;
    // Union of the groups' bounding boxes, stage coordinates.
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
    virtual void SetOwner(void* collection) = 0;
    virtual int32_t PolylineInUse(int32_t group, int32_t polyline) const = 0;
    virtual uint32_t PolylineColor(int32_t group, int32_t polyline) const = 0;
};
