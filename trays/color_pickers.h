#pragma once
// The colour choice of the painting screen: a rainbow box in which a marker
// is dragged over every hue, saturation and value, a swatch of the chosen
// colour, and boxes holding a palette of 35 colours, five scrolled at a
// time. Colours are 32-bit words: blue, green, red, a spare byte.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/resource_collection.h"
#include "media/color.h"
#include "media/visual.h"

class MMCommand;
class MMGenericSoundChannel;
class MMPictureButtonMolecule;

const int32_t kPaletteColors = 35;
const int32_t kPalettePage = 5;
extern const uint32_t kDefaultPalette[kPaletteColors];

inline uint32_t ColorWord(uint8_t red, uint8_t green, uint8_t blue)
{
    return uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
}
// The three colour bytes alike; the spare byte is not compared.
inline bool SameColor(uint32_t a, uint32_t b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }
void ColorToHsv(uint32_t colour, double& hue, double& saturation, double& value);
uint32_t HsvToColor(double hue, double saturation, double value);
// Black marks read on light colours (value 0.5 or more), white on dark.
MMColor ContrastColor(uint32_t colour);

class KVXRainbowBoxVisual : public MMOpaqueBoxVisual {
public:
    KVXRainbowBoxVisual(const Box& box, int32_t period, int16_t layer, bool drawFrame = false);

    void Draw(MMSurface* surface) override;
    // The colour at a point relative to the box.
    uint32_t ColorAt(int32_t x, int32_t y) const;
    // Moves the marker to a point relative to the box and picks its colour.
    void PlaceMarker(int32_t x, int32_t y);
    void ScrollHues(int32_t n);
    // Shows the colour: its hue in the middle column, the marker on its
    // saturation or value; the colour itself becomes the picked one.
    void SelectColor(uint32_t colour);
    void SetPenWidth(int32_t width);

    uint32_t Picked() const { return picked; }
    Pair Marker() const { return marker; }
    int32_t Offset() const { return offset; }
    int32_t Period() const { return period; }
    int32_t PenWidth() const { return penWidth; }
    const Box& BoxArea() const { return box; }

private:
    Box MarkerBox(const Pair& at, int32_t grow) const;
    void InvalidateMarker(const Pair& old);

    int32_t period;
    int32_t offset;
    Pair marker;
    int32_t penWidth = 1;
    uint32_t markerColor = 0;
    uint32_t picked = 0xFFFFFF;
    bool drawFrame;
    bool markerMoved = false;
};

class KVXColorPickerBaseMolecule : public MMMolecule {
public:
    KVXColorPickerBaseMolecule(MMBaseScene* scene, MMResourceId dragSound,
                               MMResourceId pressSound);
    ~KVXColorPickerBaseMolecule() override;

    virtual void SetColor(uint32_t colour) = 0;   // 12
    virtual void Press(int32_t x, int32_t y) = 0; // 13
    virtual void Drag(int32_t x, int32_t y) = 0;  // 14
    virtual void Release() = 0;                   // 15
    virtual const uint32_t* CurrentColor() { return &picked; }  // 16

    bool IsPressed() const { return pressed; }
    void SetPressed(bool flag) { pressed = flag; }
    MMGenericSoundChannel* DragChannel() const { return dragChannel; }
    MMGenericSoundChannel* PressChannel() const { return pressChannel; }

protected:
    void PlayPress();
    // The marker dragged to (x, y) in stage coordinates: outside the box the
    // hues scroll and the drag sound runs faster the farther out.
    void DragMarker(KVXRainbowBoxVisual* rainbow, int32_t x, int32_t y);
    void StopDrag();

    MMResourceId dragSound;
    MMResourceId pressSound;
    MMGenericSoundChannel* dragChannel;
    MMGenericSoundChannel* pressChannel;
    uint32_t picked = 0xFFFFFF;
    Pair last = {0, 0};
    bool pressed = false;
};

