#include "text/text_box.h"

#include <cstring>
#include <new>

#include "engine/enclosure.h"
#include "engine/picture_collection.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/offscreen_surface.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "text/rich_edit_control.h"
#include "text/text_box_geometry.h"

namespace {

const Box kFirstBox = {0, 0, 100, 100};
const int16_t kHandleLayer = 199;

MMStage* StageOf(MMBaseScene* scene) { return scene ? scene->Stage() : nullptr; }

bool Loaded(MMBaseScene* scene)
{
    LoadRichEditLibrary();
    return scene != nullptr;
}

}  // namespace

KVXTextCloakVisual::KVXTextCloakVisual(const Box& box)
    : MMOpaqueBoxVisual(box),
      snapshot(MMSurface::CreateBitmapDC(32, Box{0, 0, box.Width(), box.Height()}, nullptr))
{
    SetLayer(kHandleLayer);
}

KVXTextCloakVisual::~KVXTextCloakVisual()
{
    if (snapshot)
        snapshot->Dispose();
}

void KVXTextCloakVisual::Draw(MMSurface* surface)
{
    if (snapshot)
        surface->CopyFromOffscreenTo(*snapshot, Pair{0, 0}, box);
}

KVXTextEditWrapper::KVXTextEditWrapper(MMBaseScene* scene, KVXTextCanvas* canvas,
                                       const Box& canvasArea)
    : MMRichTextProxyMolecule((Loaded(scene), scene), kFirstBox, true),
      canvas(canvas),
      canvasArea(canvasArea),
      colour(MakeMMColorFromRgb(0))
{
    MMStage* stage = StageOf(scene);
    if (stage && stage->SoundManager())
        channel = new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
    sounds.Load(kStampSoundsTable, 10, gDefaultHeap);
}

KVXTextEditWrapper::~KVXTextEditWrapper()
{
    Uncloak();
    MMEnclosure* enclosure = Enclosure();
    for (MMStandardMouseInterpreter* each : {scaleInterpreter, moveInterpreter})
        if (each)
            each->ReleaseCapture();
    for (MMPictureButtonVisual* each : {scaleHandle, moveHandle}) {
        if (each && enclosure)
            enclosure->RemoveVisual(each);
        delete each;
    }
    delete scaleInterpreter;
    delete moveInterpreter;
    delete channel;
    sounds.Free();
}

void KVXTextEditWrapper::SetFaceName(const char* name)
{
    std::memset(face, 0, sizeof face);
    std::strncpy(face, name, 32);
    MMRichTextProxyMolecule::SetFaceName(face, DEFAULT_CHARSET, 0);
}

void KVXTextEditWrapper::SetTextSize(int32_t pixels)
{
    size = int16_t(pixels);
    MMRichTextProxyMolecule::SetTextSize(pixels);
}

void KVXTextEditWrapper::SetTextColor(const MMColor& newColour)
{
    colour = newColour;
    MMRichTextProxyMolecule::SetTextColor(newColour);
}

void KVXTextEditWrapper::SetBold(bool on)
{
    bold = on;
    MMRichTextProxyMolecule::SetBold(on);
}

void KVXTextEditWrapper::SetItalic(bool on)
{
    italic = on;
    MMRichTextProxyMolecule::SetItalic(on);
}

void KVXTextEditWrapper::SetUnderline(bool on)
{
    underline = on;
    MMRichTextProxyMolecule::SetUnderline(on);
}

void KVXTextEditWrapper::SetPlain()
{
    bold = italic = underline = 0;
    MMRichTextProxyMolecule::SetPlain();
}

void KVXTextEditWrapper::ReapplyFormat()
{
    SetSelection(0, -1);
    Clear();
    MMRichTextProxyMolecule::SetFaceName(face, DEFAULT_CHARSET, 0);
    MMRichTextProxyMolecule::SetTextSize(size);
    MMRichTextProxyMolecule::SetTextColor(colour);
    MMRichTextProxyMolecule::SetBold(bold);
    MMRichTextProxyMolecule::SetItalic(italic);
    MMRichTextProxyMolecule::SetUnderline(underline);
    UpdatePlacement();
}

void KVXTextEditWrapper::Show()
{
    if (!IsHidden())
        return;
    MMRichTextProxyMolecule::Show();
    ShowHandles(true);
}

