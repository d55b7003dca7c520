#include "selection/magic_slate_tool_collection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "canvas/canvas_visual.h"
#include "canvas/point_array.h"
#include "canvas/slate_recording.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/bitmap_picture_collection.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "selection/slate_interpreters.h"
#include "shell/app.h"
#include "selection/shape_visuals.h"
#include "selection/slate_screen.h"
#include "shell/widgets/animated_choice_buttons.h"
#include "shell/widgets/frame_visual.h"
#include "shell/widgets/held_buttons.h"
#include "shell/widgets/stamp_button.h"
#include "shell/widgets/toggle_button.h"
#include "tools/tool_base.h"
#include "trays/manager_tool.h"
#include "trays/tray_tables.h"

namespace {

constexpr int32_t kMostPoints = 512;
const int16_t kSlateTrayTable = 772;
const int16_t kSlateTrayTag = 28;
const int16_t kSlateCursorTable = 760;
const int16_t kSlateCursorTag = 31;
const int16_t kSizeScripts = 762;
const int16_t kDecorationLayer = 100;
const int16_t kButtonLayer = 101;
const int16_t kTabLayer = 102;
const int16_t kClipboardLayer = 105;
const int16_t kSizeButtonLayer = 107;
const int16_t kButtonPriority = 100;
const int16_t kFrontLayer = 9999;
const uint16_t kThumbnailCollection = 0x5A13;
const int16_t kThumbnailSlots = 40;

typedef MMClassCommand1Parameter<KVXMagicSlateToolCollection,
                                 void (KVXMagicSlateToolCollection::*)(int16_t), int16_t>
    TrayCommand;
typedef MMClassCommand<KVXMagicSlateToolCollection> PlainCommand;

int32_t Distance(const Pair& a, const Pair& b)
{
    double dx = a.x - b.x, dy = a.y - b.y;
    return int32_t(std::sqrt(dx * dx + dy * dy));
}

void PadToThree(std::vector<Pair>& points)
{
    while (!points.empty() && points.size() < 3)
        points.push_back(points.back());
}

uint32_t ColourOfRow(const MMRecordTable& table, int32_t row)
{
    auto channel = [&](int32_t offset) { return uint32_t(uint8_t(table.ShortAt(row, offset))); };
    return channel(6) | channel(4) << 8 | channel(2) << 16;
}

}  // namespace

KVXMagicSlateToolCollection::KVXMagicSlateToolCollection(uint32_t* cell,
                                                         KVXCreationHost* creationScene,
                                                         KVXPlaneComponentTop* previewPlane,
                                                         MMBitmapWithPixels* previewBitmapA,
                                                         MMBitmapWithPixels* previewBitmapB)
    : KVXToolCollection(cell, creationScene, previewPlane, previewBitmapA, previewBitmapB)
{
    if (colorCell == nullptr)
        colorCell = &ownCell;
    std::fill(channelColours, channelColours + kTabs, 0x00FF0000u);
    std::fill(penWidths, penWidths + kTabs, int16_t(4));
}

KVXMagicSlateToolCollection::~KVXMagicSlateToolCollection()
{
    RemoveInterpreter();
    delete clickChannel;
}

// Opening and closing.

