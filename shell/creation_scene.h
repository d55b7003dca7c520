#pragma once
// Scene 1, the painting screen: the canvas visual over the application's
// canvas plane, the tool and stamp modes, the buttons around the easel, the
// radio, and the services that tools, trays and stamps ask of the screen.
#include <cstdint>

#include "brushes/brush_scene.h"
#include "canvas/canvas_scene.h"
#include "canvas/plane.h"
#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "shell/base_scene.h"
#include "trays/sub_scene.h"

class KVXAnimatedButtonMolecule;
class KVXBaseStampManager;
class KVXCanvasVisual;
class KVXManagerTool;
class KVXQuitButton;
class KVXRadio;
class KVXSirenHandler;
class CreationStampLink;
class KVXTextureMolecule;
class KVXToggleButtonMolecule;
class MagicSlateStore;
class MMAnimationMolecule;
class MMCommand;
class MMGenericSoundChannel;
class MMMouseVisualMolecule;
class MMPictureMolecule;
class MMVisualMolecule;
class NextTimeThread;
class UndoSnapshot;
class WinMMOffscreenSurface;

enum : int32_t { kStampMode = 0, kToolMode = 1 };

// The screen's rows of the layout table 734.
enum CreationLayoutKey : int16_t {
    kLayoutNewPicture = 2,
    kLayoutSiren = 3,
    kLayoutUndo = 4,
    kLayoutExit = 5,
    kLayoutImport = 8,
    kLayoutFlush = 14,
    kLayoutPrint = 15,
    kLayoutZoomPoint = 17,
    kLayoutZoomOn = 18,
    kLayoutZoomOff = 19,
    kLayoutStampIndicator = 31,
    kLayoutToolIndicator = 32,
    kLayoutToolModeButton = 38,
    kLayoutStampModeButton = 39,
    kLayoutToStampMode = 40,
    kLayoutToToolMode = 41,
    kLayoutStartingTexture = 43,
    kLayoutToolIndicatorTable = 48,
    kLayoutStampIndicatorTable = 49,
    kLayoutLeftFrames = 56,
    kLayoutBadge = 55,
    kLayoutRainbowBadge = 57,
    kLayoutUndoSounds = 58,
    kLayoutPassagePictures = 60,
    kLayoutRefusalSound = 63,
    kLayoutSketchbookButton = 64,
};

const int16_t kCreationLayoutTable = 734;
const int16_t kCreationLayoutExtra = 66;

// The slate and stamp play buttons of table 1007: play, stop, and the two
// buttons that glue every stamp into the picture, in colour or as
// black-and-white line art.
enum PlayButtonSlot : int32_t {
    kPlaySlot = 0,
    kStopSlot = 1,
    kGlueColourSlot = 2,
    kGlueLineArtSlot = 3
};

