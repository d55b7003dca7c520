#pragma once
// Molecules: the user-interface members of a scene. Each owns its visuals and,
// when it takes the pointer, its mouse interpreter.
#include <cstdint>

#include "framework/geometry.h"

class AFCallback;
class MMBaseScene;
class MMCommand;
class MMCursor;
class MMEnclosure;
class MMStage;
class MMVisual;
class MMStandardMouseInterpreter;

class MMMolecule {
public:
    explicit MMMolecule(MMBaseScene* scene);
    virtual ~MMMolecule();
    MMMolecule(const MMMolecule&) = delete;
    MMMolecule& operator=(const MMMolecule&) = delete;

    virtual void Show();                                  // 1
    virtual void Hide();                                  // 2
    virtual MMMolecule* FocusedMolecule();                // 3
    virtual bool HandleKey(uint32_t keyData) { return false; }  // 4
    virtual bool HandleMenuCommand(int32_t id) { return false; } // 5
    virtual void GainFocus() { hasFocus_ = true; }        // 6
    virtual void LoseFocus() { hasFocus_ = false; }       // 7
    virtual void StagePaused() {}                         // 8
    virtual void StageResumed() {}                        // 9
    virtual void FrameStarting() {}                       // 10
    virtual void FrameDone() {}                           // 11

    MMStage* Stage() const;
    MMEnclosure* Enclosure() const;
    MMBaseScene* Scene() const { return scene_; }
    bool IsHidden() const { return hidden_; }
    bool HasFocus() const { return hasFocus_; }
    void TakeFocus();

    MMCommand* MakeShowCommand();
    MMCommand* MakeHideCommand();
    MMCommand* MakeFocusCommand();

    // Runs a callback on the stage window's (UI) thread and deletes it; a
    // molecule whose stage has no stage window runs nothing and deletes it.
    void RunOnWindowThread(AFCallback* callback);

protected:
    bool hidden_ = false;
    bool hasFocus_ = false;
    MMBaseScene* scene_;
};

class MMVisualMolecule : public MMMolecule {
public:
    MMVisualMolecule(MMBaseScene* scene, MMVisual* visual);
    ~MMVisualMolecule() override;
    void Show() override;
    void Hide() override;
    MMVisual* Visual() const { return visual_; }

protected:
    MMVisual* visual_;
};

class MMMouseVisualMolecule : public MMVisualMolecule {
public:
    // An invisible box on the layer that posts the command when pressed.
    MMMouseVisualMolecule(MMBaseScene* scene, MMCommand* command, const Box& box, int16_t layer,
                          MMCursor* cursor);
    MMMouseVisualMolecule(MMBaseScene* scene, MMStandardMouseInterpreter* interpreter,
                          const Box& box, int16_t layer);
    MMMouseVisualMolecule(MMBaseScene* scene, MMStandardMouseInterpreter* interpreter,
                          MMVisual* visual);
    ~MMMouseVisualMolecule() override;
    void Hide() override;
    MMStandardMouseInterpreter* Interpreter() const { return interpreter_; }

private:
    MMStandardMouseInterpreter* interpreter_;
};

// The object an MMChildWindowMolecule hosts: it makes the molecule's two
// visuals and takes its forwarded events.
class MMChildWindowObject {
public:
    virtual ~MMChildWindowObject() = default;
    virtual void Start() {}                              // 1
    virtual void Stop() {}                               // 2
    virtual void StagePaused() {}                        // 8
    virtual void StageResumed() {}                       // 9
    virtual void FrameStarting() {}                      // 10
    virtual void FrameDone() {}                          // 11
    virtual MMVisual* MakeMainVisual() = 0;              // 13
    virtual MMVisual* MakeSecondVisual() { return nullptr; }  // 14

    void SetHost(class MMChildWindowMolecule* host) { host_ = host; }
    MMChildWindowMolecule* Host() const { return host_; }
    // The molecule inside that holds the focus, or null.
    virtual MMMolecule* FocusObject() { return nullptr; }

protected:
    // A child-window visual over a new child enclosure sized to the top
    // enclosure's bounds at layer 10000, and a box visual of the same bounds
    // at layer 9999.
    MMVisual* MakeChildWindowVisual();
    MMVisual* MakeCoverVisual();

    MMChildWindowMolecule* host_ = nullptr;
};

class MMChildWindowMolecule : public MMMolecule {
public:
    MMChildWindowMolecule(MMBaseScene* scene, MMChildWindowObject* child);
    ~MMChildWindowMolecule() override;
    void Show() override;
    void Hide() override;
    MMMolecule* FocusedMolecule() override;
    void StagePaused() override;
    void StageResumed() override;
    void FrameStarting() override;
    void FrameDone() override;

private:
    MMVisual* mainVisual_ = nullptr;
    MMVisual* secondVisual_ = nullptr;
    MMChildWindowObject* child_;
};
