#pragma once
// A tool tray of the painting screen: while open it owns its family's
// tools, a row of modifier buttons that choose the current tool, and up to
// two sliders with a preview picture each; it passes the child's choices
// (size type, slider values, colour, modifier) on to the current tool.
#include <cstdint>
#include <vector>

#include "engine/resource_collection.h"
#include "trays/sub_scene.h"

class KVXBaseModifiersObject;
class KVXManagerTool;
class KVXModifierScrollBarMolecule;
class KVXPlaneComponentTop;
class KVXToolBase;
class MMBitmapWithPixels;
class MMCommand;
class MMGenericSoundChannel;
class MMPictureMolecule;
class BrushBase;

class KVXToolCollection : public KVXSubScene {
public:
    // colorCell: the manager's current colour (blue, green, red, spare),
    // shared by address with the tools; the plane and bitmaps are the
    // manager's, in which modifier twins draw the buttons' previews.
    KVXToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                      KVXPlaneComponentTop* previewPlane, MMBitmapWithPixels* previewBitmapA,
                      MMBitmapWithPixels* previewBitmapB);
    ~KVXToolCollection() override;

    void Begin() override;            // 1
    void DeleteMolecules() override;  // 2

    virtual int16_t GetSliderValue(int16_t which);                // 13
    virtual void MakeSliders(MMResourceId table);                  // 14
    virtual void DeleteSliders();                                  // 15
    virtual void SyncSliders();                                    // 16
    virtual void ForwardSizeOrShape(int16_t which, bool rebuild);  // 17
    virtual void SetSizeType(int16_t type);                        // 18
    virtual void UpdateFirstPreview();                             // 19
    virtual void UpdateSecondPreview();                            // 20
    virtual void SetModeAndSelect(int16_t mode, int16_t index);    // 21
    virtual void ReleaseModifiers();                               // 22
    virtual void RebuildModifiers();                               // 23
    virtual KVXBaseModifiersObject* MakeModifierButton(int16_t mode, int16_t index,
                                                       int16_t toolIndex);  // 24
    virtual void RemoveModifierBitmap(int16_t index);              // 25
    virtual void ReplaceModifierBitmap(int16_t index);             // 26
    virtual void Opened() {}                                       // 27
    virtual void ResetModifiers();                                 // 28
    virtual void ReselectCurrent();                                // 29
    virtual void SelectModifier(int16_t index);                    // 30
    virtual void StoreOwnerValue(const uint32_t* colour);          // 31
    virtual void TextureChanged() {}                               // 32
    virtual void ForwardToCurrentTool(int32_t value);              // 33
    virtual void ActivateTool(int16_t index);                      // 34

    // The refusal: the creation scene's dud sound (its layout's row 63).
    void PlayDudSound();
    int32_t DudSounds() const { return dudSounds; }
    // The tray's modifier twin tools, which draw its buttons' strokes.
    virtual KVXToolBase* ModifierTwin(int16_t) const { return nullptr; }

    void SetManager(KVXManagerTool* owner) { manager = owner; }
    KVXManagerTool* Manager() const { return manager; }
    int16_t SizeType() const { return sizeType; }
    int16_t Mode() const { return mode; }
    int16_t InitialModifier() const { return initialModifier; }
    int16_t CurrentModifier() const { return currentModifier; }
    int16_t CurrentToolIndex() const { return currentTool; }
    KVXToolBase* CurrentTool() const;
    KVXToolBase* ToolAt(int16_t index) const;
    int16_t ToolCount() const { return int16_t(tools.size()); }
    KVXBaseModifiersObject* ModifierAt(int16_t index) const;
    int16_t ModifierCount() const { return int16_t(modifiers.size()); }
    KVXModifierScrollBarMolecule* Slider(int16_t which) const;
    MMPictureMolecule* SliderPreview(int16_t which) const;
    MMResourceId SliderTable() const { return sliderTable; }
    uint32_t* ColorCell() const { return colorCell; }
    KVXPlaneComponentTop* PreviewPlane() const { return previewPlane; }
    MMBitmapWithPixels* PreviewBitmapA() const { return previewBitmapA; }
    MMBitmapWithPixels* PreviewBitmapB() const { return previewBitmapB; }

    // For the trays' button builders.
    void AddModifierButton(KVXBaseModifiersObject* button) { AddModifier(button); }
    MMCommand* NewModifierCommand(int16_t index) { return MakeModifierCommand(index); }

protected:
    // The tray's own pieces: tools it creates in Begin, buttons it builds.
    void AddTool(KVXToolBase* tool);
    void AddModifier(KVXBaseModifiersObject* button);
    void DeleteTools();
    // "New Modifier Command": SelectModifier with the index.
    MMCommand* MakeModifierCommand(int16_t index);
    // A command that plays the refusal sound, "PlayDudSound Command" unless
    // the control names it otherwise.
    MMCommand* MakeDudCommand(const char* name = "PlayDudSound Command");
    // Selects the modifier as the base does, but activates the tool even
    // when the tray's data gave no button for it.
    void SelectModifierOfTool(int16_t index, int16_t toolIndex);
    // The modifier made current: the old button let go and the new one
    // chosen; at -1 the tool ends too. False when there is nothing more to
    // do (the same modifier, or none).
    bool MarkModifier(int16_t index);
    // The preview picture of a slider for its value: row trunc(x * n) of
    // its preview table, x = value / 510 less 0.01 unless 0.
    void UpdatePreview(int16_t which);

    KVXManagerTool* manager = nullptr;
    KVXPlaneComponentTop* previewPlane;
    MMBitmapWithPixels* previewBitmapA;
    MMBitmapWithPixels* previewBitmapB;
    int16_t savedTool = -1;
    int16_t sizeType = 2;
    uint32_t* colorCell;
    KVXModifierScrollBarMolecule* slider1 = nullptr;
    KVXModifierScrollBarMolecule* slider2 = nullptr;
    MMPictureMolecule* preview1 = nullptr;
    MMPictureMolecule* preview2 = nullptr;
    int16_t mode = 0;
    std::vector<KVXToolBase*> tools;
    std::vector<KVXBaseModifiersObject*> modifiers;
    int16_t savedModifier = -1;
    MMResourceId sliderTable = MM_NO_RESOURCE;
    int16_t initialModifier = 0;
    int16_t currentModifier = -1;
    int16_t currentTool = -1;

private:
    MMGenericSoundChannel* dudChannel = nullptr;
    int32_t dudSounds = 0;
};

// The slider-1 and slider-2 values of a tool that has them (the standard and
// the animated tools); false for other tools.
bool ToolSliderValues(KVXToolBase* tool, int16_t& slider1, int16_t& slider2);
// Slider positions to a tool that takes them; false for other tools.
bool ToolSetSlider(KVXToolBase* tool, int16_t which, int16_t value);
