#include "text/rich_text_proxy.h"

#include <climits>
#include <cstring>

#include "engine/scene.h"
#include "engine/stage.h"
#include "engine/stage_window.h"
#include "framework/byte_order_streams.h"
#include "framework/callbacks.h"
#include "media/surface.h"
#include "text/rich_edit_control.h"

namespace {

enum : DWORD_PTR { kStreamOutCookie = 101, kStreamInCookie = 102 };

// The stream of the transfer in progress: transfers run one at a time on
// the window thread.
struct Transfer {
    FSWriter* output = nullptr;
    FSReader* input = nullptr;
    int32_t left = 0;
    int32_t moved = 0;
    int32_t error = 0;
};
Transfer* transfer = nullptr;

DWORD CALLBACK StreamCallback(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done)
{
    *done = 0;
    if (transfer == nullptr)
        return DWORD(-1);
    if (cookie == kStreamOutCookie) {
        if (!transfer->output->WriteBytes(bytes, count)) {
            int32_t error = transfer->output->GetError();
            transfer->error = error ? error : -1;
            return DWORD(transfer->error);
        }
        *done = count;
    } else {
        int32_t n = count < transfer->left ? count : transfer->left;
        if (n > 0 && !transfer->input->ReadBytes(bytes, n)) {
            int32_t error = transfer->input->GetError();
            transfer->error = error ? error : -1;
            return DWORD(transfer->error);
        }
        transfer->left -= n;
        *done = n;
    }
    transfer->moved += *done;
    return 0;
}

int32_t ScreenDpi()
{
    HDC dc = GetDC(nullptr);
    int32_t dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc)
        ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

int32_t TwipsForPixels(int32_t pixels, int32_t dpi)
{
    return ((pixels * 144 + dpi / 2) / dpi) * 10;
}

int32_t PixelsForTwips(int32_t twips, int32_t dpi) { return (dpi * (twips / 10) + 72) / 144; }

COLORREF ColorRefFor(const MMColor& colour)
{
    if (colour.index == -1)
        return RGB(colour.red, colour.green, colour.blue);
    return 0x01000000u + uint16_t(colour.index);
}

template <class F>
void MMRichTextProxyMolecule::OnWindow(F function)
{
    if (control)
        RunOnWindowThread(AFMakeCallback(function));
}

MMRichTextProxyMolecule::MMRichTextProxyMolecule(MMBaseScene* scene, const Box& box,
                                                 bool startHidden)
    : MMMolecule(scene),
      MMLightweightThread("RichTextProxyThread", scene ? scene->Stage() : nullptr),
      box(box),
      clipBox(box),
      dpi(ScreenDpi())
{
    MMStage* stage = MMMolecule::Stage();
    MMStageWindow* window = stage ? stage->Window() : nullptr;
    if (window) {
        Pair origin = WindowOrigin();
        Box at = box;
        at.Offset(origin);
        window->RunOnWindowThread(AFMakeCallback([&] {
            control = new AFEditRichTextControl(window, at);
            control->KeepOnOwnerDestroy();
            control->BringToTop();
        }));
    }
    if (startHidden) {
        hidden_ = true;
    } else {
        hidden_ = true;
        Show();
        TakeFocus();
    }
    RefreshFormatCopies();
    Activate();
}

MMRichTextProxyMolecule::~MMRichTextProxyMolecule()
{
    UpdatePlacement();
    Terminate();
    delete characterCopy;
    delete paragraphCopy;
    delete listener;
    if (control) {
        MMStage* stage = MMMolecule::Stage();
        MMStageWindow* window = stage ? stage->Window() : nullptr;
        AFEditRichTextControl* doomed = control;
        control = nullptr;
        if (window) {
            window->RunOnWindowThread(AFMakeCallback([=] {
                doomed->OnFocusLost();
                delete doomed;
            }));
        }
    }
}

Pair MMRichTextProxyMolecule::WindowOrigin() const
{
    MMStage* stage = MMMolecule::Stage();
    return stage ? Pair{stage->StageBox().left, stage->StageBox().top} : Pair{0, 0};
}

bool MMRichTextProxyMolecule::Run()
{
    if (state_ == kMMThreadTerminating)
        return false;
    if (listener == nullptr) {
        SleepFor(INT_MAX);
        return true;
    }
    bool changed = false;
    OnWindow([&] { changed = control->FormatsChanged(); });
    if (changed) {
        RefreshFormatCopies();
        listener->Invoke();
    }
    SleepFor(1);
    return true;
}

void MMRichTextProxyMolecule::Show()
{
    OnWindow([this] { control->Show(true); });
    UpdatePlacement();
    hidden_ = false;
    if (listener && IsIdle())
        SleepUntil(0);
}

void MMRichTextProxyMolecule::Hide()
{
    if (!IsIdle())
        SleepFor(INT_MAX);
    OnWindow([this] { control->Show(false); });
    UpdatePlacement();
    hidden_ = true;
}

bool MMRichTextProxyMolecule::HandleKey(uint32_t keyData)
{
    if ((keyData & 0xFF) != 0)
        return false;
    if (control == nullptr || control->EditWindow() == nullptr)
        return true;
    uint8_t first = uint8_t(keyData >> 16);
    uint8_t second = uint8_t(keyData >> 24);
    if (second != 0)
        PostMessageA(control->EditWindow(), WM_IME_CHAR, WPARAM(first * 256 + second), 1);
    else
        PostMessageA(control->EditWindow(), WM_CHAR, WPARAM(first), 1);
    return true;
}

void MMRichTextProxyMolecule::GainFocus()
{
    MMMolecule::GainFocus();
    OnWindow([this] { control->OnFocusGained(); });
}

void MMRichTextProxyMolecule::LoseFocus()
{
    OnWindow([this] { control->OnFocusLost(); });
    MMMolecule::LoseFocus();
}

bool MMRichTextProxyMolecule::IsEmpty()
{
    bool empty = true;
    OnWindow([&] { empty = control->IsEmpty(); });
    return empty;
}

bool MMRichTextProxyMolecule::IsModified()
{
    bool modified = true;
    OnWindow([&] { modified = control->IsModified(); });
    return modified;
}

void MMRichTextProxyMolecule::SetModified(bool modified)
{
    OnWindow([=, this] { control->SetModified(modified); });
}

void MMRichTextProxyMolecule::Undo()
{
    OnWindow([this] { control->Undo(); });
}

void MMRichTextProxyMolecule::Clear()
{
    OnWindow([this] { control->Clear(); });
}

void MMRichTextProxyMolecule::SetSelection(int32_t start, int32_t end)
{
    OnWindow([=, this] { control->SetSelection(start, end); });
}

void MMRichTextProxyMolecule::GetSelection(int32_t* start, int32_t* end)
{
    *start = 0;
    *end = 0;
    OnWindow([=, this] { control->GetSelection(start, end); });
}

int32_t MMRichTextProxyMolecule::TextLength()
{
    int32_t length = 0;
    OnWindow([&] { length = control->GetTextLength(); });
    return length;
}

void MMRichTextProxyMolecule::GetText(char* buffer, int32_t size)
{
    if (size > 0)
        buffer[0] = 0;
    OnWindow([=, this] { control->GetText(buffer, size); });
}

void MMRichTextProxyMolecule::SetBounds(const Box& newBox, const Box& newClip)
{
    UpdatePlacement();
    box = newBox;
    clipBox = newClip;
    Pair origin = WindowOrigin();
    Box clip = newClip;
    clip.Offset(origin);
    Box at = newBox;
    at.Offset(origin);
    OnWindow([=, this] {
        control->SetBounds(clip);
        control->Place(at);
    });
    UpdatePlacement();
}

void MMRichTextProxyMolecule::MoveBox(const Pair& point)
{
    Box moved = {point.x, point.y, point.x + box.Width(), point.y + box.Height()};
    SetBounds(moved, moved);
}

void MMRichTextProxyMolecule::UpdatePlacement()
{
    Pair border = control ? control->BorderOffset() : Pair{0, 0};
    placement = Box{box.left - border.x, box.top - border.y, box.right + border.x,
                    box.bottom + border.y};
}

void MMRichTextProxyMolecule::SetTextColor(const MMColor& colour)
{
    COLORREF reference = ColorRefFor(colour);
    OnWindow([=, this] { control->SetTextColor(reference); });
    if (characterCopy) {
        characterCopy->dwMask |= CFM_COLOR;
        characterCopy->dwEffects &= ~CFE_AUTOCOLOR;
        characterCopy->crTextColor = reference;
    }
}

void MMRichTextProxyMolecule::SetFaceName(const char* name, uint8_t charSet, uint8_t pitch)
{
    char face[33] = {};
    std::strncpy(face, name, 32);
    OnWindow([&] { control->SetFace(face, charSet, pitch); });
    if (characterCopy) {
        // The format's face holds one character less than ours; the cut keeps
        // its terminating zero.
        std::memset(characterCopy->szFaceName, 0, sizeof characterCopy->szFaceName);
        std::memcpy(characterCopy->szFaceName, face,
                    strnlen(face, sizeof characterCopy->szFaceName - 1));
    }
}

void MMRichTextProxyMolecule::SetTextSize(int32_t pixels)
{
    int32_t twips = TwipsForPixels(pixels, dpi);
    OnWindow([=, this] { control->SetHeight(twips); });
    if (characterCopy)
        characterCopy->yHeight = twips;
}

void MMRichTextProxyMolecule::StoreEffect(DWORD effect, bool on)
{
    if (characterCopy == nullptr)
        return;
    if (on)
        characterCopy->dwEffects |= effect;
    else
        characterCopy->dwEffects &= ~effect;
}

void MMRichTextProxyMolecule::SetBold(bool on)
{
    OnWindow([=, this] { control->SetBold(on); });
    StoreEffect(CFE_BOLD, on);
}

void MMRichTextProxyMolecule::SetItalic(bool on)
{
    OnWindow([=, this] { control->SetItalic(on); });
    StoreEffect(CFE_ITALIC, on);
}

void MMRichTextProxyMolecule::SetUnderline(bool on)
{
    OnWindow([=, this] { control->SetUnderline(on); });
    StoreEffect(CFE_UNDERLINE, on);
}

void MMRichTextProxyMolecule::SetPlain()
{
    OnWindow([this] { control->SetPlain(); });
    StoreEffect(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE, false);
}

void MMRichTextProxyMolecule::SetDefaultFormatMode(bool on)
{
    if (control)
        control->SetDefaultFormatMode(on);
}

void MMRichTextProxyMolecule::SetAlignment(int32_t kind)
{
    OnWindow([=, this] { control->SetAlignment(kind); });
    if (paragraphCopy)
        paragraphCopy->wAlignment = kind == 1 ? PFA_CENTER : kind == 2 ? PFA_RIGHT : PFA_LEFT;
}

void MMRichTextProxyMolecule::DrawInto(MMSurface* surface)
{
    if (control == nullptr || surface == nullptr)
        return;
    HDC dc = surface->GetDC();
    if (dc == nullptr)
        return;
    Box area = surface->GetBounds();
    int32_t dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int32_t dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    int32_t left = MulDiv(area.left, 1440, dpiX);
    int32_t top = MulDiv(area.top, 1440, dpiY);
    int32_t right = MulDiv(area.right, 1440, dpiX);
    int32_t bottom = MulDiv(area.bottom, 1440, dpiY);
    OnWindow([=, this] { control->FormatRange(dc, left, top, right, bottom); });
}

int32_t MMRichTextProxyMolecule::StreamOut(FSWriter& output)
{
    Transfer out;
    out.output = &output;
    OnWindow([&] {
        transfer = &out;
        EDITSTREAM stream = {kStreamOutCookie, 0, StreamCallback};
        control->StreamOut(&stream);
        transfer = nullptr;
    });
    return out.error ? out.error : out.moved;
}

int32_t MMRichTextProxyMolecule::StreamIn(FSReader& input, int32_t byteLimit)
{
    Transfer in;
    in.input = &input;
    in.left = byteLimit;
    OnWindow([&] {
        transfer = &in;
        EDITSTREAM stream = {kStreamInCookie, 0, StreamCallback};
        control->StreamIn(&stream);
        transfer = nullptr;
    });
    RefreshFormatCopies();
    return in.error ? in.error : in.moved;
}

void MMRichTextProxyMolecule::RefreshFormatCopies()
{
    if (control == nullptr)
        return;
    if (characterCopy == nullptr)
        characterCopy = new (std::nothrow) CHARFORMATA();
    if (paragraphCopy == nullptr)
        paragraphCopy = new (std::nothrow) PARAFORMAT();
    if (characterCopy == nullptr || paragraphCopy == nullptr)
        return;
    control->CopyFormatCache(characterCopy, paragraphCopy);
}

bool MMRichTextProxyMolecule::IsBold() const
{
    return characterCopy && (characterCopy->dwEffects & CFE_BOLD);
}

bool MMRichTextProxyMolecule::IsItalic() const
{
    return characterCopy && (characterCopy->dwEffects & CFE_ITALIC);
}

bool MMRichTextProxyMolecule::IsUnderline() const
{
    return characterCopy && (characterCopy->dwEffects & CFE_UNDERLINE);
}

const char* MMRichTextProxyMolecule::FaceName() const
{
    return characterCopy ? characterCopy->szFaceName : "";
}

MMColor MMRichTextProxyMolecule::TextColor() const
{
    if (characterCopy == nullptr)
        return MakeMMColorFromRgb(0);
    COLORREF c = characterCopy->crTextColor;
    return MakeMMColorFromRgb((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}

int32_t MMRichTextProxyMolecule::TextSizePixels() const
{
    return characterCopy ? PixelsForTwips(characterCopy->yHeight, dpi) : 0;
}

int32_t MMRichTextProxyMolecule::Alignment() const
{
    if (paragraphCopy == nullptr)
        return 0;
    return paragraphCopy->wAlignment == PFA_CENTER ? 1 : paragraphCopy->wAlignment == PFA_RIGHT ? 2 : 0;
}

void MMRichTextProxyMolecule::SetChangeListener(AFCallback* newListener)
{
    if (newListener != listener) {
        delete listener;
        listener = newListener;
    }
    if (listener) {
        if (IsIdle())
            SleepUntil(0);
    } else if (!IsIdle()) {
        SleepFor(INT_MAX);
    }
}
