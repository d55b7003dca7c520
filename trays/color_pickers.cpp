#include "trays/color_pickers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "brushes/hsv.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/scene.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/surface.h"
#include "shell/widgets/push_buttons.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kPickerLayout = 767;
const int32_t kHuePeriod = 300;
const MMResourceId kDragSound = MMResourceId(0x4000002B);
const MMResourceId kPickerPressSound = MMMakeResourceId(0, 149);
const MMResourceId kBoxPressSound = MMResourceId(0x4000002C);
const MMResourceId kScrollSound = MMMakeResourceId(0, 149);
const int32_t kNormalRate = 0x10000;
const int32_t kFirstChannelVolume = 1024;

const uint32_t kBlue = ColorWord(0, 0, 255);

void PlayOnce(MMGenericSoundChannel* channel, MMResourceId id, bool loop)
{
    if (channel == nullptr)
        return;
    MMSoundReference sound;
    sound.Load(id);
    channel->Play(sound, loop);
}

MMGenericSoundChannel* NewChannel(MMStage* stage)
{
    return stage != nullptr && stage->SoundManager() != nullptr
               ? new MMGenericSoundChannel(stage->SoundManager())
               : nullptr;
}

void StopAndDelete(MMGenericSoundChannel*& channel)
{
    if (channel != nullptr) {
        channel->Stop();
        delete channel;
        channel = nullptr;
    }
}

void AddTo(MMMolecule* molecule, MMVisual* visual)
{
    if (MMEnclosure* enclosure = molecule->Enclosure())
        enclosure->AddVisual(visual);
}

void RemoveFrom(MMMolecule* molecule, MMVisual* visual)
{
    if (MMEnclosure* enclosure = molecule->Enclosure())
        enclosure->RemoveVisual(visual);
}

Box Grown(Box box, int32_t n)
{
    box.Inflate(n);
    return box;
}

}  // namespace

const uint32_t kDefaultPalette[kPaletteColors] = {
    ColorWord(255, 255, 255), ColorWord(187, 187, 187), ColorWord(119, 119, 119),
    ColorWord(68, 68, 68),    ColorWord(0, 0, 0),       ColorWord(255, 230, 198),
    ColorWord(252, 22, 32),   ColorWord(255, 179, 13),  ColorWord(61, 182, 201),
    ColorWord(245, 73, 153),  ColorWord(255, 112, 22),  ColorWord(210, 236, 32),
    ColorWord(147, 143, 194), ColorWord(252, 169, 214), ColorWord(6, 105, 163),
    ColorWord(255, 0, 255),   ColorWord(0, 255, 0),     ColorWord(0, 0, 255),
    ColorWord(255, 255, 0),   ColorWord(153, 0, 255),   ColorWord(204, 204, 255),
    ColorWord(204, 255, 153), ColorWord(255, 255, 153), ColorWord(255, 204, 255),
    ColorWord(153, 255, 255), ColorWord(0, 51, 0),      ColorWord(153, 102, 0),
    ColorWord(0, 0, 85),      ColorWord(94, 0, 0),      ColorWord(0, 128, 0),
    ColorWord(111, 136, 111), ColorWord(102, 51, 102),  ColorWord(0, 102, 102),
    ColorWord(51, 51, 0),     ColorWord(204, 153, 102),
};

void ColorToHsv(uint32_t colour, double& hue, double& saturation, double& value)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &colour, 4);
    RgbToHsv(bytes, &hue, &saturation, &value);
}

uint32_t HsvToColor(double hue, double saturation, double value)
{
    uint8_t bytes[4] = {0, 0, 0, 0};
    HsvToRgb(&hue, &saturation, &value, bytes);
    uint32_t colour;
    std::memcpy(&colour, bytes, 4);
    return colour;
}

MMColor ContrastColor(uint32_t colour)
{
    double h, s, v;
    ColorToHsv(colour, h, s, v);
    return MakeMMColorFromRgb(v >= 0.5 ? 0x000000 : 0xFFFFFF);
}

// The rainbow box.

