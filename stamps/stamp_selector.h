#pragma once
// The frame around the selected stamp with its four handles: mirror
// top-bottom, mirror left-right, the options handle that opens a small
// panel (glue in colour, glue as line art, play) and the scale handle.
#include <cstdint>

#include "engine/mouse_interpreter.h"
#include "engine/resource_collection.h"
#include "shell/widgets/frame_visual.h"
#include "stamps/stamp_handles.h"

class KVXBaseStampManager;
class MMBaseScene;
class KVXStampBase;
class KVXStampSelector;
class MMCommand;
class MMEnclosure;
class MMPictureButtonVisual;

// The handles' pictures (table 1006) and the options panel's (table 1004).
enum : MMResourceId { kStampHandlesTable = 1006, kStampOptionsTable = 1004 };

class KVXManipulatorInterpreter : public MMStandardMouseInterpreter {
public:
    KVXManipulatorInterpreter(MMStage* stage, KVXStampSelector* selector, MMVisual* handle);
    bool Pressed() const { return pressed; }

protected:
    bool InsideHandle(const MMStageEvent& event) const;

    KVXStampSelector* selector;
    MMVisual* handle;
    bool pressed = false;
};

// Any event over the handle opens the options panel; never holds the pointer.
class KVXOptionsSmallManipulatorInterpreter : public KVXManipulatorInterpreter {
public:
    using KVXManipulatorInterpreter::KVXManipulatorInterpreter;
    bool Interpret(const MMStageEvent& event) override;
};

// The open panel: closes it when the pointer has left it.
class KVXOptionsBigManipulatorInterpreter : public KVXManipulatorInterpreter {
public:
    using KVXManipulatorInterpreter::KVXManipulatorInterpreter;
    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    void CheckPointer();
};

// A button of the open panel.
class KVXOptionsInterpreter : public MMPushButtonInterpreter {
public:
    KVXOptionsInterpreter(MMStage* stage, MMCommand* command, MMPictureButtonVisual* button,
                          KVXOptionsBigManipulatorInterpreter* panel);
    void CaptureLost() override;

private:
    KVXOptionsBigManipulatorInterpreter* panel;
};

class KVXStampSelector : public KVXFrameVisual, public KVXScaleHandleTarget {
public:
    // owner: the scene whose stage, enclosure and commands are used.
    KVXStampSelector(MMBaseScene* owner, KVXBaseStampManager* manager, const Box& frame,
                     int16_t layer);
    ~KVXStampSelector() override;

    void AttachStamp(KVXStampBase* value);
    void DetachStamp() { stamp = nullptr; }
    void SetFrame(const Box& frame);
    void MoveFrameTo(int32_t x, int32_t y);
    void PlaceHandles();
    void ShowHandles();
    void HideHandles();
    void AddToEnclosure(MMEnclosure* enclosure);
    void RemoveFromEnclosure(MMEnclosure* enclosure);
    void OpenOptionsPanel();
    void CloseOptionsPanel();

    // The commands of the handles and the panel.
    void FlipXCommand();
    void FlipYCommand();
    void RenderColorCommand();
    void RenderBWCommand();
    void PlayCommand();

    // The scale handle's view of the stamp.
    void BeginScale(const Pair& point) override;
    void DragScale(const Pair& point) override;
    void EndScale(const Pair& point) override;
    void StartScaleSound() override;
    void UpdateScaleSound() override;
    void EndScaleSound() override;
    void TakeUndoSnapshot() override;
    void ShowScaling(bool scaling) override;
    Box CanvasBox() const override;

    KVXStampBase* Stamp() const { return stamp; }
    MMPictureButtonVisual* FlipXButton() const { return flipXButton; }
    MMPictureButtonVisual* FlipYButton() const { return flipYButton; }
    MMPictureButtonVisual* ScaleHandle() const { return scaleHandle; }
    MMPictureButtonVisual* OptionsHandle() const { return optionsHandle; }
    MMPictureButtonVisual* OptionsPanel() const { return optionsPanel; }
    MMPictureButtonVisual* ColourButton() const { return colourButton; }
    MMPictureButtonVisual* BWButton() const { return bwButton; }
    MMPictureButtonVisual* PlayButton() const { return playButton; }
    bool InEnclosure() const { return Enclosure() != nullptr; }

private:
    MMPictureButtonVisual* MakeHandle(int16_t row);
    MMPictureButtonVisual* MakePanelButton(int16_t row, const Pair& at, MMCommand* command);
    void DeleteButton(MMPictureButtonVisual*& button);
    MMCommand* Command(const char* name, void (KVXStampSelector::*method)());

    MMBaseScene* owner;
    KVXBaseStampManager* manager;
    KVXStampBase* stamp = nullptr;
    MMPictureButtonVisual* flipYButton = nullptr;
    MMPictureButtonVisual* flipXButton = nullptr;
    MMPictureButtonVisual* scaleHandle = nullptr;
    MMPictureButtonVisual* optionsHandle = nullptr;
    MMPictureButtonVisual* optionsPanel = nullptr;
    MMPictureButtonVisual* colourButton = nullptr;
    MMPictureButtonVisual* bwButton = nullptr;
    MMPictureButtonVisual* playButton = nullptr;
    bool closingPanel = false;
};
