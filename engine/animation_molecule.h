#pragma once
// The molecule of everything animated: it owns the picture visuals and sound
// channels its script declares, the thread that plays the script, an
// optional child enclosure its visuals draw into, the commands bound to the
// script's event numbers and the command posted when the script ends.
#include <cstdint>

#include "engine/animation_thread.h"
#include "engine/command.h"
#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/record_table.h"

class MMAnimationMolecule;
class MMEnclosureVisual;
class MMGenericSoundChannel;
class MMPictureBasedVisual;
class MMSoundManager;

// Posts its command when one of the molecule's visuals is pressed; never
// takes the capture.
class MMAnimationInterpreter : public MMStandardMouseInterpreter {
public:
    MMAnimationInterpreter(MMStage* stage, MMAnimationMolecule* molecule, MMCommand* command);
    bool Interpret(const MMStageEvent& event) override;
    MMAnimationMolecule* Molecule() const { return molecule_; }

private:
    MMAnimationMolecule* molecule_;
};

class MMAnimationMolecule : public MMMolecule,
                            public MMAnimationResourceUsage,
                            public MMScriptedAnimationContext {
public:
    // Without a thread, a new MMAnimationThread on the scene's stage.
    MMAnimationMolecule(MMBaseScene* scene, MMResourceId scriptId, int16_t mode,
                        MMAnimationThread* thread = nullptr);
    ~MMAnimationMolecule() override;

    void Show() override;       // 1
    void Hide() override;       // 2
    void FrameDone() override;  // 11

    void SetUpFromScript();
    void Run(int16_t start);
    void Restart(int16_t start);
    void Stop();
    void Sleep();
    void WakeUp();
    bool IsRunning() const;
    bool IsAsleep() const;

    int16_t VisualCount() const { return visualCount_; }
    MMPictureBasedVisual* Visual(int16_t index) const;
    void HideVisual(int16_t index);
    void ShowVisual(int16_t index);
    bool IsVisualHidden(int16_t index) const;
    int16_t SoundChannelCount() const { return channelCount_; }
    MMGenericSoundChannel* SoundChannel(int16_t index) const;
    MMEnclosureVisual* EnclosureVisual() const { return enclosureVisual_; }

    void SetOffset(int32_t x, int32_t y);
    Pair Offset() const;
    void SetLayerOffset(int16_t layerOffset);
    int16_t LayerOffset() const;

    // Binds the command to the script event (replacing and deleting one bound
    // before); null removes and deletes the bound one.
    void SetCommand(int16_t event, MMCommand* command);
    MMCommand* FindCommand(int16_t event) const;
    void SetDoneCommand(MMCommand* command);
    MMCommand* DoneCommand() const { return doneCommand_; }
    void SetMouseCommand(MMCommand* command);
    void SetInterpreter(MMStandardMouseInterpreter* interpreter);
    MMStandardMouseInterpreter* Interpreter() const { return interpreter_; }
    void SetCursor(MMCursor* cursor);

    MMCommand* MakeGotoCommand(int16_t start);
    MMCommand* MakeInterruptGotoCommand(int16_t start);
    MMCommand* MakeStopCommand();
    MMCommand* MakeSleepCommand();
    MMCommand* MakeWakeUpCommand();
    MMCommand* MakeSetOffsetCommand(int32_t x, int32_t y);
    MMCommand* MakeSetLayerOffsetCommand(int16_t layerOffset);

    MMAnimationThread* Thread() const { return thread_; }
    const MMRecordTable& Script() const { return script_; }
    MMResourceId ScriptId() const { return scriptId_; }
    int16_t ResourceMode() const { return mode_; }

private:
    // The first row of the header opcode, or -1.
    int32_t HeaderRow(int16_t opcode) const;
    int16_t HeaderValue(int16_t opcode) const;
    MMEnclosure* VisualsEnclosure() const;
    int16_t CommandPriority() const;

    MMAnimationThread* thread_;
    MMRecordTable script_;
    MMResourceId scriptId_;
    int16_t mode_;
    int16_t visualCount_ = 0;
    MMPictureBasedVisual** visuals_ = nullptr;
    int16_t channelCount_ = 0;
    MMGenericSoundChannel** channels_ = nullptr;
    MMCommandSet eventCommands_;
    MMCommand* doneCommand_ = nullptr;
    MMStandardMouseInterpreter* interpreter_ = nullptr;
    MMEnclosureVisual* enclosureVisual_ = nullptr;
};