KVXRainbowBoxVisual::KVXRainbowBoxVisual(const Box& area, int32_t period, int16_t layer,
                                         bool drawFrame)
    : MMOpaqueBoxVisual(area), period(period > 0 ? period : 1), offset(area.left),
      marker{area.Width() / 2, area.Height() / 2}, drawFrame(drawFrame)
{
    SetLayer(layer);
    offset %= this->period;
    picked = ColorAt(marker.x, marker.y);
    markerColor = ContrastColor(picked).red ? 0xFFFFFF : 0;
}

uint32_t KVXRainbowBoxVisual::ColorAt(int32_t x, int32_t y) const
{
    int32_t h = std::max(box.Height(), 1);
    double hue = double(((x + offset) % period + period) % period) / period;
    double u = 2.0 * y / h;
    return u < 1 ? HsvToColor(hue, u, 1.0) : HsvToColor(hue, 1.0, 2.0 - u);
}

void KVXRainbowBoxVisual::Draw(MMSurface* surface)
{
    surface->Lock();
    MMBitmap target;
    Box area = box;
    bool direct = surface->GetClippedBitmap(target) && target.bitsPerPixel == 32;
    if (direct)
        area.Intersect(target.box);
    if (direct && !area.IsEmpty()) {
        int32_t h = std::max(box.Height(), 1);
        int32_t w = area.Width();
        std::vector<double> hues(static_cast<size_t>(w));
        for (int32_t i = 0; i < w; ++i)
            hues[size_t(i)] =
                double(((area.left + i - box.left + offset) % period + period) % period) / period;
        for (int32_t y = area.top; y < area.bottom; ++y) {
            double u = 2.0 * (y - box.top) / h;
            double s = u < 1 ? u : 1.0, v = u < 1 ? 1.0 : 2.0 - u;
            uint32_t* row = reinterpret_cast<uint32_t*>(target.PixelAddress(area.left, y));
            for (int32_t i = 0; i < w; ++i)
                row[i] = HsvToColor(hues[size_t(i)], s, v) & 0x00FFFFFFu;
        }
    } else {
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                surface->SetPixel(x, y, MakeMMColorFromRgb(ColorAt(x - box.left, y - box.top)));
    }
    surface->Unlock();
    MMColor markerPen = MakeMMColorFromRgb(markerColor);
    surface->FrameEllipse(MarkerBox(marker, 3), markerPen, penWidth);
    if (drawFrame)
        surface->FrameBox(box, MakeMMColorFromRgb(0), 1);
}

Box KVXRainbowBoxVisual::MarkerBox(const Pair& at, int32_t grow) const
{
    Box b = {box.left + at.x, box.top + at.y, box.left + at.x + 1, box.top + at.y + 1};
    b.Inflate(grow);
    return b;
}

void KVXRainbowBoxVisual::InvalidateMarker(const Pair& old)
{
    if (enclosure == nullptr || IsHidden())
        return;
    Box both = MarkerBox(old, 4);
    both.Union(MarkerBox(marker, 4));
    enclosure->Invalidate(both);
}

void KVXRainbowBoxVisual::PlaceMarker(int32_t x, int32_t y)
{
    Pair at = {x, y};
    if (at.x == marker.x && at.y == marker.y && !markerMoved)
        return;
    Pair old = marker;
    marker = at;
    markerMoved = false;
    InvalidateMarker(old);
    picked = ColorAt(x, y);
    markerColor = ContrastColor(picked).red ? 0xFFFFFF : 0;
}

void KVXRainbowBoxVisual::ScrollHues(int32_t n)
{
    if (n < 1) {
        offset += n;
        if (offset < 0)
            offset += period;
    } else {
        offset = (offset + n) % period;
    }
    markerMoved = true;
    Invalidate();
}

void KVXRainbowBoxVisual::SelectColor(uint32_t colour)
{
    double hue, saturation, value;
    ColorToHsv(colour, hue, saturation, value);
    int32_t w = box.Width(), h = box.Height();
    int32_t middle = w / 2;
    offset = ((int32_t(period * hue) - middle) % period + period) % period;
    int32_t y = value >= 1.0 ? int32_t(h * saturation / 2) : int32_t((1 - value / 2) * h);
    Pair old = marker;
    marker = {middle, std::clamp(y, 0, std::max(h - 1, 0))};
    markerMoved = false;
    picked = colour;
    markerColor = ContrastColor(colour).red ? 0xFFFFFF : 0;
    InvalidateMarker(old);
    Invalidate();
}

