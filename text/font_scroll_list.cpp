#include "text/font_scroll_list.h"

#include <new>

#include "engine/enclosure.h"
#include "engine/stage.h"
#include "framework/color.h"
#include "media/blit_request.h"
#include "media/font.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "media/surface.h"

namespace {

const char kThreadName[] = "MPFontScrollThread";
const int32_t kScrollWait = 10;
const int32_t kChosenFaceSize = 16;
// Where names and the marker stand in a row, and the room they leave.
const int32_t kRowNameInset = 10;
const int32_t kRowMarkerInset = 3;
const int32_t kRowRoomLess = 14;
const int32_t kBoxRoomLess = 20;
const int32_t kBoxNameInset = 15;
const int32_t kListInset = 4;
const uint32_t kNameColour = 0x4F2A3B;  // ink, as blue-green-red

}  // namespace

MPTextToolFontScrollThread::MPTextToolFontScrollThread(MMStage* stage,
                                                       MPTextToolFontScrollList* list)
    : MMLightweightThread(kThreadName, stage), list(list)
{
}

bool MPTextToolFontScrollThread::Run()
{
    if (State() == kMMThreadTerminating || !list->ScrollStep())
        return false;
    Wait(kScrollWait);
    return true;
}

MPTextToolFontScrollListMouseInterpreter::MPTextToolFontScrollListMouseInterpreter(
    MMStage* stage, MPTextToolFontScrollList* list, MMCursor* cursor)
    : MMStandardMouseInterpreter(stage, nullptr, cursor), list(list)
{
}

bool MPTextToolFontScrollListMouseInterpreter::Interpret(const MMStageEvent& event)
{
    return list->HandlePointer(event);
}

MPTextToolFontScrollList::MPTextToolFontScrollList(MMStage* stage, const MPFontListSetup& setup,
                                                   const Pair& position, int16_t newLayer,
                                                   MPFontListClient* box, MMCursor* cursor)
    : stage(stage), position(position), box(box), suffix(setup.suffix)
{
    layer = newLayer;
    for (int32_t i = 0; i < kFontPictureCount; ++i)
        pictures[i].Load(setup.pictures[i]);
    rowSize = pictures[kFontRowPicture].GetSize();
    boxSize = pictures[kFontBoxPicture].GetSize();
    listFont.reset(new (std::nothrow)
                       MMSystemFont(setup.listFace.c_str(), setup.listSize, 400, false, false));
    mouse.reset(new (std::nothrow) MPTextToolFontScrollListMouseInterpreter(stage, this, cursor));
    interpreter = mouse.get();
    thread.reset(new (std::nothrow) MPTextToolFontScrollThread(stage, this));
    if (stage && stage->SoundManager())
        channel = new (std::nothrow) MMGenericSoundChannel(stage->SoundManager());
    model.reset(new MPTextToolFontListModifier(setup.faces, -1, setup.startFace, this));
}

MPTextToolFontScrollList::~MPTextToolFontScrollList()
{
    if (thread)
        thread->Terminate();
    if (mouse)
        mouse->ReleaseCapture();
    delete channel;
}

Box MPTextToolFontScrollList::NameBox() const
{
    return Box{position.x, position.y, position.x + boxSize.x, position.y + boxSize.y};
}

Box MPTextToolFontScrollList::ListBox() const
{
    int32_t rows = model ? model->Rows().ShownRows() : 0;
    int32_t left = position.x + kListInset;
    int32_t bottom = position.y + kListInset;
    return Box{left, bottom - rows * rowSize.y, left + rowSize.x, bottom};
}

Box MPTextToolFontScrollList::RowBox(int32_t row) const
{
    Box list = ListBox();
    int32_t top = list.top + row * rowSize.y;
    return Box{list.left, top, list.right, top + rowSize.y};
}

int32_t MPTextToolFontScrollList::RowAt(int32_t x, int32_t y) const
{
    Box list = ListBox();
    if (!IsOpen() || rowSize.y <= 0 || !list.Contains(Pair{x, y}))
        return -1;
    return (y - list.top) / rowSize.y;
}

Box MPTextToolFontScrollList::GetBounds() const
{
    Box bounds = NameBox();
    if (IsOpen()) {
        Box list = ListBox();
        list.top -= pictures[kFontEdgePicture].GetSize().y;
        bounds.Union(list);
    }
    return bounds;
}

void MPTextToolFontScrollList::SetPosition(int32_t x, int32_t y)
{
    Invalidate();
    position = Pair{x, y};
    Invalidate();
}

bool MPTextToolFontScrollList::ContainsPoint(int32_t x, int32_t y)
{
    return !IsHidden() && model && model->FaceCount() > 0 && GetBounds().Contains(Pair{x, y});
}

bool MPTextToolFontScrollList::HandlePointer(const MMStageEvent& event)
{
    if (!model)
        return false;
    bool holds = model->HandlePointer(event, RowAt(event.x, event.y));
    if (model->Rows().Scrolling() && thread && thread->State() == kMMThreadInactive)
        thread->Activate();
    return holds;
}

