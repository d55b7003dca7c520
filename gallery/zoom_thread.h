#pragma once
// The gallery's short zoom before a drop, a new book or an opened book
// takes effect: a white frame moves from one box to another in six equal
// steps (truncated, so it may stop short of the target), then disappears
// and the scene carries the action out.
#include <cstdint>

#include "engine/engine_thread.h"
#include "framework/geometry.h"

class ZoomHost {
public:
    virtual ~ZoomHost() = default;
    // An empty box hides the frame.
    virtual void SetZoomFrame(const Box& box) = 0;
    virtual void ZoomDone(int32_t kind) = 0;
};

class ZoomPath {
public:
    static constexpr int16_t kSteps = 6;

    void SetBoxes(const Box& from, const Box& to);
    // One step; false once the zoom has ended (ZoomDone was called).
    bool Step(ZoomHost& host);
    void SetKind(int32_t value) { kind = value; }
    int32_t Kind() const { return kind; }
    bool Running() const { return counter != kIdle; }
    const Box& Current() const { return current; }

private:
    static constexpr int16_t kIdle = -2;
    static constexpr int16_t kStart = 7;

    Box current = {0, 0, 0, 0};
    Box target = {0, 0, 0, 0};
    int16_t delta[4] = {0, 0, 0, 0};  // left, right, top, bottom
    int16_t counter = kIdle;
    int32_t kind = -1;
};

class MpZoomThread : public MMLightweightThread {
public:
    MpZoomThread(MMStage* stage, ZoomHost& host);
    bool Run() override;
    ZoomPath& Path() { return path; }

private:
    ZoomHost& host;
    ZoomPath path;
};
