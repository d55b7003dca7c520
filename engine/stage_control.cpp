#include "engine/stage_control.h"

#include <mmsystem.h>
#include <cstring>

#include "engine/key_table.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "engine/stage_window.h"

const char kStageControlClassName[] = "MMStageControlClass";

namespace {
const AFWindowClass kStageControlClass = {
    CS_OWNDC | CS_DBLCLKS, 0, 0, false, nullptr, nullptr, false, nullptr, nullptr, nullptr,
    kStageControlClassName, AFControl::SubclassProc};
const UINT_PTR kPointerLeftTimer = 1;
const UINT kPointerLeftDelay = 500;
}  // namespace

MMStageControl::MMStageControl(MMStageWindow* owner, const Box& box, MMStage* stage)
    : AFWindowsSystemControl(owner), stage_(stage), stageWindow_(owner)
{
    if (!RegisterWindowClass(kStageControlClass))
        return;
    HWND parent = owner ? owner->window : nullptr;
    HWND hwnd = CreateWindowExA(0, kStageControlClassName, "", WS_CHILD | WS_CLIPSIBLINGS,
                                box.left, box.top, box.Width(), box.Height(), parent, nullptr,
                                GetModuleHandleA(nullptr), this);
    if (!hwnd)
        return;
    AttachWindow(hwnd);
    if (owner && owner->palette) {
        HDC dc = GetDC(hwnd);
        HPALETTE previous = SelectPalette(dc, owner->palette, TRUE);
        if (previous && previous != GetStockObject(DEFAULT_PALETTE))
            DeleteObject(previous);
    }
    OpenTabletContext();
    if (owner)
        owner->SetControl(this);
}

MMStageControl::~MMStageControl()
{
    if (tabletContext_)
        WinTab().close(tabletContext_);
    if (stageWindow_ && stageWindow_->Control() == this)
        stageWindow_->SetControl(nullptr);
}

void MMStageControl::OpenTabletContext()
{
    if (!IsTabletLibraryBound())
        return;
    UINT devices = 0;
    if (!WinTab().info(kWtiInterface, kIfcNDevices, &devices) || devices == 0)
        return;
    MMWinTabLogContext context = {};
    if (!WinTab().info(kWtiDefSysCtx, 0, &context))
        return;
    std::strcpy(context.lcName, "MMStage context");
    context.lcOptions |= kCxoMessages;
    context.lcPktData = kTabletPacketData;
    context.lcMoveMask = kTabletPacketData;
    context.lcPktMode = 0;
    context.lcOutOrgX = context.lcSysOrgX;
    context.lcOutOrgY = context.lcSysOrgY;
    context.lcOutExtX = context.lcSysExtX;
    context.lcOutExtY = -context.lcSysExtY;
    tabletContext_ = WinTab().open(window, &context, FALSE);
    if (!tabletContext_)
        return;
    WinTab().queueSizeSet(tabletContext_, 32);
    WinTab().enable(tabletContext_, FALSE);
    MMWinTabAxis axis = {};
    if (WinTab().info(kWtiDevices + context.lcDevice, kDvcNPressure, &axis)) {
        hasPressure_ = true;
        maxPressure_ = int16_t(axis.axMax);
        lastCursor_ = -1;
    } else {
        hasPressure_ = false;
    }
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    originX_ = origin.x;
    originY_ = origin.y;
}

bool MMStageControl::HandleOwnerCommand(uint16_t id)
{
    if (!stage_ || !stage_->HasCommand(id))
        return false;
    MMStageEvent event = {kStageEventMenuCommand, timeGetTime(), 0, 0, 0, id};
    stage_->QueueInputEvent(event);
    return true;
}

void MMStageControl::OnAppActivated() { Enable(true); }
void MMStageControl::OnAppDeactivated() { Enable(false); }

void MMStageControl::OnDeactivated()
{
    if (stage_ && stage_->Scene())
        stage_->Scene()->SetFocus(nullptr);
}

void MMStageControl::FlushInput()
{
    MSG message;
    while (PeekMessageA(&message, window, WM_MOUSEFIRST, 0x209, PM_REMOVE)) {
    }
    while (PeekMessageA(&message, window, WM_KEYFIRST, 0x108, PM_REMOVE)) {
    }
}

void MMStageControl::EnableTablet(bool on)
{
    tabletEnabled_ = on;
    if (tabletContext_) {
        WinTab().enable(tabletContext_, on);
        WinTab().overlap(tabletContext_, TRUE);
        lastPacket_.cursor = -1;
    }
}

bool MMStageControl::SetPointerSamplingMode(bool on)
{
    samplingOn_ = on;
    if (!on) {
        mouseSamples_ = false;
        lastTabletTime_ = -500;
        return false;
    }
    if (tabletContext_ && int32_t(stage_->Now()) - lastTabletTime_ <= 500) {
        mouseSamples_ = false;
        return false;
    }
    mouseSamples_ = true;
    return true;
}

uint32_t MMStageControl::TranslateMouseFlags(WPARAM keyState)
{
    uint32_t flags = 0;
    if (keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))
        flags |= kPointerHeld;
    if (keyState & MK_RBUTTON)
        flags |= kPointerRightHeld;
    if (keyState & MK_SHIFT)
        flags |= kPointerShift;
    if (keyState & MK_CONTROL)
        flags |= kPointerControl;
    return flags;
}