class KVXColorPickerInterpreter : public MMStandardMouseInterpreter {
public:
    KVXColorPickerInterpreter(MMStage* stage, KVXColorPickerBaseMolecule* picker,
                              MMVisual* area, MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;

private:
    KVXColorPickerBaseMolecule* picker;
    MMVisual* area;
};

class KVXColorPickerMolecule : public KVXColorPickerBaseMolecule {
public:
    // Takes the command, posted when a colour has been chosen.
    KVXColorPickerMolecule(MMBaseScene* scene, const Box& box, int32_t period, int16_t layer,
                           MMResourceId dragSound, MMResourceId pressSound, MMCommand* command);
    ~KVXColorPickerMolecule() override;

    void Show() override;
    void Hide() override;
    void SetColor(uint32_t colour) override;
    void Press(int32_t x, int32_t y) override;
    void Drag(int32_t x, int32_t y) override;
    void Release() override;

    KVXRainbowBoxVisual* Rainbow() const { return rainbow; }

protected:
    virtual void ColorChanged() {}

    KVXRainbowBoxVisual* rainbow;
    KVXColorPickerInterpreter* interpreter;
    MMCommand* command;
};

// A box of one colour that can change.
class KVXSwatchVisual : public MMOpaqueBoxVisual {
public:
    KVXSwatchVisual(const Box& box, int16_t layer);
    void Draw(MMSurface* surface) override;
    void SetColor(uint32_t colour);
    uint32_t Color() const { return colour; }

private:
    uint32_t colour = 0xFFFFFF;
};

class KVXToolColorPickerMolecule : public KVXColorPickerMolecule {
public:
    KVXToolColorPickerMolecule(MMBaseScene* scene, const Box& box, const Box& swatchBox,
                               int32_t period, int16_t layer, MMResourceId dragSound,
                               MMResourceId pressSound, MMCommand* command);
    ~KVXToolColorPickerMolecule() override;

    void Show() override;
    void Hide() override;
    KVXSwatchVisual* Swatch() const { return swatch; }

protected:
    void ColorChanged() override;

private:
    KVXSwatchVisual* swatch;
};

class KVXToolColorBoxSetVisual : public MMVisual {
public:
    // Takes the command, posted when a box is chosen.
    KVXToolColorBoxSetVisual(const uint32_t* colours, int32_t colourCount, const Box* boxes,
                             int32_t boxCount, int16_t layer, MMCommand* command,
                             MMGenericSoundChannel* pressChannel, MMResourceId pressSound);
    ~KVXToolColorBoxSetVisual() override;

    Box GetBounds() const override { return bounds; }
    void SetPosition(int32_t, int32_t) override {}
    Pair GetPosition() const override { return {bounds.left, bounds.top}; }
    bool ContainsPoint(int32_t x, int32_t y) override { return HitTest(x, y) >= 0; }
    void Draw(MMSurface* surface) override;

    // The palette index of the box at the point; -1 outside every box.
    int32_t HitTest(int32_t x, int32_t y) const;
    int32_t ColorIndexOfBox(int32_t k) const;
    void Press(int32_t index);
    // The release: over the pressed box it is chosen.
    void Release(int32_t index);
    void Select(int32_t index);
    void SelectColor(uint32_t colour);
    void ScrollBack();
    void ScrollForward();

    int32_t PageStart() const { return pageStart; }
    int32_t Selected() const { return selected; }
    uint32_t ColorAt(int32_t index) const { return colours[index]; }
    int32_t BoxCount() const { return boxCount; }
    const Box& BoxAt(int32_t k) const { return boxes[k]; }
    bool IsPressed() const { return pressed; }

private:
    uint32_t colours[kPaletteColors];
    int32_t colourCount;
    Box* boxes;
    int32_t boxCount;
    int32_t pageStart = 0;
    int32_t selected = -1;
    MMColor frameColor;
    MMCommand* command;
    MMGenericSoundChannel* pressChannel;
    MMResourceId pressSound;
    Box bounds;
    int32_t pressedIndex = -1;
    bool pressed = false;
};

class KVXToolColorBoxSetInterpreter : public MMStandardMouseInterpreter {
public:
    KVXToolColorBoxSetInterpreter(MMStage* stage, KVXToolColorBoxSetVisual* boxes,
                                  MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;

private:
    KVXToolColorBoxSetVisual* boxes;
};

class KVXToolColorBoxSetMolecule : public MMMolecule {
public:
    struct Layout {
        const Box* boxes;
        int32_t boxCount;
        Pair backPosition;
        MMResourceId backPictures[2];
        Pair forwardPosition;
        MMResourceId forwardPictures[2];
    };

