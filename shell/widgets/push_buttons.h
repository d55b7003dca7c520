#pragma once
// Picture push buttons: the interpreter that plays a click sound on the
// press and posts its command on the release inside, and a picture button
// that can be disabled (its disabled picture shown, the pointer ignored).
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"
#include "media/sound/sound_collection.h"

class MMGenericSoundChannel;

class KVXPushButtonInterpreterWithSound : public MMPushButtonInterpreter {
public:
    // A sound id of -1 is silent. The owner then gives the visual and the
    // highlight target (SetButton).
    KVXPushButtonInterpreterWithSound(MMStage* stage, MMCommand* command, MMCursor* cursor,
                                      MMResourceId soundId);
    ~KVXPushButtonInterpreterWithSound() override;

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;

    bool IsPressed() const { return pressed; }
    MMResourceId SoundId() const { return soundId; }
    MMGenericSoundChannel* Channel() const { return channel; }

private:
    bool Inside(const MMStageEvent& event) const;

    MMGenericSoundChannel* channel = nullptr;
    MMResourceId soundId;
    MMSoundReference sound;
    bool pressed = false;
};

class KVXPictureButtonWithDisablingVisual : public MMPictureVisual, public MMHighlightable {
public:
    KVXPictureButtonWithDisablingVisual(const MMPictureReference& normal,
                                        const MMPictureReference& highlight,
                                        const MMPictureReference& disabledLook,
                                        const Pair& position, int16_t newLayer);

    bool IsHighlighted() override { return highlighted != 0; }
    // Ignored in looks while disabled; the flag is kept.
    void SetHighlighted(bool flag) override;
    void SetDisabled(bool flag);
    bool IsDisabled() const { return disabled; }

private:
    bool disabled = false;
    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
    MMPictureReference disabledPicture;
};

class KVXPictureButtonWithDisablingMolecule : public MMMolecule {
public:
    struct Parameters {
        MMBaseScene* scene;
        int32_t x;
        int32_t y;
        MMPictureID normal;
        MMPictureID highlight;
        MMPictureID disabled;
        int16_t layer;
        MMCommand* command;
        MMCursor* cursor;
        MMResourceId soundId;
    };

    explicit KVXPictureButtonWithDisablingMolecule(const Parameters& parameters);
    ~KVXPictureButtonWithDisablingMolecule() override;

    void Show() override;
    void Hide() override;
    void SetDisabled(bool flag);

    KVXPictureButtonWithDisablingVisual* Visual() const { return visual; }
    KVXPushButtonInterpreterWithSound* Interpreter() const { return soundInterpreter; }

private:
    KVXPictureButtonWithDisablingVisual* visual;
    KVXPushButtonInterpreterWithSound* soundInterpreter;
    MMDummyMouseInterpreter* dummyInterpreter;
    bool disabled = false;
};
