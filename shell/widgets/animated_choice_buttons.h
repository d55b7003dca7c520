#pragma once
// Animated buttons that stay selected after a click, as the members of a
// group do: the radio button (selected, then on and off with two commands of
// its own: labels 7 and 77), the tool button (labels 8 and 9 greet and see
// off the pointer while selected), and the tool-size and shape buttons,
// selected by the press itself.
#include <cstdint>

#include "shell/widgets/animated_button.h"

enum KVXChoiceLabel : int16_t {
    kLabelTurnOn = 7,
    kLabelTurnOff = 77,
    kLabelEnterSelected = 8,
    kLabelLeaveSelected = 9,
};

class KVXAnimatedRadioButtonMolecule : public KVXAnimatedButtonMolecule {
public:
    KVXAnimatedRadioButtonMolecule(MMBaseScene* scene, MMResourceId scriptId,
                                   MMCommand* clickCommand, MMCommand* onCommand,
                                   MMCommand* offCommand, int16_t layerOffset, int16_t cursorIndex,
                                   int16_t priority, int16_t resourceMode);
    ~KVXAnimatedRadioButtonMolecule() override;

    bool Select(bool withSound) override;
    bool Reset() override;
    void Pressed() override;
    void Clicked() override;
    void ReleasedOutside() override;
    bool HasLabel(int16_t label) override;
    void PointerEntered() override;
    bool Interpret(const MMStageEvent& event) override;
    void PointerLeft() override;

    bool IsOn() const { return on; }

private:
    bool on = false;
    MMCommand* onCommand;
    MMCommand* offCommand;
};

class KVXAnimatedToolButtonMolecule : public KVXAnimatedButtonMolecule {
public:
    KVXAnimatedToolButtonMolecule(MMBaseScene* scene, MMResourceId scriptId,
                                  MMCommand* clickCommand, MMCommand* firstCommand,
                                  MMCommand* secondCommand, int16_t layerOffset,
                                  int16_t cursorIndex, int16_t priority, int16_t resourceMode,
                                  MMAnimationThread* thread = nullptr);
    ~KVXAnimatedToolButtonMolecule() override;

    bool Select(bool withSound) override;
    bool Reset() override;
    void Pressed() override;
    void Clicked() override;
    void ReleasedOutside() override;
    bool HasLabel(int16_t label) override;
    // Without an event command both answer false and change nothing.
    virtual bool BindSelectCommand(int16_t event, MMCommand* eventCommand, MMCommand* command);
    virtual bool BindSecondCommand(int16_t event, MMCommand* eventCommand, MMCommand* command);
    void PointerEntered() override;
    bool Interpret(const MMStageEvent& event) override;
    void PointerLeft() override;

    MMCommand* FirstCommand() const { return firstCommand; }
    MMCommand* SecondCommand() const { return secondCommand; }
    bool SelectBound() const { return selectBound; }
    bool SecondBound() const { return secondBound; }

private:
    bool Bind(int16_t event, MMCommand* eventCommand, MMCommand* command, MMCommand*& slot,
              bool& bound);

    bool suppressClick = false;
    MMCommand* firstCommand;
    MMCommand* secondCommand;
    bool selectBound = false;
    bool secondBound = false;
};

class KVXAnimatedToolSizeButton : public KVXAnimatedButtonMolecule {
public:
    KVXAnimatedToolSizeButton(MMBaseScene* scene, MMResourceId scriptId, MMCommand* clickCommand,
                              int16_t layerOffset, int16_t cursorIndex, int16_t priority,
                              int16_t resourceMode);

    void Pressed() override;
    // Leaving only silences the button.
    void PointerLeft() override;
};

class KVXAnimatedShapes : public KVXAnimatedToolSizeButton {
public:
    using KVXAnimatedToolSizeButton::KVXAnimatedToolSizeButton;
};
