#pragma once
// A two-state picture button: each complete click inside flips it between
// off and on, shows the matching picture, plays an optional sound and posts
// its command. The state is the visual's highlight (on = highlighted).
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"
#include "media/sound/sound_collection.h"

class MMGenericSoundChannel;

class KVXToggleButtonVisual : public MMPictureVisual, public MMHighlightable {
public:
    KVXToggleButtonVisual() = default;
    KVXToggleButtonVisual(const Pair& position, MMMouseInterpreter* mouseInterpreter,
                          int16_t newLayer);
    KVXToggleButtonVisual(const MMPictureReference& off, const MMPictureReference& on,
                          const Pair& position, MMMouseInterpreter* mouseInterpreter,
                          int16_t newLayer);

    bool IsHighlighted() override { return highlighted != 0; }
    void SetHighlighted(bool flag) override;
    void SetOffPicture(const MMPictureReference& reference);
    void SetOnPicture(const MMPictureReference& reference);

    const MMPictureReference& OffPicture() const { return offPicture; }
    const MMPictureReference& OnPicture() const { return onPicture; }

private:
    MMPictureReference offPicture;
    MMPictureReference onPicture;
};

class KVXToggleButtonInterpreter : public MMStandardMouseInterpreter {
public:
    explicit KVXToggleButtonInterpreter(MMStage* stage);
    // Without a target, a visual's own highlight is the state; a sound id of
    // -1 makes no channel and clicks are silent.
    KVXToggleButtonInterpreter(MMStage* stage, MMCommand* command, KVXToggleButtonVisual* visual,
                               MMHighlightable* target, MMCursor* cursor, MMResourceId soundId);
    ~KVXToggleButtonInterpreter() override;

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    virtual void SetState(bool on);

    void SetParts(KVXToggleButtonVisual* newVisual, MMHighlightable* newTarget);
    bool IsPressed() const { return pressed; }
    MMGenericSoundChannel* Channel() const { return channel; }

private:
    bool Inside(const MMStageEvent& event) const;

    KVXToggleButtonVisual* visual = nullptr;
    MMHighlightable* target = nullptr;
    bool pressed = false;
    MMSoundReference sound;
    MMGenericSoundChannel* channel = nullptr;
};

class KVXToggleButtonMolecule : public MMMolecule {
public:
    struct Parameters {
        MMBaseScene* scene;
        int32_t x;
        int32_t y;
        MMPictureID offPicture;
        MMPictureID onPicture;
        MMCommand* command;
        int16_t layer;
        MMCursor* cursor;
        KVXToggleButtonInterpreter* interpreter;  // or null for a new one
    };

    explicit KVXToggleButtonMolecule(const Parameters& parameters);
    // The same binding for a visual its caller built.
    KVXToggleButtonMolecule(MMBaseScene* scene, KVXToggleButtonVisual* visual, MMCommand* command,
                            MMCursor* cursor, KVXToggleButtonInterpreter* interpreter);
    ~KVXToggleButtonMolecule() override;

    void Show() override;
    void Hide() override;
    // Neither posts the command nor plays the sound.
    void SetOn();
    void SetOff();
    bool IsOn() const { return visual->IsHighlighted(); }

    KVXToggleButtonVisual* Visual() const { return visual; }
    KVXToggleButtonInterpreter* Interpreter() const { return interpreter; }

private:
    void Bind(KVXToggleButtonInterpreter* given, MMCommand* command, MMCursor* cursor,
              int16_t layer);

    KVXToggleButtonVisual* visual;
    KVXToggleButtonInterpreter* interpreter = nullptr;
};