void KVXTextEditWrapper::Hide()
{
    if (IsHidden())
        return;
    MMRichTextProxyMolecule::Hide();
    ShowHandles(false);
}

void KVXTextEditWrapper::ShowHandles(bool shown)
{
    for (MMPictureButtonVisual* each : {scaleHandle, moveHandle})
        if (each)
            each->SetHidden(!shown);
}

void KVXTextEditWrapper::PlaceHandles()
{
    if (scaleHandle) {
        Pair at = ScaleHandlePlace(GetBox());
        scaleHandle->SetPosition(at.x, at.y);
    }
    if (moveHandle) {
        Box bounds = moveHandle->GetBounds();
        Pair at = MoveHandlePlace(GetBox(), Pair{bounds.Width(), bounds.Height()});
        moveHandle->SetPosition(at.x, at.y);
    }
}

void KVXTextEditWrapper::ApplyBox(const Box& newBox)
{
    if (newBox.IsEmpty() || newBox == GetBox())
        return;
    SetBounds(newBox, newBox);
    PlaceHandles();
    UpdatePlacement();
}

void KVXTextEditWrapper::PlaceBox(const Box& rect)
{
    ApplyBox(ClipToCanvas(rect, canvasArea));
    if (!IsHidden())
        Hide();
    SetSelection(0, -1);
    Clear();
    Show();
    PlaceHandles();
}

void KVXTextEditWrapper::PlaceAt(const Pair& point)
{
    ApplyBox(MovedTextBox(GetBox(), point, canvasArea));
    if (!IsHidden())
        Hide();
    SetSelection(0, -1);
    Clear();
    Show();
    PlaceHandles();
}

bool KVXTextEditWrapper::RenderTextIntoCanvas(int32_t opacity, int32_t relief)
{
    if (canvas == nullptr)
        return false;
    return ::RenderTextIntoCanvas(*this, *canvas, GetBox(), opacity, relief);
}

void KVXTextEditWrapper::Cloak()
{
    if (cloak || IsHidden())
        return;
    cloak = new (std::nothrow) KVXTextCloakVisual(GetBox());
    if (cloak == nullptr)
        return;
    WinMMOffscreenSurface* snapshot = cloak->Surface();
    if (snapshot == nullptr) {
        delete cloak;
        cloak = nullptr;
        return;
    }
    Box area = {0, 0, GetBox().Width(), GetBox().Height()};
    snapshot->FillBox(area, MakeMMColorFromRgb(0xFFFFFF));
    snapshot->FrameBox(area, MakeMMColorFromRgb(0), 1);
    DrawInto(snapshot);
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(cloak);
    Hide();
}

void KVXTextEditWrapper::Uncloak()
{
    if (cloak == nullptr)
        return;
    if (IsHidden())
        Show();
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->RemoveVisual(cloak);
    delete cloak;
    cloak = nullptr;
}

void KVXTextEditWrapper::MakeHandles()
{
    if (scaleHandle || moveHandle)
        return;
    MMStage* stage = MMMolecule::Stage();
    const MMResourceId tables[2] = {kTextScaleHandleTable, kTextMoveHandleTable};
    for (int i = 0; i < 2; ++i) {
        MMRecordTable table;
        table.Load(tables[i], 8, gDefaultHeap);
        MMPictureReference normal;
        MMPictureReference highlight;
        if (table.IsLoaded() && table.RowCount() > 0) {
            normal.Load(table.LongAt(0, 4));
            highlight.Load(table.LongAt(0, 0));
        }
        table.Free();
        bool scales = i == 0;
        auto* interpreter = new (std::nothrow) KVXTextEditHandleInterpreter(stage, this, scales);
        auto* handle = new (std::nothrow) MMPictureButtonVisual();
        if (handle == nullptr || interpreter == nullptr) {
            delete handle;
            delete interpreter;
            continue;
        }
        handle->ConstructWithPictures({normal, highlight, Pair{0, 0}, interpreter, kHandleLayer});
        handle->SetHidden(true);
        if (MMEnclosure* enclosure = Enclosure())
            enclosure->AddVisual(handle);
        (scales ? scaleHandle : moveHandle) = handle;
        (scales ? scaleInterpreter : moveInterpreter) = interpreter;
    }
}

