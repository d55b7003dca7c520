#include "gallery/zoom_thread.h"

void ZoomPath::SetBoxes(const Box& from, const Box& to)
{
    current = from;
    target = to;
    delta[0] = int16_t((to.left - from.left) / kSteps);
    delta[1] = int16_t((to.right - from.right) / kSteps);
    delta[2] = int16_t((to.top - from.top) / kSteps);
    delta[3] = int16_t((to.bottom - from.bottom) / kSteps);
    counter = kStart;
}

bool ZoomPath::Step(ZoomHost& host)
{
    if (counter == kIdle)
        return false;
    if (counter == kStart) {
        counter = kSteps;
        if (current.IsEmpty() && target.IsEmpty()) {
            counter = -1;
        } else {
            host.SetZoomFrame(current);
            return true;
        }
    }
    if (counter > 0) {
        current.left += delta[0];
        current.right += delta[1];
        current.top += delta[2];
        current.bottom += delta[3];
        host.SetZoomFrame(current);
        --counter;
        return true;
    }
    if (counter == 0) {
        host.SetZoomFrame({0, 0, 0, 0});
        counter = -1;
        return true;
    }
    counter = kIdle;
    int32_t done = kind;
    kind = -1;
    host.ZoomDone(done);
    return false;
}

MpZoomThread::MpZoomThread(MMStage* stage, ZoomHost& host)
    : MMLightweightThread("Zoom", stage), host(host)
{
}

bool MpZoomThread::Run()
{
    if (!path.Step(host))
        return false;
    Wait(1);
    return true;
}