    KVXToolColorBoxSetMolecule(MMBaseScene* scene, const Layout& layout, int16_t layer,
                               MMResourceId pressSound, MMCommand* command);
    ~KVXToolColorBoxSetMolecule() override;

    void Show() override;
    void Hide() override;
    KVXToolColorBoxSetVisual* Boxes() const { return boxes; }
    MMPictureButtonMolecule* BackButton() const { return back; }
    MMPictureButtonMolecule* ForwardButton() const { return forward; }

private:
    KVXToolColorBoxSetVisual* boxes;
    KVXToolColorBoxSetInterpreter* interpreter;
    MMGenericSoundChannel* pressChannel;
    MMPictureButtonMolecule* back = nullptr;
    MMPictureButtonMolecule* forward = nullptr;
};

// The picker and the 35 boxes joined: a choice in either shows in both and
// is reported through the owner's command.
class KVXToolColorPickerAndPaletteMolecule : public MMMolecule {
public:
    // Lays itself out from table 767; takes the command.
    KVXToolColorPickerAndPaletteMolecule(MMBaseScene* scene, MMCommand* command, int16_t layer);
    ~KVXToolColorPickerAndPaletteMolecule() override;

    void Show() override;
    void Hide() override;
    void SetColor(uint32_t colour);
    const uint32_t* CurrentColor();

    KVXToolColorPickerMolecule* Picker() const { return picker; }
    KVXToolColorBoxSetMolecule* Boxes() const { return boxes; }

private:
    void PickerChose();
    void BoxChosen();

    KVXToolColorPickerMolecule* picker = nullptr;
    KVXToolColorBoxSetMolecule* boxes = nullptr;
    MMCommand* command;
};

// An ellipse outline in a colour that reads on the given colour.
class KVXButtonFrameVisual : public MMOpaqueBoxVisual {
public:
    KVXButtonFrameVisual(const Box& box, uint32_t colour, int16_t layer);
    void Draw(MMSurface* surface) override;
    void SetColor(uint32_t colour);
    uint32_t Color() const { return colour; }

private:
    uint32_t colour;
    MMColor contrast;
};

// A colour button that pops a rainbow box up while it is held.
class KVXColorButtonAndRainbowBoxMolecule : public KVXColorPickerBaseMolecule {
public:
    struct Geometry {
        int32_t x, y;
        int32_t buttonWidth, buttonHeight;
        int32_t boxWidth, boxHeight;
    };

    KVXColorButtonAndRainbowBoxMolecule(MMBaseScene* scene, uint32_t colour,
                                        const Geometry& geometry, MMCommand* command,
                                        int16_t layer, MMResourceId pressSound,
                                        MMResourceId dragSound);
    ~KVXColorButtonAndRainbowBoxMolecule() override;

    void Show() override;
    void Hide() override;
    void SetColor(uint32_t colour) override;
    void Press(int32_t x, int32_t y) override;
    void Drag(int32_t x, int32_t y) override;
    void Release() override;

    KVXRainbowBoxVisual* Popup() const { return popup; }
    KVXButtonFrameVisual* Frame() const { return frame; }
    bool PopupShown() const { return popupShown; }

private:
    MMCommand* command;
    KVXRainbowBoxVisual* popup;
    KVXButtonFrameVisual* frame;
    KVXColorPickerInterpreter* interpreter;
    bool popupShown = false;
    bool popupAdded = false;
};