void KVXRainbowBoxVisual::SetPenWidth(int32_t width)
{
    penWidth = width;
    InvalidateMarker(marker);
}

// The picker molecules.

KVXColorPickerBaseMolecule::KVXColorPickerBaseMolecule(MMBaseScene* scene,
                                                       MMResourceId dragSound,
                                                       MMResourceId pressSound)
    : MMMolecule(scene), dragSound(dragSound), pressSound(pressSound),
      dragChannel(NewChannel(Stage())), pressChannel(NewChannel(Stage()))
{
    if (dragChannel != nullptr)
        dragChannel->SetVolume(kFirstChannelVolume);
}

KVXColorPickerBaseMolecule::~KVXColorPickerBaseMolecule()
{
    StopAndDelete(dragChannel);
    StopAndDelete(pressChannel);
}

void KVXColorPickerBaseMolecule::PlayPress() { PlayOnce(pressChannel, pressSound, false); }

void KVXColorPickerBaseMolecule::StopDrag()
{
    if (dragChannel != nullptr)
        dragChannel->Stop();
}

void KVXColorPickerBaseMolecule::DragMarker(KVXRainbowBoxVisual* rainbow, int32_t x, int32_t y)
{
    if (x != last.x || y != last.y) {
        if (dragChannel != nullptr && !dragChannel->IsActive()) {
            dragChannel->SetFrequency(kNormalRate);
            PlayOnce(dragChannel, dragSound, true);
        }
        last = {x, y};
    }
    Box inner = rainbow->BoxArea();
    inner.Inflate(-1);
    int32_t rate = kNormalRate;
    if (!inner.Contains(Pair{x, y})) {
        y = std::clamp(y, inner.top, inner.bottom - 1);
        if (x < inner.left) {
            int32_t c = std::min(inner.left - x, 100);
            rainbow->ScrollHues(-(c / 10 + 5));
            rate = (c + 1024) * 64;
            x = inner.left;
        } else if (x >= inner.right) {
            int32_t c = std::min(x - (inner.right - 1), 100);
            rainbow->ScrollHues(c / 10 + 5);
            rate = (c + 1024) * 64;
            x = inner.right - 1;
        }
    }
    if (dragChannel != nullptr)
        dragChannel->SetFrequency(rate);
    const Box& area = rainbow->BoxArea();
    rainbow->PlaceMarker(x - area.left, y - area.top);
    picked = rainbow->Picked();
}

KVXColorPickerInterpreter::KVXColorPickerInterpreter(MMStage* stage,
                                                     KVXColorPickerBaseMolecule* picker,
                                                     MMVisual* area, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, nullptr, cursor), picker(picker), area(area)
{
}

bool KVXColorPickerInterpreter::Interpret(const MMStageEvent& event)
{
    if (!picker->IsPressed()) {
        if ((event.data & kPointerPressed) && Matches(event) &&
            area->GetBounds().Contains(Pair{event.x, event.y})) {
            picker->SetPressed(true);
            picker->Press(event.x, event.y);
        }
    } else if (event.data & kPointerReleased) {
        picker->Release();
        picker->SetPressed(false);
    } else {
        picker->Drag(event.x, event.y);
    }
    return picker->IsPressed();
}

KVXColorPickerMolecule::KVXColorPickerMolecule(MMBaseScene* scene, const Box& box,
                                               int32_t period, int16_t layer,
                                               MMResourceId dragSound, MMResourceId pressSound,
                                               MMCommand* command)
    : KVXColorPickerBaseMolecule(scene, dragSound, pressSound),
      rainbow(new KVXRainbowBoxVisual(box, period, layer)), command(command)
{
    interpreter = new KVXColorPickerInterpreter(Stage(), this, rainbow, TrayCursor(0));
    rainbow->SetMouseInterpreter(interpreter);
    AddTo(this, rainbow);
}

KVXColorPickerMolecule::~KVXColorPickerMolecule()
{
    interpreter->ReleaseCapture();
    RemoveFrom(this, rainbow);
    delete rainbow;
    delete interpreter;
    delete command;
}

void KVXColorPickerMolecule::Show()
{
    MMMolecule::Show();
    rainbow->SetHidden(false);
}