void KVXMagicSlateToolCollection::Begin()
{
    currentFrame = 0;
    currentChannel = 0;
    canvas = GetCreationCanvas();
    SlateScreenUnzoom(creationScene, canvas);
    if (canvas != nullptr)
        slate = canvas->Slate();
    layout.LoadTenByteRows(TrayTableId(kSlateTrayTable), kSlateTrayTag);
    frameTabTable.Load(TrayItemAt(layout, layout.FindRowByKey(kSlateFrameTabsKey)), 40,
                       gDefaultHeap);
    channelTabTable.Load(TrayItemAt(layout, layout.FindRowByKey(kSlateChannelTabsKey)), 40,
                         gDefaultHeap);
    if (!pictures)
        pictures.reset(new MMBitmapPictureCollection(kThumbnailSlots, kThumbnailCollection));
    BuildDecorations();
    LoadColours();
    BuildSizeButtons();
    BuildTabs();
    KVXToolCollection::Begin();
    shape = kSlateFreehand;
    InstallInterpreter(kSlateFreehand);
    if (canvas != nullptr) {
        canvas->SetDrawMethod(kDrawStatic, 0, 0);
        canvas->SetSlateOwner(this);
    }
    *colorCell = channelColours[0];
    if (manager != nullptr)
        manager->NotifyPaletteMolecule(channelColours[0]);
    if (!AppPreparedSlateStrokes().empty() && Stage() != nullptr) {
        MMResourceId script = TrayItemAt(layout, layout.FindRowByKey(kSlateClipboardKey));
        if (script != MM_NO_RESOURCE)
            clipboardButton = new KVXAnimatedStampButtonMolecule(
                this, nullptr, nullptr, script,
                new PlainCommand("Click On Clipboard", Stage(), this,
                                 &KVXMagicSlateToolCollection::PasteClipboard),
                nullptr, kClipboardLayer, 0, kButtonPriority, 1);
    }
    if (slate != nullptr)
        slate->Start();
    UpdatePlayButtons();
}

void KVXMagicSlateToolCollection::DeleteMolecules()
{
    SlateScreenShowZoomButton(creationScene);
    if (canvas != nullptr)
        canvas->SetSlateOwner(nullptr);
    RemoveInterpreter();
    KVXToolCollection::DeleteMolecules();
    frameTabs.clear();
    channelTab = nullptr;
    sizeButtons.clear();
    trashButton = nullptr;
    loopToggle = nullptr;
    std::fill(shapeButtons, shapeButtons + 3, nullptr);
    clipboardButton = nullptr;
    decorations[0] = decorations[1] = nullptr;
    delete clickChannel;
    clickChannel = nullptr;
    for (MMPictureReference(&tab)[3] : thumbnails)
        for (MMPictureReference& picture : tab)
            picture.Clear();
    for (MMPictureReference& picture : channelPictures)
        picture.Clear();
    layout.Free();
    frameTabTable.Free();
    channelTabTable.Free();
    ShowDropArea(false);
    canvas = nullptr;
}

void KVXMagicSlateToolCollection::LoadColours()
{
    for (int16_t i = 0; i < kTabs; ++i) {
        int32_t row = layout.FindRowByKey(int16_t(kSlateColourKey + i));
        if (row >= 0)
            channelColours[i] = ColourOfRow(layout, row);
    }
}

void KVXMagicSlateToolCollection::BuildDecorations()
{
    for (int i = 0; i < 2; ++i) {
        int16_t key = int16_t(kSlateDecorationKey + 2 * i);
        int32_t pictureRow = layout.FindRowByKey(key);
        int32_t placeRow = layout.FindRowByKey(int16_t(key + 1));
        if (pictureRow < 0 || placeRow < 0)
            continue;
        decorations[i] = new MMPictureMolecule(this, MMPictureID(layout.LongAt(pictureRow, 2)),
                                               layout.PairAt(placeRow, 2), kDecorationLayer);
    }
}

void KVXMagicSlateToolCollection::BuildSizeButtons()
{
    if (Stage() == nullptr)
        return;
    MMRecordTable rows;
    rows.Load(TrayTableId(kSizeScripts), 10, gDefaultHeap);
    for (int16_t i = 0; i < kTabs; ++i) {
        MMResourceId script = TrayItemAt(rows, rows.FindRowByKey(i));
        if (script == MM_NO_RESOURCE)
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "size button %d", i + 1);
        auto* command =
            new TrayCommand(name, Stage(), this, &KVXMagicSlateToolCollection::SetSizeType, i);
        sizeButtons.push_back(new KVXAnimatedToolSizeButton(this, script, command,
                                                            kSizeButtonLayer, 0, kButtonPriority, 1));
    }
    if (KVXAnimatedToolSizeButton* button = SizeButton(sizeType))
        button->Select(false);
}

