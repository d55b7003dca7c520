#pragma once
// The tray of the five-frame animation slate: frame tabs with thumbnails, a
// chalk tab, pen sizes, trash, loop, the shape button and the clipboard of
// the chalk talk's drawing. Strokes on the canvas are not painted but
// recorded into the canvas visual's slate recording and played over the
// picture.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "framework/geometry.h"
#include "trays/tool_collection.h"

class KVXAnimatedStampButtonMolecule;
class KVXAnimatedToolSizeButton;
class KVXFrameTabButtonMolecule;
class KVXFrameVisual;
class KVXHeldButtonMolecule;
class KVXShapeVisual;
class KVXSlateRecording;
class KVXToggleButtonMolecule;
class KVXchalkButtonMolecule;
class MMBitmapPictureCollection;
class MMGenericSoundChannel;
class MMStandardMouseInterpreter;
class MMPictureButtonMolecule;
class MMPictureMolecule;

// A stroke prepared by the chalk talk, pasted whole into the slate.
struct KVXPreparedSlateStroke {
    std::vector<Pair> points;
    uint32_t colour;
    int16_t width;
    int16_t frame;
    int16_t channel;
};

// The application's list of prepared strokes: the chalk talk's last finished
// drawing, which the slate tray's clipboard pastes.
std::vector<KVXPreparedSlateStroke>& AppPreparedSlateStrokes();

// The tray's rows of its layout table 772.
enum SlateTrayKey : int16_t {
    kSlateFrameTabsKey = 0,
    kSlateChannelTabsKey = 1,
    kSlateTrashKey = 5,
    kSlateLoopKey = 6,
    kSlateClickSoundKey = 7,
    kSlateClipboardKey = 8,
    kSlateFreehandKey = 9,
    kSlateCircleKey = 10,
    kSlateSquareKey = 11,
    kSlateDecorationKey = 12,  // picture, position at 13; the second at 14 and 15
    kSlateColourKey = 16,      // to 20
    kSlateWidthKey = 21,       // to 25
    kSlateTabPointKey = 26,
    kSlateDropKey = 27,
};

enum SlateShape : int16_t { kSlateFreehand = 0, kSlateCircle = 1, kSlateSquare = 2 };

class KVXMagicSlateToolCollection : public KVXToolCollection {
public:
    static constexpr int16_t kTabs = 5;

    // Without a colour cell the tray keeps one of its own (a tray outside the
    // painting screen).
    explicit KVXMagicSlateToolCollection(uint32_t* colorCell = nullptr,
                                         KVXCreationHost* creationScene = nullptr,
                                         KVXPlaneComponentTop* previewPlane = nullptr,
                                         MMBitmapWithPixels* previewBitmapA = nullptr,
                                         MMBitmapWithPixels* previewBitmapB = nullptr);
    ~KVXMagicSlateToolCollection() override;

    void Begin() override;
    void DeleteMolecules() override;
    void SetSizeType(int16_t type) override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void ResetModifiers() override;  // the twist: off to the chalk talk
    void ReselectCurrent() override {}
    void SelectModifier(int16_t) override {}
    void StoreOwnerValue(const uint32_t* colour) override;

    // While a frame tab is dragged: highlights the tab under the point and
    // the drop area when the point lies in it.
    virtual void TrackFrameTab(int16_t frame, int32_t x, int32_t y);
    // A dragged tab let go: in the drop area the frame is cleared, over
    // another tab it is copied there; the highlights go.
    virtual void DropFrameTab(int16_t frame, int32_t x, int32_t y);

    // Told by the recording as playback moves and when it is emptied.
    virtual void HighlightFrameTab(int16_t frame);
    virtual void RefreshThumbnails();

    void SetSlate(KVXSlateRecording* recording) { slate = recording; }
    void SetChannelColour(int16_t channel, uint32_t colour);
    void SetPenWidth(int16_t size, int16_t width);

    // At the start of every stroke: playback pauses on the current frame.
    void Refresh();
    // A finished stroke goes into the current frame; consecutive strokes
    // fill frames 0 to 4, and the one after frame 4 draws it again.
    void StoreStroke(const Pair* points, int32_t count);
    // A frame tab clicked: that frame is drawn next, without advancing.
    void SelectFrame(int16_t frame);
    void SelectChannel(int16_t channel);
    // While playing the last drawn frame goes, else the current one.
    void Trash();
    void PastePrepared(const std::vector<KVXPreparedSlateStroke>& strokes);
    void PasteClipboard() { PastePrepared(AppPreparedSlateStrokes()); }
    void ResetSelection();
    void ToggleLoop();
    // The shape button shown names the current shape; a click moves on.
    void ChooseShape(int16_t shape);