void KVXColorPickerMolecule::Hide()
{
    interpreter->ReleaseCapture();
    MMMolecule::Hide();
    rainbow->SetHidden(true);
}

void KVXColorPickerMolecule::SetColor(uint32_t colour)
{
    rainbow->SelectColor(colour);
    picked = colour;
    ColorChanged();
    // At once: a copy posted to the queue would outlive a picker deleted
    // before the next pass (the tool manager ends as stamp mode begins).
    if (command)
        command->Perform();
}

void KVXColorPickerMolecule::Press(int32_t x, int32_t y)
{
    rainbow->SetPenWidth(2);
    const Box& area = rainbow->BoxArea();
    rainbow->PlaceMarker(x - area.left, y - area.top);
    picked = rainbow->Picked();
    PlayPress();
    last = {x, y};
    ColorChanged();
}

void KVXColorPickerMolecule::Drag(int32_t x, int32_t y)
{
    DragMarker(rainbow, x, y);
    ColorChanged();
}

void KVXColorPickerMolecule::Release()
{
    StopDrag();
    rainbow->SetPenWidth(1);
    if (command)
        command->Post();
}

KVXSwatchVisual::KVXSwatchVisual(const Box& area, int16_t layer) : MMOpaqueBoxVisual(area)
{
    SetLayer(layer);
}

void KVXSwatchVisual::Draw(MMSurface* surface) { surface->FillBox(box, MakeMMColorFromRgb(colour)); }

void KVXSwatchVisual::SetColor(uint32_t newColour)
{
    colour = newColour & 0x00FFFFFFu;
    Invalidate();
}

KVXToolColorPickerMolecule::KVXToolColorPickerMolecule(MMBaseScene* scene, const Box& box,
                                                       const Box& swatchBox, int32_t period,
                                                       int16_t layer, MMResourceId dragSound,
                                                       MMResourceId pressSound,
                                                       MMCommand* command)
    : KVXColorPickerMolecule(scene, box, period, layer, dragSound, pressSound, command),
      swatch(new KVXSwatchVisual(swatchBox, layer))
{
    swatch->SetColor(picked);
    AddTo(this, swatch);
}

KVXToolColorPickerMolecule::~KVXToolColorPickerMolecule()
{
    RemoveFrom(this, swatch);
    delete swatch;
}

void KVXToolColorPickerMolecule::Show()
{
    KVXColorPickerMolecule::Show();
    swatch->SetHidden(false);
}

void KVXToolColorPickerMolecule::Hide()
{
    KVXColorPickerMolecule::Hide();
    swatch->SetHidden(true);
}

void KVXToolColorPickerMolecule::ColorChanged() { swatch->SetColor(picked); }

// The colour boxes.

KVXToolColorBoxSetVisual::KVXToolColorBoxSetVisual(const uint32_t* source, int32_t colourCount,
                                                   const Box* layoutBoxes, int32_t count,
                                                   int16_t layer, MMCommand* command,
                                                   MMGenericSoundChannel* pressChannel,
                                                   MMResourceId pressSound)
    : colourCount(std::clamp(colourCount, 0, kPaletteColors)), boxes(new Box[size_t(count > 0 ? count : 1)]),
      boxCount(count > 0 ? count : 0), frameColor(MakeMMColorFromRgb(0)), command(command),
      pressChannel(pressChannel), pressSound(pressSound), bounds{0, 0, 0, 0}
{
    SetLayer(layer);
    std::fill(colours, colours + kPaletteColors, 0u);
    std::copy(source, source + this->colourCount, colours);
    std::copy(layoutBoxes, layoutBoxes + boxCount, boxes);
    if (boxCount > 0)
        bounds = Box{boxes[0].left, boxes[0].top, boxes[boxCount - 1].right,
                     boxes[boxCount - 1].bottom};
}

KVXToolColorBoxSetVisual::~KVXToolColorBoxSetVisual()
{
    delete[] boxes;
    delete command;
}

int32_t KVXToolColorBoxSetVisual::ColorIndexOfBox(int32_t k) const
{
    if (colourCount == 0)
        return -1;
    int32_t index = pageStart + k;
    return index >= colourCount ? index - colourCount : index;
}