void KVXTextEditWrapper::PlayBoxSound(int16_t key, bool loop)
{
    int32_t row = sounds.IsLoaded() ? sounds.FindRowByKey(key) : -1;
    if (channel == nullptr || row < 0)
        return;
    MMSoundReference sound;
    sound.Load(sounds.LongAt(row, 2));
    channel->Play(sound, loop);
}

void KVXTextEditWrapper::StartHandleSound(int16_t key, const Pair& point)
{
    startDistance = TextHandleStartDistance(point);
    soundStart = point;
    frequency = 0x10000;
    PlayBoxSound(key, true);
    if (channel) {
        channel->SetVolume(1024);
        channel->SetPan(0);
        channel->SetFrequency(0x10000);
        channel->SetVolume(896);
    }
}

void KVXTextEditWrapper::EndHandleSound()
{
    if (channel) {
        channel->Stop();
        channel->SetVolume(1024);
        channel->SetPan(0);
        channel->SetFrequency(0x10000);
    }
    frequency = 0x10000;
    PlayBoxSound(kSoundHandleEnd, false);
}

void KVXTextEditWrapper::BeginScale(int32_t x, int32_t y)
{
    Pair handle = ScaleHandlePlace(GetBox());
    grab = Pair{x - handle.x, y - handle.y};
    ApplyBox(ScaledTextBox(GetBox(), handle, canvasArea));
    StartHandleSound(kSoundScaleStart, Pair{x, y});
}

void KVXTextEditWrapper::ContinueScale(int32_t x, int32_t y)
{
    ApplyBox(ScaledTextBox(GetBox(), Pair{x - grab.x, y - grab.y}, canvasArea));
    int32_t dx = x - soundStart.x;
    int32_t dy = y - soundStart.y;
    frequency = TextHandleFrequency(TextHandleStartDistance(Pair{dx, dy}), startDistance);
    if (channel)
        channel->SetFrequency(frequency);
}

void KVXTextEditWrapper::EndScale(int32_t x, int32_t y)
{
    ContinueScale(x, y);
    EndHandleSound();
}

void KVXTextEditWrapper::BeginMove(int32_t x, int32_t y)
{
    // The move handle's bottom-right corner stands on the box's top-left.
    Pair corner = {GetBox().left, GetBox().top};
    grab = Pair{x - corner.x, y - corner.y};
    Box moved = MovedTextBox(GetBox(), corner, canvasArea);
    if (moved != GetBox()) {
        MoveBox(Pair{moved.left, moved.top});
        PlaceHandles();
        UpdatePlacement();
    }
    StartHandleSound(kSoundMoveStart, Pair{x, y});
}

void KVXTextEditWrapper::ContinueMove(int32_t x, int32_t y)
{
    Box moved = MovedTextBox(GetBox(), Pair{x - grab.x, y - grab.y}, canvasArea);
    if (moved == GetBox())
        return;
    MoveBox(Pair{moved.left, moved.top});
    PlaceHandles();
    UpdatePlacement();
}

void KVXTextEditWrapper::EndMove(int32_t x, int32_t y)
{
    ContinueMove(x, y);
    EndHandleSound();
}

KVXTextEditHandleInterpreter::KVXTextEditHandleInterpreter(MMStage* stage,
                                                           KVXTextEditWrapper* box, bool scales)
    : MMStandardMouseInterpreter(stage), box(box), scales(scales)
{
}

MMPictureButtonVisual* KVXTextEditHandleInterpreter::Handle() const
{
    return scales ? box->ScaleHandle() : box->MoveHandle();
}

bool KVXTextEditHandleInterpreter::Interpret(const MMStageEvent& event)
{
    MMPictureButtonVisual* handle = Handle();
    if (!dragging) {
        if (!(event.data & kPointerPressed) || handle == nullptr ||
            !handle->GetBounds().Contains(Pair{event.x, event.y}))
            return false;
        dragging = true;
        handle->SetHighlighted(true);
        if (scales)
            box->BeginScale(event.x, event.y);
        else
            box->BeginMove(event.x, event.y);
        return true;
    }
    if ((event.data & kPointerReleased) || !(event.data & kPointerHeld)) {
        if (scales)
            box->EndScale(event.x, event.y);
        else
            box->EndMove(event.x, event.y);
        if (handle)
            handle->SetHighlighted(false);
        dragging = false;
        return false;
    }
    if (scales)
        box->ContinueScale(event.x, event.y);
    else
        box->ContinueMove(event.x, event.y);
    return true;
}