    int16_t CurrentFrame() const { return currentFrame; }
    int16_t CurrentChannel() const { return currentChannel; }
    bool AutoAdvance() const { return autoAdvance; }
    int16_t LitTab() const { return litTab; }
    int32_t ThumbnailRedraws() const { return thumbnailRedraws; }
    int16_t Shape() const { return shape; }
    uint32_t ChannelColour(int16_t channel) const { return channelColours[channel]; }
    int16_t PenWidth(int16_t size) const { return penWidths[size]; }
    const Box& DropArea() const { return dropArea; }
    bool DropAreaLit() const { return dropFrame != nullptr; }
    KVXFrameTabButtonMolecule* FrameTab(int16_t frame) const;
    KVXchalkButtonMolecule* ChannelTab() const { return channelTab; }
    KVXAnimatedToolSizeButton* SizeButton(int16_t n) const;
    MMPictureButtonMolecule* TrashButton() const { return trashButton; }
    KVXToggleButtonMolecule* LoopToggle() const { return loopToggle; }
    MMPictureButtonMolecule* ShapeButton(int16_t shape) const { return shapeButtons[shape]; }
    KVXAnimatedStampButtonMolecule* ClipboardButton() const { return clipboardButton; }
    MMStandardMouseInterpreter* SlateInterpreter() const { return interpreter; }
    // The tab's normal, highlighted and alternate pictures, as last drawn.
    const MMPictureReference& Thumbnail(int16_t frame, int32_t which) const
    {
        return thumbnails[frame][which];
    }

private:
    void LoadColours();
    void BuildDecorations();
    void BuildSizeButtons();
    void BuildTabs();
    void BuildButtons();
    void InstallInterpreter(int16_t newShape);
    void RemoveInterpreter();
    void BringToFront(int16_t newShape);
    void PlayClick();
    void UpdatePlayButtons();
    void InvalidateCanvas();
    void LightTab(int16_t frame, bool on);
    int16_t TabAt(int32_t x, int32_t y) const;
    void ShowDropArea(bool lit);
    void RelightTabs();
    // The tab's three pictures with the swatch colour in their windows.
    void MakeFrameThumbnail(int16_t frame);
    void MakeChannelTabPictures();
    bool MakeTabPictures(const MMRecordTable& table, int32_t row, uint32_t colour,
                         MMPictureReference out[3]);
    void SetTabPictures(KVXHeldButtonMolecule* tab, const MMPictureReference pictures[3]);

    KVXSlateRecording* slate = nullptr;
    std::vector<KVXFrameTabButtonMolecule*> frameTabs;
    KVXchalkButtonMolecule* channelTab = nullptr;
    std::vector<KVXAnimatedToolSizeButton*> sizeButtons;
    uint32_t channelColours[kTabs];
    int16_t penWidths[kTabs];
    int16_t currentFrame = 0;
    int16_t currentChannel = 0;
    bool autoAdvance = true;
    MMPictureButtonMolecule* trashButton = nullptr;
    KVXToggleButtonMolecule* loopToggle = nullptr;
    MMPictureButtonMolecule* shapeButtons[3] = {nullptr, nullptr, nullptr};
    KVXAnimatedStampButtonMolecule* clipboardButton = nullptr;
    MMGenericSoundChannel* clickChannel = nullptr;
    MMPictureMolecule* decorations[2] = {nullptr, nullptr};
    KVXCanvasVisual* canvas = nullptr;
    MMStandardMouseInterpreter* interpreter = nullptr;
    MMRecordTable layout;
    MMRecordTable frameTabTable;
    MMRecordTable channelTabTable;
    Box dropArea = {0, 0, 0, 0};
    KVXFrameVisual* dropFrame = nullptr;
    int16_t litTab = 0;
    int16_t shape = kSlateFreehand;
    int32_t thumbnailRedraws = 0;
    std::unique_ptr<MMBitmapPictureCollection> pictures;
    MMPictureReference thumbnails[kTabs][3];
    MMPictureReference channelPictures[3];
    uint32_t ownCell = 0x000000FF;
};

// The freehand slate pen's points: the press, every point farther than 5
// pixels from the last kept one, and the release; a click gives two equal
// points. At most 512 are kept.
class KVXSlateStrokePoints {
public:
    void Press(const Pair& point);
    // True when the point was kept.
    bool Move(const Pair& point);
    // The finished stroke (count less one of what was kept, at least two).
    std::vector<Pair> Release(const Pair& point);
    bool Empty() const { return points.empty(); }

private:
    void Keep(const Pair& point);
    std::vector<Pair> points;
};

// Circle strokes keep outline points more than 4 pixels apart (511 at
// most, then the outline's last); square strokes keep every corner.
std::vector<Pair> SlateCirclePoints(const Box& box);
std::vector<Pair> SlateSquarePoints(const Box& box);
// The stroke of a circle or square pen let go at point: the outline of its
// rubber band's box, or the point alone when there is none; three points at least.
std::vector<Pair> SlateShapeStroke(bool circle, const KVXShapeVisual* band, const Pair& point);