void KVXToolColorBoxSetVisual::Draw(MMSurface* surface)
{
    for (int32_t k = 0; k < boxCount; ++k) {
        int32_t index = ColorIndexOfBox(k);
        if (index < 0)
            continue;
        surface->FillBox(boxes[k], MakeMMColorFromRgb(colours[index]));
        if (index == selected) {
            surface->FrameBox(boxes[k], frameColor, 1);
            surface->FrameBox(Grown(boxes[k], -1), frameColor, 1);
        }
    }
}

int32_t KVXToolColorBoxSetVisual::HitTest(int32_t x, int32_t y) const
{
    for (int32_t k = 0; k < boxCount; ++k)
        if (boxes[k].Contains(Pair{x, y})) {
            if (pageStart + kPalettePage == colourCount && k > kPalettePage - 1)
                return k - kPalettePage;
            return ColorIndexOfBox(k);
        }
    return -1;
}

void KVXToolColorBoxSetVisual::Press(int32_t index)
{
    pressedIndex = index;
    pressed = true;
    PlayOnce(pressChannel, pressSound, false);
}

void KVXToolColorBoxSetVisual::Release(int32_t index)
{
    if (pressed && index >= 0 && index == pressedIndex) {
        Select(index);
        if (command)
            command->Post();
    }
    pressed = false;
    pressedIndex = -1;
}

void KVXToolColorBoxSetVisual::Select(int32_t index)
{
    if (index == selected)
        return;
    selected = index;
    if (index >= 0 && index < colourCount)
        frameColor = ContrastColor(colours[index]);
    Invalidate();
}

void KVXToolColorBoxSetVisual::SelectColor(uint32_t colour)
{
    for (int32_t i = 0; i < colourCount; ++i)
        if (SameColor(colours[i], colour)) {
            Select(i);
            return;
        }
    Select(-1);
}

void KVXToolColorBoxSetVisual::ScrollBack()
{
    pageStart = pageStart == 0 ? colourCount - kPalettePage : pageStart - kPalettePage;
    if (pageStart < 0)
        pageStart = 0;
    Invalidate();
}

void KVXToolColorBoxSetVisual::ScrollForward()
{
    pageStart = pageStart + kPalettePage >= colourCount ? 0 : pageStart + kPalettePage;
    Invalidate();
}

KVXToolColorBoxSetInterpreter::KVXToolColorBoxSetInterpreter(MMStage* stage,
                                                             KVXToolColorBoxSetVisual* boxes,
                                                             MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, nullptr, cursor), boxes(boxes)
{
}

bool KVXToolColorBoxSetInterpreter::Interpret(const MMStageEvent& event)
{
    int32_t index = boxes->HitTest(event.x, event.y);
    if (!boxes->IsPressed()) {
        if ((event.data & kPointerPressed) && Matches(event) && index >= 0)
            boxes->Press(index);
    } else if (event.data & kPointerReleased) {
        boxes->Release(index);
    }
    return boxes->IsPressed();
}

void KVXToolColorBoxSetInterpreter::CaptureLost()
{
    if (boxes->IsPressed())
        boxes->Release(-1);
}

KVXToolColorBoxSetMolecule::KVXToolColorBoxSetMolecule(MMBaseScene* scene,
                                                       const Layout& layout, int16_t layer,
                                                       MMResourceId pressSound,
                                                       MMCommand* command)
    : MMMolecule(scene), pressChannel(NewChannel(Stage()))
{
    boxes = new KVXToolColorBoxSetVisual(kDefaultPalette, kPaletteColors, layout.boxes,
                                         layout.boxCount, layer, command, pressChannel,
                                         pressSound);
    interpreter = new KVXToolColorBoxSetInterpreter(Stage(), boxes, TrayCursor(0));
    boxes->SetMouseInterpreter(interpreter);
    AddTo(this, boxes);
    auto makeButton = [&](const Pair& at, const MMResourceId* pictures,
                          void (KVXToolColorBoxSetVisual::*scroll)()) -> MMPictureButtonMolecule* {
        if (pictures[0] == MM_NO_RESOURCE)
            return nullptr;
        auto* click = new MMClassCommand<KVXToolColorBoxSetVisual>(
            "KVXToolColorBoxSetMoleculeSimpleCommand", Stage(), boxes, scroll);
        auto* push = new KVXPushButtonInterpreterWithSound(Stage(), nullptr, TrayCursor(0),
                                                           kScrollSound);
        return new MMPictureButtonMolecule(scene, at, pictures[0], pictures[1], click, layer,
                                           TrayCursor(0), push);
    };
    back = makeButton(layout.backPosition, layout.backPictures,
                      &KVXToolColorBoxSetVisual::ScrollBack);
    forward = makeButton(layout.forwardPosition, layout.forwardPictures,
                         &KVXToolColorBoxSetVisual::ScrollForward);
}