bool MPTextToolFontScrollList::ScrollStep() { return model && model->ScrollStep(); }

void MPTextToolFontScrollList::SetFaceName(const char* face)
{
    chosenFont.reset(new (std::nothrow) MMSystemFont(face, kChosenFaceSize, 400, false, false));
    Invalidate();
    if (box)
        box->SetFaceName(face);
}

void MPTextToolFontScrollList::CloakTextBox()
{
    if (box)
        box->CloakTextBox();
}

void MPTextToolFontScrollList::UncloakTextBox()
{
    if (thread)
        thread->Terminate();
    if (box)
        box->UncloakTextBox();
}

void MPTextToolFontScrollList::PlayOpenSound()
{
    if (!channel)
        return;
    MMSoundReference sound;
    sound.Load(kFontListOpenSound);
    channel->Play(sound, false);
}

void MPTextToolFontScrollList::Redraw()
{
    // What was drawn open may be larger than what is drawn now.
    if (enclosure != nullptr && !hidden)
        enclosure->Invalidate(drawn.United(GetBounds()));
}

std::string MPTextToolFontScrollList::Fit(MMSurface* surface, const std::string& name,
                                          int32_t room)
{
    return FitFaceName(name, room, suffix, [surface](const std::string& text) {
        return text.empty() ? 0 : surface->TextWidth(text.c_str(), int32_t(text.size()));
    });
}

std::string MPTextToolFontScrollList::FittedRowName(MMSurface* surface, int32_t index)
{
    if (!listFont || !model || index < 0 || index >= model->FaceCount())
        return std::string();
    surface->SelectFont(listFont.get());
    std::string fitted = Fit(surface, model->FaceNameAt(index), rowSize.x - kRowRoomLess);
    surface->ReleaseFont();
    return fitted;
}

void MPTextToolFontScrollList::DrawPicture(MMSurface* surface, int32_t which, const Pair& at)
{
    const MMPictureReference& picture = pictures[which];
    if (picture.IsEmpty())
        return;
    Pair size = picture.GetSize();
    MMDrawPicture(surface, picture, Box{0, 0, size.x, size.y},
                  Box{at.x, at.y, at.x + size.x, at.y + size.y}, nullptr, nullptr);
}

void MPTextToolFontScrollList::DrawRows(MMSurface* surface)
{
    const MPFontListRows& rows = model->Rows();
    Box list = ListBox();
    Pair edge = pictures[kFontEdgePicture].GetSize();
    DrawPicture(surface, kFontEdgePicture, Pair{list.left, list.top - edge.y});
    MMTextStyle style = {listFont.get(), MakeMMColorFromRgb(kNameColour), kAlignLeft,
                         kAlignCapMiddle};
    for (int32_t row = 0; row < rows.ShownRows(); ++row) {
        Box at = RowBox(row);
        int32_t middle = (at.top + at.bottom) / 2;
        if (rows.IsUpArrow(row) || rows.IsDownArrow(row)) {
            bool up = rows.IsUpArrow(row);
            DrawPicture(surface, kFontRowPicture, at.TopLeft());
            if (up ? !rows.CanScrollUp() : !rows.CanScrollDown())
                continue;
            bool pressed = rows.Scrolling() && rows.ScrollingUp() == up;
            DrawPicture(surface,
                        up ? (pressed ? kFontUpPressedPicture : kFontUpPicture)
                           : (pressed ? kFontDownPressedPicture : kFontDownPicture),
                        at.TopLeft());
            continue;
        }
        DrawPicture(surface, row == rows.Hovered() ? kFontHoveredRowPicture : kFontRowPicture,
                    at.TopLeft());
        int32_t face = rows.FaceAtRow(row);
        if (face < 0)
            continue;
        if (face == rows.Selected()) {
            Pair marker = pictures[kFontMarkerPicture].GetSize();
            DrawPicture(surface, kFontMarkerPicture,
                        Pair{at.left + kRowMarkerInset, middle - marker.y / 2});
        }
        if (!listFont)
            continue;
        std::string name = FittedRowName(surface, face);
        surface->DrawStyledText(name.c_str(), Pair{at.left + kRowNameInset, middle}, style);
    }
}

void MPTextToolFontScrollList::Draw(MMSurface* surface)
{
    drawn = GetBounds();
    if (!model)
        return;
    if (IsOpen())
        DrawRows(surface);
    Box name = NameBox();
    DrawPicture(surface, kFontBoxPicture, name.TopLeft());
    if (!chosenFont || model->FaceCount() == 0)
        return;
    surface->SelectFont(chosenFont.get());
    std::string fitted =
        Fit(surface, model->FaceNameAt(model->SelectedIndex()), boxSize.x - kBoxRoomLess);
    surface->ReleaseFont();
    MMTextStyle style = {chosenFont.get(), MakeMMColorFromRgb(kNameColour), kAlignLeft,
                         kAlignCapMiddle};
    surface->DrawStyledText(fitted.c_str(),
                            Pair{name.left + kBoxNameInset, (name.top + name.bottom) / 2}, style);
}