void MMStageControl::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    uint32_t press = 0;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        press = kPointerPressed;
        SetCapture(window);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        press = kPointerReleased;
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)))
            ReleaseCapture();
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        press = kPointerDoubleClick | kPointerPressed;
        SetCapture(window);
        break;
    default:
        break;
    }
    if (!timerSet_ && SetTimer(window, kPointerLeftTimer, kPointerLeftDelay, nullptr))
        timerSet_ = true;
    int32_t x = int16_t(LOWORD(lParam));
    int32_t y = int16_t(HIWORD(lParam));
    MMStageEvent event = {kStageEventPointer, uint32_t(GetMessageTime()), 0, x, y,
                          press | TranslateMouseFlags(wParam)};
    stage_->QueueInputEvent(event);
    if (mouseSamples_)
        stage_->QueuePointerSample(MMPointerSample{x, y, kMouseCursor, 255});
}

bool MMStageControl::HandleKeyDown(WPARAM virtualKey)
{
    uint8_t modifiers = (GetKeyState(VK_SHIFT) < 0 ? kKeyShift : 0) |
                        (GetKeyState(VK_CONTROL) < 0 ? kKeyControl : 0);
    const MMKeyTableRow* row = MMFindKey(uint16_t(virtualKey), modifiers);
    if (!row)
        return false;
    MMStageEvent event = {kStageEventKey, uint32_t(GetMessageTime()), 0, 0, 0,
                          MMStageEvent::KeyData(row->command, 0, 0)};
    stage_->QueueInputEvent(event);
    if (row->flags & kKeySwallowChar) {
        MSG message;
        PeekMessageA(&message, window, WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    return true;
}

void MMStageControl::HandleCharacter(WPARAM code)
{
    MMStageEvent event = {kStageEventKey, uint32_t(GetMessageTime()), 0, 0, 0,
                          MMStageEvent::KeyData(0, uint8_t(code & 0xFF), uint8_t((code >> 8) & 0xFF))};
    stage_->QueueInputEvent(event);
}

void MMStageControl::HandleTimer()
{
    if (GetCapture() == window)
        return;
    HWND ownerWindow = stageWindow_ ? stageWindow_->window : GetParent(window);
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(ownerWindow, &point);
    if (ChildWindowFromPointEx(ownerWindow, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED) ==
        window)
        return;
    MMStageEvent event = {kStageEventPointerLeft, uint32_t(GetMessageTime()), 0, -1, -1, 0};
    stage_->QueueInputEvent(event);
    KillTimer(window, kPointerLeftTimer);
    timerSet_ = false;
}

// A tip released below its release mark reads 0; a cursor whose marks give
// no span falls back to the whole axis.
int16_t MMStageControl::ScalePressure(int32_t cursor, int32_t pressure)
{
    if (!hasPressure_)
        return 255;
    if (cursor != lastCursor_) {
        lastCursor_ = int16_t(cursor);
        UINT marks[2] = {255, 255};
        WinTab().info(kWtiCursors + cursor, kCsrNPBtnMarks, marks);
        releaseMark_ = int16_t(marks[0]);
        pressureSpan_ = int16_t(maxPressure_ - releaseMark_);
        if (pressureSpan_ <= 0) {
            releaseMark_ = 0;
            pressureSpan_ = maxPressure_;
        }
    }
    if (pressureSpan_ <= 0)
        return 255;
    int32_t value = int16_t(MulDiv(pressure - releaseMark_, 255, pressureSpan_));
    if (value < 0)
        return 0;
    return int16_t(value > 255 ? 255 : value);
}

void MMStageControl::HandlePacket(WPARAM serial)
{
    MMTabletPacket packet = {};
    if (!WinTab().packet(tabletContext_, UINT(serial), &packet) || !tabletEnabled_)
        return;
    if (packet.x == lastPacket_.x && packet.y == lastPacket_.y &&
        packet.cursor == lastPacket_.cursor && packet.pressure == lastPacket_.pressure)
        return;
    lastPacket_ = packet;
    lastTabletTime_ = int32_t(stage_->Now());
    if (!samplingOn_)
        return;
    MMPointerSample sample = {packet.x - originX_, packet.y - originY_, int16_t(packet.cursor),
                              ScalePressure(packet.cursor, packet.pressure)};
    stage_->QueuePointerSample(sample);
}

bool MMStageControl::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result)
{
    switch (message) {
    case WM_PAINT:
        stage_->HandlePaint();
        return true;
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_SETCURSOR:
        if (stage_->Cursors())
            stage_->Cursors()->Refresh();
        *result = 1;
        return true;
    case WM_KEYDOWN:
        if (HandleKeyDown(wParam))
            return true;
        break;
    case WM_CHAR:
    case WM_IME_CHAR:
        HandleCharacter(wParam);
        return true;
    case WM_SYSCOMMAND:
        if (stageWindow_ && stageWindow_->window)
            SendNotifyMessageA(stageWindow_->window, message, wParam, lParam);
        return true;
    case WM_TIMER:
        HandleTimer();
        return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        HandleMouse(message, wParam, lParam);
        return true;
    case kWtPacket:
        HandlePacket(wParam);
        return true;
    case kStageStopMessage:
        *result = stage_->RequestStop(wParam) ? 1 : 0;
        return true;
    default:
        break;
    }
    return AFWindowsSystemControl::HandleMessage(hwnd, message, wParam, lParam, result);
}