KVXToolColorBoxSetMolecule::~KVXToolColorBoxSetMolecule()
{
    delete back;
    delete forward;
    interpreter->ReleaseCapture();
    RemoveFrom(this, boxes);
    delete boxes;
    delete interpreter;
    StopAndDelete(pressChannel);
}

void KVXToolColorBoxSetMolecule::Show()
{
    MMMolecule::Show();
    boxes->SetHidden(false);
    if (back)
        back->Show();
    if (forward)
        forward->Show();
}

void KVXToolColorBoxSetMolecule::Hide()
{
    interpreter->ReleaseCapture();
    MMMolecule::Hide();
    boxes->SetHidden(true);
    if (back)
        back->Hide();
    if (forward)
        forward->Hide();
}

// The picker and the boxes together.

KVXToolColorPickerAndPaletteMolecule::KVXToolColorPickerAndPaletteMolecule(MMBaseScene* scene,
                                                                           MMCommand* command,
                                                                           int16_t layer)
    : MMMolecule(scene), command(command)
{
    MMRecordTable layout;
    layout.Load(TrayTableId(kPickerLayout), 10, gDefaultHeap);
    auto rect = [&](int16_t key) {
        int32_t row = layout.FindRowByKey(key);
        return row < 0 ? Box{0, 0, 0, 0} : layout.RectAt(row, 2);
    };
    auto pair = [&](int16_t key) {
        int32_t row = layout.FindRowByKey(key);
        return row < 0 ? Pair{0, 0} : layout.PairAt(row, 2);
    };
    auto item = [&](int16_t key) { return TrayItemAt(layout, layout.FindRowByKey(key)); };
    picker = new KVXToolColorPickerMolecule(
        scene, rect(0), rect(1), kHuePeriod, layer, kDragSound, kPickerPressSound,
        new MMClassCommand<KVXToolColorPickerAndPaletteMolecule>(
            "KVXToolColorPickerAndPaletteMoleculeSimpleCommand", Stage(), this,
            &KVXToolColorPickerAndPaletteMolecule::PickerChose));
    picker->SetColor(kBlue);
    std::vector<Box> boxRects;
    for (int32_t k = 0; k < kPaletteColors; ++k) {
        int32_t row = layout.FindRowByKey(10, 0, k);
        if (row < 0)
            break;
        boxRects.push_back(layout.RectAt(row, 2));
    }
    KVXToolColorBoxSetMolecule::Layout boxLayout = {
        boxRects.data(), int32_t(boxRects.size()), pair(2), {item(3), item(5)}, pair(6),
        {item(7), item(9)}};
    boxes = new KVXToolColorBoxSetMolecule(
        scene, boxLayout, layer, kBoxPressSound,
        new MMClassCommand<KVXToolColorPickerAndPaletteMolecule>(
            "KVXToolColorPickerAndPaletteMoleculeSimpleCommand", Stage(), this,
            &KVXToolColorPickerAndPaletteMolecule::BoxChosen));
    boxes->Boxes()->SelectColor(*picker->CurrentColor());
}

KVXToolColorPickerAndPaletteMolecule::~KVXToolColorPickerAndPaletteMolecule()
{
    delete picker;
    delete boxes;
    delete command;
}

void KVXToolColorPickerAndPaletteMolecule::Show()
{
    MMMolecule::Show();
    picker->Show();
    boxes->Show();
}

void KVXToolColorPickerAndPaletteMolecule::Hide()
{
    MMMolecule::Hide();
    picker->Hide();
    boxes->Hide();
}

void KVXToolColorPickerAndPaletteMolecule::SetColor(uint32_t colour)
{
    picker->SetColor(colour);
    boxes->Boxes()->SelectColor(colour);
}