class CreationScene : public KVXBaseScene,
                      public KVXCanvasScene,
                      public KVXBrushScene,
                      public KVXCreationHost {
public:
    CreationScene(MMStage* stage, KVXPlaneComponentTop* plane, UndoSnapshot* snapshot);
    ~CreationScene() override;

    void Begin() override;
    // The scene's end.
    void DeleteMolecules() override;
    bool HandleKey(uint32_t keyData) override;
    bool HandleMenuCommand(int32_t id) override;

    // What the canvas needs of its screen.
    KVXPlaneUChar* TexturePlane() override { return texturePlane; }
    void DeleteSoundChannel() override;
    MMScrollBarVisual* MakeZoomScrollBarVisual(MMResourceId picture, MMResourceId firstTable,
                                              MMResourceId secondTable, const Box& strip) override;
    KVXSlateRecording* MakeSlateRecording() override;

    // What the trays and tools reach through their sub-scenes.
    MMBaseScene* HostScene() override { return this; }
    KVXCanvasVisual* CreationCanvas() override { return canvasVisual; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return canvasPlane; }
    KVXPlaneUChar* CanvasBytePlane() override { return texturePlane; }
    KVXPaletteTarget* ColorPickerOwner() override;
    MMCursor* AppCursor(int32_t n) override;
    UURegistryKey* SettingsKey() override;
    KVXBrushScene* BrushScene() override { return this; }

    // What tools, brushes and stamps ask of the screen.
    void StartSprayedAnimation(int32_t animation, int32_t picture, const Pair& point,
                               bool paste) override;
    void PlayPhaserSound() override;
    void EnsureSoundChannel();
    void QueueCommand(MMCommand* command);
    void UpdatePlayButtons();
    void UpdateStampButtons();
    void EnableStampButtons();
    void handleZoomCmd();
    void ShowZoomButton();
    void HideZoomButton();
    bool IsZoomButtonShown() const;

    // The screen's commands, each also a named command of its button.
    void SwitchToStampMode();
    void SwitchToToolMode();
    void handleNewImageCmd();
    void handleFlushCmd();
    void handlePrintCmd();
    void StarthandleUndoCmd();
    void handleUndoCmd();
    void UndoReactive();
    void handleExitButton();
    void HandleImportButton();
    void HandleSketchbookButton();
    void TextureButtonCreate();
    void PlayButtonCommand();
    void GlueInColourCommand();
    void GlueAsLineArtCommand();

    // The import panel's buttons.
    void HandleImportFileButton();
    void HandleImportTwainButton();
    void HandleImportCancelButton();
    void CloseImportPanel();
    // The print panel, which no button opens.
    void OpenPrintPanel();
    void ClosePrintPanel();
    void HandlePrintKindButton(int32_t kind);
    void HandlePrintCancelButton();
    // Renders the canvas with its stamps and slate and prints it as that kind.
    int32_t PrintKind(int32_t kind);

    // Takes the picture of a file or a scanner (the scene owns it) and makes
    // it a floating selection.
    void SetImportedPicture(WinMMOffscreenSurface* surface);
    void PlaceImportedPicture();

    // Accessors for sub-scenes, trays and tests.
    KVXCanvasVisual* CanvasVisual() const { return canvasVisual; }
    KVXPlaneComponentTop* CanvasPlane() const { return canvasPlane; }
    UndoSnapshot* Snapshot() const { return undoSnapshot; }
    MagicSlateStore* SlateStore() const;
    KVXBaseStampManager* StampManager() const { return stampManager; }
    KVXManagerTool* ToolManager() const { return toolManager; }
    KVXTextureMolecule* TextureMolecule() const { return textureMolecule; }
    KVXRadio* Radio() const { return radio; }
    const MMRecordTable& Layout() const { return layout; }
    const MMPictureReference& Texture() const { return texture; }
    int32_t Mode() const { return mode; }
    int32_t SavedMode() const { return savedMode; }
    bool PageFlag() const { return pageFlag != 0; }
    void SetPageFlag() { pageFlag = 1; }
    int16_t RunningAnimations() const { return runningAnimations; }
    bool UndoSkip() const { return undoSkip != 0; }
    MMPictureMolecule* ModeIndicator() const { return modeIndicator; }
    NextTimeThread* NextTime() const { return nextTime; }
    KVXAnimatedButtonMolecule* Button(CreationLayoutKey key) const;
    KVXAnimatedButtonMolecule* PlayButton(int32_t slot) const { return playButtons[slot]; }
    bool PlayButtonDimmed(int32_t slot) const { return playDimmed[slot] != 0; }
    bool ButtonDimmed(CreationLayoutKey key) const;
    KVXQuitButton* ExitButton() const { return exitButton; }
    KVXToggleButtonMolecule* ZoomToggle() const { return zoomToggle; }
    MMGenericSoundChannel* FeedbackChannel() const { return feedbackChannel; }
    MMGenericSoundChannel* PhaserChannel() const { return phaserChannel; }
    MMMouseVisualMolecule* InputBlocker() const { return inputBlocker; }
    WinMMOffscreenSurface* ImportedPicture() const { return importedPicture; }
    bool ImportPanelOpen() const { return importBlocker != nullptr; }
    bool PrintPanelOpen() const { return printBlocker != nullptr; }
    KVXAnimatedButtonMolecule* ImportPanelButton(int32_t i) const { return importButtons[i]; }

    // The sprayed animation's end: the picture goes into the plane.
    void EndOfSprayedAnimation(MMAnimationMolecule* animation, int32_t picture, Pair origin,
                               bool paste);
    void DeleteAnimation(MMAnimationMolecule* animation);

private:
    void Decorate();
    void MakeModeButtons();
    void MakeCanvas();
    void MakeButtons();
    void ApplyTexture(MMResourceId id);
    void MakeZoomToggle();
    void MakePlayButtons();
    void EnterMode();
    void LoadPage();
    void MakeManagers();
    void DeleteManagers();
    // The tools of tool mode: the tool manager's trays.
    void BeginTools();
    void EndTools();
    void MakeRadio();
    void DeleteRadio();
    void ReadRadioState();
    void WriteRadioState();
    void StartModeAnimation(int16_t key, void (CreationScene::*shown)());
    void DeleteModeAnimation();
    void WakeImportAndPrint();
    void StampModeShown();
    void FinishStampMode();
    void ToolModeShown();
    void FinishToolMode();
    void FinishFlush();
    void FinishFlushWithAnimation();
    void ShowIndicator(int16_t key, bool table);
    void DimPrintByPrinting();
    void EnableMenuItem(int32_t id, bool enabled);
    void SetMenuAllowed(bool allowed);
    void TellTrayToFinish();
    void PlayOn(MMGenericSoundChannel*& channel, MMResourceId sound);
    void WakeButton(KVXAnimatedButtonMolecule* button);
    void SetDimmed(KVXAnimatedButtonMolecule* button, uint8_t& flag, bool dimmed);
    KVXAnimatedButtonMolecule* MakeButton(int16_t key, MMCommand* click, int16_t layerOffset);
    bool IsQuitting() const;
    bool HasStamps() const;
    bool HasAnimatedStamps() const;
    MMCommand* Command(const char* name, void (CreationScene::*method)());

    uint8_t pageFlag = 1;
    uint8_t storePending = 0;
    int16_t runningAnimations = 0;
    MMMouseVisualMolecule* inputBlocker = nullptr;
    NextTimeThread* nextTime = nullptr;
    MMPictureReference texture;
    MMGenericSoundChannel* feedbackChannel = nullptr;
    MMGenericSoundChannel* phaserChannel = nullptr;
    KVXAnimatedButtonMolecule* printButton = nullptr;
    MMPictureMolecule* modeIndicator = nullptr;
    KVXAnimatedButtonMolecule* playButtons[4] = {nullptr, nullptr, nullptr, nullptr};
    uint8_t playDimmed[4] = {1, 1, 1, 1};
    KVXToggleButtonMolecule* zoomToggle = nullptr;
    KVXAnimatedButtonMolecule* importButton = nullptr;
    KVXAnimatedButtonMolecule* flushButton = nullptr;
    KVXAnimatedButtonMolecule* undoButton = nullptr;
    KVXAnimatedButtonMolecule* newPictureButton = nullptr;
    KVXAnimatedButtonMolecule* sketchbookButton = nullptr;
    KVXAnimatedButtonMolecule* toolModeButton = nullptr;
    KVXAnimatedButtonMolecule* stampModeButton = nullptr;
    uint8_t printDimmed = 0;
    uint8_t toolModeDimmed = 0;
    uint8_t stampModeDimmed = 0;
    MMAnimationMolecule* modeAnimation = nullptr;
    KVXManagerTool* toolManager = nullptr;
    KVXBaseStampManager* stampManager = nullptr;
    CreationStampLink* stampLink = nullptr;
    KVXTextureMolecule* textureMolecule = nullptr;
    KVXCanvasVisual* canvasVisual = nullptr;
    MMVisualMolecule* canvasMolecule = nullptr;
    KVXSirenHandler* sirenHandler = nullptr;
    KVXPlaneUCharTop* texturePlane = nullptr;
    KVXPlaneComponentTop* canvasPlane;
    UndoSnapshot* undoSnapshot;
    KVXRadio* radio = nullptr;
    KVXQuitButton* exitButton = nullptr;
    MMPictureMolecule* rainbowBadge = nullptr;
    int32_t mode = kToolMode;
    int32_t savedMode = kToolMode;
    uint8_t newPictureFlag = 0;
    uint8_t dirtyPlay = 0;
    uint8_t undoSkip = 0;
    WinMMOffscreenSurface* importedPicture = nullptr;
    MMRecordTable layout;
    // The import and print panels.
    MMVisualMolecule* importBlocker = nullptr;
    MMPictureMolecule* importBackground = nullptr;
    KVXAnimatedButtonMolecule* importButtons[3] = {nullptr, nullptr, nullptr};
    MMVisualMolecule* printBlocker = nullptr;
    MMPictureMolecule* printBackground = nullptr;
    KVXAnimatedButtonMolecule* printButtons[6] = {nullptr, nullptr, nullptr,
                                                 nullptr, nullptr, nullptr};
};
