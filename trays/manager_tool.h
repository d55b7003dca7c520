#pragma once
// The tool manager of the painting screen: it builds the fourteen tool
// trays with an animated button each, the two sets of five size buttons,
// the three shape buttons and the colour picker with its palette; it opens
// one tray at a time, passes size, shape and colour choices on to it, and
// owns the current-colour cell every tool paints with.
//
// The creation scene constructs one manager with itself, calls Begin when it
// begins and DeleteMolecules when it ends; SelectCollection, CurrentTool,
// NotifyCurrentCollection and RefreshCollectionModifiers are for it, and
// NotifyPaletteMolecule for the drawing interpreters' colour pick.
#include <cstdint>
#include <vector>

#include "tools/palette_target.h"
#include "trays/sub_scene.h"

class KVXAnimatedToolButtonMolecule;
class KVXBaseRopeToolInterpreter;
class KVXAnimatedToolSizeButton;
class KVXPlaneComponentTop;
class KVXToolBase;
class KVXToolCollection;
class KVXToolColorPickerAndPaletteMolecule;
class MMBitmapWithPixels;

enum ToolCollectionType : int32_t {
    kPencilCollection = 0,
    kChalkCollection = 1,
    kCrayonCollection = 2,
    kMarkerCollection = 3,
    kEraserCollection = 4,
    kImageSprayCollection = 5,
    kImageTubeCollection = 6,
    kPaintBrushCollection = 7,
    kPaintBucketCollection = 8,
    kRopeCollection = 9,
    kShapeCollection = 10,
    kSprayCollection = 11,
    kTextCollection = 12,
    kMagicSlateCollection = 13,
    kToolCollectionTypes = 14,
};

enum : int16_t { kToolSizes = 5, kToolShapes = 3 };

// The layout the manager reads.
enum : int16_t {
    kPreviewPlaneTable = 548,
    kToolButtonTable = 761,
    kFirstSizeTable = 762,
    kSecondSizeTable = 763,
    kShapeButtonTable = 764,
};

// The menu and accelerator commands the manager binds while it is begun.
enum : int32_t {
    kTweaksOff = 13501,
    kTweaksOn = 13502,
    kToolSizeFirst = 13301,  // to 13305
    kImportImage = 12904,
};

// The stage's key commands the manager answers while the rope has a
// floating selection.
enum : uint16_t {
    kRopeKeyDelete = 1000,
    kRopeKeyBackspace = 1001,
    kRopeKeyLeft = 1009,
    kRopeKeyRight = 1010,
    kRopeKeyUp = 1011,
    kRopeKeyDown = 1012,
};

class KVXManagerTool : public KVXSubScene, public KVXPaletteTarget {
public:
    explicit KVXManagerTool(KVXCreationHost* creationScene);
    ~KVXManagerTool() override;

    void Begin() override;
    void DeleteMolecules() override;
    bool HandleKey(uint32_t keyData) override;

    // The size and shape button sets the trays show and hide.
    void ShowSizeButtons();
    void HideSizeButtons();
    void ShowSecondSizeButtons();
    void HideSecondSizeButtons();
    void ShowShapeButtons();
    void HideShapeButtons();

    // A colour picked from the canvas: the picker and the boxes show it, and
    // through the picker's command it becomes the current colour.
    void NotifyPaletteMolecule(uint32_t colour) override;
    void NotifyCurrentCollection(int32_t value);
    void RefreshCollectionModifiers();
    KVXToolBase* CurrentTool() const;
    // As a click on the type's tool button; a type outside 1 to 13 is 0.
    void SelectCollection(int32_t type);

    // The handlers of the buttons' commands.
    void ActivateCollection(KVXToolCollection** collection,
                            KVXAnimatedToolButtonMolecule** button, int32_t type);
    void ActivateShapeCollection(KVXToolCollection** collection,
                                 KVXAnimatedToolButtonMolecule** button, int32_t type);
    void ActivateSlateCollection(KVXToolCollection** collection,
                                 KVXAnimatedToolButtonMolecule** button, int32_t type);
    void TwistCollection(KVXToolCollection** collection);
    void UntwistCollection(KVXToolCollection** collection);
    void HandleSizeButton(KVXToolCollection** collection, int16_t n);
    void HandleSecondSizeButton(KVXToolCollection** collection, int16_t n);
    void HandleShapeButton(KVXToolCollection** collection, int16_t n);
    void ColorChosen();
    void SetCurrentToolSize(int16_t size);
    void RestartCurrentTool();
    // "Import Image": a picture from the scanner.
    void ImportImage();
    // The rope interpreter while it holds a floating selection; else null.
    KVXBaseRopeToolInterpreter* RopeSelection() const;
    void DoNothing() {}

    KVXToolCollection* CurrentCollection() const { return currentCollection; }
    KVXAnimatedToolButtonMolecule* CurrentButton() const { return currentButton; }
    int32_t CurrentType() const { return currentType; }
    KVXToolCollection* Collection(int32_t type) const;
    KVXAnimatedToolButtonMolecule* ToolButton(int32_t type) const;
    uint32_t* ColorCell() { return &colorCell; }
    KVXToolColorPickerAndPaletteMolecule* Palette() const { return palette; }
    KVXPlaneComponentTop* PreviewPlane() const { return previewPlane; }

    struct ButtonSet {
        std::vector<KVXAnimatedToolSizeButton*> buttons;
        int16_t current = 0;
        bool shown = false;
    };
    const ButtonSet& SizeButtons() const { return firstSizes; }
    const ButtonSet& SecondSizeButtons() const { return secondSizes; }
    const ButtonSet& ShapeButtons() const { return shapes; }

private:
    typedef void (KVXManagerTool::*SizeHandler)(KVXToolCollection**, int16_t);

    void BuildButtonSet(ButtonSet& set, int16_t table, int16_t count, SizeHandler handler);
    void DeleteButtonSet(ButtonSet& set);
    void Show(ButtonSet& set);
    void Hide(ButtonSet& set);
    void SelectCurrent(ButtonSet& set, bool withSound);
    void PressButton(ButtonSet& set, KVXToolCollection** collection, int16_t n, bool sizes);
    void BuildToolButtons();
    void BuildPreviewPlane();
    void BindMenuCommands();
    void UnbindMenuCommands();
    bool HandleRopeKey(uint16_t code);
    bool HandleZoomKey(char c);
    void Switch(KVXToolCollection** collection, KVXAnimatedToolButtonMolecule** button,
                int32_t type);

    ButtonSet firstSizes;
    ButtonSet secondSizes;
    ButtonSet shapes;
    KVXAnimatedToolButtonMolecule* currentButton = nullptr;
    KVXToolCollection* currentCollection = nullptr;
    KVXAnimatedToolButtonMolecule* buttons[kToolCollectionTypes] = {};
    KVXToolCollection* collections[kToolCollectionTypes] = {};
    uint32_t colorCell = 0x000000FF;  // blue
    KVXToolColorPickerAndPaletteMolecule* palette = nullptr;
    int32_t currentType = 0;
    KVXPlaneComponentTop* previewPlane = nullptr;
    MMBitmapWithPixels* previewBitmapA = nullptr;
    MMBitmapWithPixels* previewBitmapB = nullptr;
};