void KVXMagicSlateToolCollection::BuildTabs()
{
    if (Stage() == nullptr)
        return;
    MMCursor* cursor = TrayCursor(0);
    int32_t pointRow = layout.FindRowByKey(kSlateTabPointKey);
    for (int16_t i = 0; i < kTabs && i < frameTabTable.RowCount(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Click On Frame Tab %d", i + 1);
        Pair at = frameTabTable.PairAt(i, 0);
        KVXFrameTabButtonMolecule::Parameters p = {
            this, this, at.x, at.y,
            frameTabTable.LongAt(i, 28), frameTabTable.LongAt(i, 16), frameTabTable.LongAt(i, 4),
            i, new TrayCommand(name, Stage(), this, &KVXMagicSlateToolCollection::SelectFrame, i),
            kTabLayer, cursor, nullptr};
        auto* tab = new KVXFrameTabButtonMolecule(p);
        if (pointRow >= 0) {
            Pair point = layout.PairAt(pointRow, 2);
            tab->SetInterpreterPoint(point.x, point.y);
        }
        frameTabs.push_back(tab);
    }
    if (channelTabTable.RowCount() > 0) {
        Pair at = channelTabTable.PairAt(0, 0);
        KVXchalkButtonMolecule::Parameters p = {
            this, 0, at.x, at.y,
            channelTabTable.LongAt(0, 28), channelTabTable.LongAt(0, 16), channelTabTable.LongAt(0, 4),
            new TrayCommand("Click On channel Tab 1", Stage(), this,
                            &KVXMagicSlateToolCollection::SelectChannel, 0),
            kTabLayer, cursor, nullptr};
        channelTab = new KVXchalkButtonMolecule(p);
        channelTab->Highlight();
    }
    MakeChannelTabPictures();
    RefreshThumbnails();
    LightTab(currentFrame, true);
}

void KVXMagicSlateToolCollection::SetModeAndSelect(int16_t newMode, int16_t)
{
    mode = newMode;
    MMStage* stage = Stage();
    // Built once per opening: a rebuild of the modifiers finds them there.
    if (stage != nullptr && trashButton == nullptr && loopToggle == nullptr) {
        int32_t row = layout.FindRowByKey(kSlateTrashKey);
        if (row >= 0)
            trashButton = new MMPictureButtonMolecule(
                this, layout.PairAt(row, 6), layout.LongAt(row, 2), layout.LongAt(row, 2),
                new PlainCommand("trashButton command", stage, this, &KVXMagicSlateToolCollection::Trash),
                kButtonLayer, TrayCursor(0));
        MMRecordTable toggle;
        toggle.Load(TrayItemAt(layout, layout.FindRowByKey(kSlateLoopKey)), 12, gDefaultHeap);
        if (toggle.RowCount() > 0) {
            Pair at = toggle.PairAt(0, 0);
            KVXToggleButtonMolecule::Parameters p = {
                this, at.x, at.y, toggle.LongAt(0, 4), toggle.LongAt(0, 8),
                new PlainCommand("loopButton command", stage, this,
                                 &KVXMagicSlateToolCollection::ToggleLoop),
                kButtonLayer, TrayCursor(0), nullptr};
            loopToggle = new KVXToggleButtonMolecule(p);
            if (slate != nullptr && slate->IsLooping())
                loopToggle->SetOn();
        }
        const char* names[3] = {"freehandButton command", "circleButton command",
                                "squareButton command"};
        for (int16_t s = 0; s < 3; ++s) {
            row = layout.FindRowByKey(int16_t(kSlateFreehandKey + s));
            if (row < 0)
                continue;
            // Each button moves on to the next shape.
            shapeButtons[s] = new MMPictureButtonMolecule(
                this, layout.PairAt(row, 6), layout.LongAt(row, 2), layout.LongAt(row, 2),
                new TrayCommand(names[s], stage, this, &KVXMagicSlateToolCollection::ChooseShape,
                                int16_t((s + 1) % 3)),
                kButtonLayer, TrayCursor(0));
        }
        BringToFront(shape);
    }
    for (int16_t i = 0; i < kTabs; ++i) {
        int32_t row = layout.FindRowByKey(int16_t(kSlateWidthKey + i));
        if (row >= 0)
            penWidths[i] = layout.ShortAt(row, 2);
    }
    int32_t dropRow = layout.FindRowByKey(kSlateDropKey);
    if (dropRow >= 0)
        dropArea = layout.RectAt(dropRow, 2);
}

void KVXMagicSlateToolCollection::ResetModifiers()
{
    if (gApp != nullptr && Stage() != nullptr)
        gApp->ChangeScene(Stage(), kSceneChalkTalk, nullptr);
}

void KVXMagicSlateToolCollection::StoreOwnerValue(const uint32_t* colour)
{
    if (colour == nullptr)
        return;
    KVXToolCollection::StoreOwnerValue(colour);
    channelColours[currentChannel] = *colour;
    MakeChannelTabPictures();
}

void KVXMagicSlateToolCollection::SetSizeType(int16_t n)
{
    if (n == sizeType || n < 0 || n >= kTabs)
        return;
    if (KVXAnimatedToolSizeButton* old = SizeButton(sizeType))
        old->Reset();
    sizeType = n;
    if (KVXAnimatedToolSizeButton* button = SizeButton(n))
        button->Select(false);
}

// The interpreters.

void KVXMagicSlateToolCollection::RemoveInterpreter()
{
    if (interpreter == nullptr)
        return;
    if (canvas != nullptr && canvas->GetMouseInterpreter() == interpreter)
        canvas->SetMouseInterpreter(nullptr);
    interpreter->ReleaseCapture();
    delete interpreter;
    interpreter = nullptr;
}

void KVXMagicSlateToolCollection::InstallInterpreter(int16_t newShape)
{
    RemoveInterpreter();
    if (canvas == nullptr)
        return;
    MMRecordTable cursors;
    cursors.LoadTenByteRows(TrayTableId(kSlateCursorTable), kSlateCursorTag);
    int32_t row = cursors.FindRowByKey(kSlateCursorKey);
    MMCursor* cursor = creationScene != nullptr && row >= 0
                           ? creationScene->AppCursor(cursors.LongAt(row, 2))
                           : nullptr;
    MMStage* stage = Stage();
    if (newShape == kSlateCircle)
        interpreter = new KVXMagicSlateCircleInterpreter(creationScene, stage, canvas, this, cursor);
    else if (newShape == kSlateSquare)
        interpreter = new KVXMagicSlateSquareInterpreter(creationScene, stage, canvas, this, cursor);
    else
        interpreter = new KVXMagicSlateInterpreter(creationScene, stage, canvas, this, cursor,
                                                   kSlatePenSound);
    canvas->SetMouseInterpreter(interpreter);
}

void KVXMagicSlateToolCollection::BringToFront(int16_t newShape)
{
    if (MMPictureButtonMolecule* button = shapeButtons[newShape]) {
        MMVisual* visual = static_cast<MMVisual*>(button->Visual());
        visual->SetLayer(kFrontLayer);
        visual->SetLayer(kButtonLayer);
    }
}

void KVXMagicSlateToolCollection::ChooseShape(int16_t newShape)
{
    if (newShape < 0 || newShape > 2)
        return;
    shape = newShape;
    InstallInterpreter(newShape);
    BringToFront(newShape);
}

// Sounds, the screen's play buttons and the canvas.

void KVXMagicSlateToolCollection::PlayClick()
{
    MMStage* stage = Stage();
    if (stage == nullptr || stage->SoundManager() == nullptr || !layout.IsLoaded())
        return;
    if (clickChannel == nullptr)
        clickChannel = new MMGenericSoundChannel(stage->SoundManager());
    MMSoundReference sound;
    sound.Load(TrayItemAt(layout, layout.FindRowByKey(kSlateClickSoundKey)));
    clickChannel->Play(sound, false);
}

void KVXMagicSlateToolCollection::UpdatePlayButtons()
{
    SlateScreenUpdatePlayButtons(creationScene);
}

void KVXMagicSlateToolCollection::InvalidateCanvas()
{
    if (canvas != nullptr && slate != nullptr)
        canvas->InvalidateBox(canvas->GetBounds());
}

void KVXMagicSlateToolCollection::HighlightFrameTab(int16_t frame)
{
    if (frame < 0 || frame >= kTabs)
        return;
    litTab = frame;
    for (int16_t i = 0; i < int16_t(frameTabs.size()); ++i)
        frameTabs[size_t(i)]->Unhighlight();
    LightTab(currentFrame, true);
    if (slate != nullptr && slate->IsRunning())
        if (KVXFrameTabButtonMolecule* tab = FrameTab(frame))
            tab->ShowAlternatePicture();
}

void KVXMagicSlateToolCollection::LightTab(int16_t frame, bool on)
{
    if (on)
        litTab = frame;
    if (KVXFrameTabButtonMolecule* tab = FrameTab(frame))
        on ? tab->Highlight() : tab->Unhighlight();
}

KVXFrameTabButtonMolecule* KVXMagicSlateToolCollection::FrameTab(int16_t frame) const
{
    return frame >= 0 && frame < int16_t(frameTabs.size()) ? frameTabs[size_t(frame)] : nullptr;
}

KVXAnimatedToolSizeButton* KVXMagicSlateToolCollection::SizeButton(int16_t n) const
{
    return n >= 0 && n < int16_t(sizeButtons.size()) ? sizeButtons[size_t(n)] : nullptr;
}

void KVXMagicSlateToolCollection::SetChannelColour(int16_t channel, uint32_t colour)
{
    if (channel >= 0 && channel < kTabs)
        channelColours[channel] = colour;
}

void KVXMagicSlateToolCollection::SetPenWidth(int16_t n, int16_t width)
{
    if (n >= 0 && n < kTabs)
        penWidths[n] = width;
}

// What the child does.

void KVXMagicSlateToolCollection::Refresh()
{
    if (slate != nullptr) {
        slate->SetPaused(true);
        slate->SelectChannel(currentChannel);
        slate->SelectFrame(currentFrame);
    }
    InvalidateCanvas();
    UpdatePlayButtons();
}

void KVXMagicSlateToolCollection::StoreStroke(const Pair* points, int32_t count)
{
    if (slate == nullptr)
        return;
    slate->StoreFrame(currentChannel, currentFrame, points, count,
                      channelColours[currentChannel], penWidths[sizeType]);
    slate->SelectChannel(currentChannel);
    slate->SelectFrame(currentFrame);
    InvalidateCanvas();
    if (canvas != nullptr && canvas->Plane() != nullptr)
        canvas->Plane()->MarkChanged();
    MakeFrameThumbnail(currentFrame);
    ++thumbnailRedraws;
    if (!autoAdvance) {
        autoAdvance = true;
    } else if (currentFrame > 3) {
        autoAdvance = false;
    } else {
        LightTab(currentFrame, false);
        ++currentFrame;
        LightTab(currentFrame, true);
    }
    slate->SetPaused(false);
    slate->Start();
    UpdatePlayButtons();
}

void KVXMagicSlateToolCollection::SelectFrame(int16_t frame)
{
    if (frame == currentFrame || frame < 0 || frame >= kTabs)
        return;
    PlayClick();
    LightTab(currentFrame, false);
    currentFrame = frame;
    if (slate != nullptr) {
        // Stopping rewinds the recording, so the frame is chosen after it.
        if (slate->IsRunning()) {
            if (canvas != nullptr)
                canvas->StopSlatePlayback();
            else
                slate->Stop();
        }
        slate->SelectChannel(currentChannel);
        slate->SelectFrame(frame);
    }
    LightTab(frame, true);
    autoAdvance = false;
    InvalidateCanvas();
    UpdatePlayButtons();
}

void KVXMagicSlateToolCollection::SelectChannel(int16_t channel)
{
    if (channel >= 0 && channel < kTabs && channel != currentChannel) {
        PlayClick();
        if (channelTab != nullptr && currentChannel == 0)
            channelTab->Unhighlight();
        LightTab(currentFrame, false);
        currentChannel = channel;
        currentFrame = 0;
        if (slate != nullptr) {
            slate->SelectChannel(channel);
            slate->SelectFrame(0);
        }
        *colorCell = channelColours[channel];
        if (manager != nullptr)
            manager->NotifyPaletteMolecule(channelColours[channel]);
        LightTab(0, true);
        autoAdvance = true;
    }
    RefreshThumbnails();
}

void KVXMagicSlateToolCollection::Trash()
{
    if (slate == nullptr)
        return;
    bool cleared = false;
    if (slate->IsRunning()) {
        for (int16_t c = kTabs - 1; c >= 0 && !cleared; --c)
            for (int16_t f = kTabs - 1; f >= 0 && !cleared; --f)
                if (slate->FrameState(c, f) == 1) {
                    InvalidateCanvas();
                    slate->ClearFrame(c, f);
                    cleared = true;
                }
    } else {
        InvalidateCanvas();
        slate->ClearFrame(currentChannel, currentFrame);
    }
    RefreshThumbnails();
    UpdatePlayButtons();
    InvalidateCanvas();
}

void KVXMagicSlateToolCollection::PastePrepared(const std::vector<KVXPreparedSlateStroke>& strokes)
{
    if (slate == nullptr)
        return;
    InvalidateCanvas();
    slate->ClearAll();
    for (const KVXPreparedSlateStroke& stroke : strokes) {
        slate->StoreFrame(stroke.channel, stroke.frame, stroke.points.data(),
                          int32_t(stroke.points.size()), stroke.colour, stroke.width);
    }
    RefreshThumbnails();
    slate->Start();
    InvalidateCanvas();
    UpdatePlayButtons();
}

void KVXMagicSlateToolCollection::ResetSelection()
{
    LightTab(currentFrame, false);
    currentFrame = 0;
    autoAdvance = true;
    LightTab(0, true);
    if (currentChannel != 0)
        SelectChannel(0);
    else
        RefreshThumbnails();
}

void KVXMagicSlateToolCollection::ToggleLoop()
{
    PlayClick();
    if (slate != nullptr)
        slate->SetLooping(!slate->IsLooping());
}

// Dragging a frame tab.

int16_t KVXMagicSlateToolCollection::TabAt(int32_t x, int32_t y) const
{
    for (int16_t i = 0; i < int16_t(frameTabs.size()); ++i)
        if (frameTabs[size_t(i)]->Visual()->GetBounds().Contains(Pair{x, y}))
            return i;
    return -1;
}

void KVXMagicSlateToolCollection::TrackFrameTab(int16_t frame, int32_t x, int32_t y)
{
    int16_t under = TabAt(x, y);
    for (int16_t i = 0; i < int16_t(frameTabs.size()); ++i) {
        if (i == frame)
            continue;
        if (i == under || i == currentFrame)
            frameTabs[size_t(i)]->Highlight();
        else
            frameTabs[size_t(i)]->Unhighlight();
    }
    ShowDropArea(!dropArea.IsEmpty() && dropArea.Contains(Pair{x, y}));
}

void KVXMagicSlateToolCollection::ShowDropArea(bool lit)
{
    if (lit == (dropFrame != nullptr))
        return;
    if (lit) {
        dropFrame = new KVXFrameVisual(dropArea, kFrontLayer);
        if (TopEnclosure() != nullptr)
            TopEnclosure()->AddVisual(dropFrame);
        return;
    }
    dropFrame->Invalidate();
    if (dropFrame->Enclosure() != nullptr)
        dropFrame->Enclosure()->RemoveVisual(dropFrame);
    delete dropFrame;
    dropFrame = nullptr;
}

void KVXMagicSlateToolCollection::DropFrameTab(int16_t frame, int32_t x, int32_t y)
{
    if (frame >= 0 && frame < kTabs && slate != nullptr) {
        int16_t under = TabAt(x, y);
        if (!dropArea.IsEmpty() && dropArea.Contains(Pair{x, y})) {
            InvalidateCanvas();
            slate->ClearFrame(currentChannel, frame);
        } else if (under >= 0 && under != frame) {
            slate->CopyFrame(currentChannel, frame, under);
        }
        RefreshThumbnails();
        UpdatePlayButtons();
        InvalidateCanvas();
    }
    ShowDropArea(false);
    RelightTabs();
    // The dragged tab lights itself as it is let go; it goes out again after.
    if (Stage() != nullptr)
        PlainCommand("Relight Frame Tabs", Stage(), this, &KVXMagicSlateToolCollection::RelightTabs)
            .Post();
}

void KVXMagicSlateToolCollection::RelightTabs()
{
    for (KVXFrameTabButtonMolecule* tab : frameTabs)
        tab->Unhighlight();
    LightTab(currentFrame, true);
}

// The points of the pens.

void KVXSlateStrokePoints::Keep(const Pair& point)
{
    if (int32_t(points.size()) < kMostPoints)
        points.push_back(point);
}

void KVXSlateStrokePoints::Press(const Pair& point)
{
    points.clear();
    Keep(point);
}

bool KVXSlateStrokePoints::Move(const Pair& point)
{
    if (points.empty() || Distance(point, points.back()) <= 5 || int32_t(points.size()) >= kMostPoints)
        return false;
    Keep(point);
    return true;
}

std::vector<Pair> KVXSlateStrokePoints::Release(const Pair& point)
{
    Keep(point);
    if (points.size() < 3)
        points.push_back(points.back());
    std::vector<Pair> stroke(points.begin(), points.end() - 1);
    points.clear();
    return stroke;
}

std::vector<Pair> SlateCirclePoints(const Box& box)
{
    PointArray outline;
    outline.AssignRect(kPointArrayEllipse, box);
    std::vector<Pair> kept;
    for (int32_t i = 0; i < outline.Count(); ++i) {
        if (kept.empty() || Distance(outline[i], kept.back()) > 4) {
            if (int32_t(kept.size()) == kMostPoints - 1) {
                kept.push_back(outline[outline.Count() - 1]);
                break;
            }
            kept.push_back(outline[i]);
        }
    }
    PadToThree(kept);
    return kept;
}

std::vector<Pair> SlateSquarePoints(const Box& box)
{
    PointArray outline;
    outline.AssignRect(kPointArrayRectangle, box);
    std::vector<Pair> kept(outline.Points(), outline.Points() + outline.Count());
    PadToThree(kept);
    return kept;
}

std::vector<Pair> SlateShapeStroke(bool circle, const KVXShapeVisual* band, const Pair& point)
{
    Box box = band != nullptr ? band->GetBounds() : Box{point.x, point.y, point.x, point.y};
    std::vector<Pair> points = circle ? SlateCirclePoints(box) : SlateSquarePoints(box);
    if (points.empty())
        points.push_back(point);
    PadToThree(points);
    return points;
}

std::vector<KVXPreparedSlateStroke>& AppPreparedSlateStrokes()
{
    static std::vector<KVXPreparedSlateStroke> strokes;
    return strokes;
}