const uint32_t* KVXToolColorPickerAndPaletteMolecule::CurrentColor()
{
    return picker->CurrentColor();
}

void KVXToolColorPickerAndPaletteMolecule::PickerChose()
{
    if (command)
        command->Post();
    if (boxes)
        boxes->Boxes()->SelectColor(*picker->CurrentColor());
}

void KVXToolColorPickerAndPaletteMolecule::BoxChosen()
{
    KVXToolColorBoxSetVisual* set = boxes->Boxes();
    if (set->Selected() >= 0)
        picker->SetColor(set->ColorAt(set->Selected()));
}

// The colour button with its pop-up rainbow.

KVXButtonFrameVisual::KVXButtonFrameVisual(const Box& area, uint32_t colour, int16_t layer)
    : MMOpaqueBoxVisual(area), colour(colour), contrast(MakeMMColorFromRgb(0))
{
    SetLayer(layer);
    contrast = ContrastColor(colour);
}

void KVXButtonFrameVisual::Draw(MMSurface* surface)
{
    surface->FillEllipse(box, MakeMMColorFromRgb(colour));
    surface->FrameEllipse(box, contrast, 1);
}

void KVXButtonFrameVisual::SetColor(uint32_t newColour)
{
    colour = newColour & 0x00FFFFFFu;
    contrast = ContrastColor(colour);
    Invalidate();
}

KVXColorButtonAndRainbowBoxMolecule::KVXColorButtonAndRainbowBoxMolecule(
    MMBaseScene* scene, uint32_t colour, const Geometry& g, MMCommand* command, int16_t layer,
    MMResourceId pressSound, MMResourceId dragSound)
    : KVXColorPickerBaseMolecule(scene, dragSound, pressSound), command(command),
      popup(new KVXRainbowBoxVisual(CenterBoxOnPoint(g.boxWidth, g.boxHeight, {g.x, g.y}),
                                    kHuePeriod, int16_t(layer + 1), true)),
      frame(new KVXButtonFrameVisual(CenterBoxOnPoint(g.buttonWidth, g.buttonHeight, {g.x, g.y}),
                                     colour, layer))
{
    picked = colour;
    popup->SelectColor(colour);
    interpreter = new KVXColorPickerInterpreter(Stage(), this, frame, TrayCursor(0));
    frame->SetMouseInterpreter(interpreter);
    popup->SetMouseInterpreter(interpreter);
    AddTo(this, frame);
}

KVXColorButtonAndRainbowBoxMolecule::~KVXColorButtonAndRainbowBoxMolecule()
{
    interpreter->ReleaseCapture();
    RemoveFrom(this, frame);
    if (popupAdded)
        RemoveFrom(this, popup);
    delete frame;
    delete popup;
    delete interpreter;
    delete command;
}

void KVXColorButtonAndRainbowBoxMolecule::Show()
{
    MMMolecule::Show();
    frame->SetHidden(false);
}

void KVXColorButtonAndRainbowBoxMolecule::Hide()
{
    interpreter->ReleaseCapture();
    MMMolecule::Hide();
    frame->SetHidden(true);
    popup->SetHidden(true);
}

void KVXColorButtonAndRainbowBoxMolecule::SetColor(uint32_t colour)
{
    picked = colour;
    popup->SelectColor(colour);
    frame->SetColor(colour);
}

void KVXColorButtonAndRainbowBoxMolecule::Press(int32_t x, int32_t y)
{
    PlayPress();
    const Box& area = popup->BoxArea();
    popup->PlaceMarker(std::clamp(x - area.left, 0, area.Width() - 1),
                       std::clamp(y - area.top, 0, area.Height() - 1));
    picked = popup->Picked();
    if (!popupAdded) {
        AddTo(this, popup);
        popupAdded = true;
    }
    popup->SetHidden(false);
    popupShown = true;
    popup->SetPenWidth(2);
    last = {x, y};
}

void KVXColorButtonAndRainbowBoxMolecule::Drag(int32_t x, int32_t y) { DragMarker(popup, x, y); }

void KVXColorButtonAndRainbowBoxMolecule::Release()
{
    StopDrag();
    frame->SetColor(picked);
    popup->SetHidden(true);
    popupShown = false;
    popup->SetPenWidth(1);
    if (command)
        command->Post();
}
