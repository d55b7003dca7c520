#pragma once
// The buttons of a tray's modifier row: a picture button that stays lit
// while its modifier is current, shown by two pictures or by two bitmaps
// made at run time. The tray selects and deselects them; they only show it.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"

class MMBitmap;
class MMBitmapPictureCollection;

// The collection that pictures made while the program runs go into; null
// when no such collection is open.
MMBitmapPictureCollection* TrayPictureCollection();
// A copy of the bitmap in a free slot of that collection; empty when none.
MMPictureReference BindTrayPicture(const MMBitmap& bitmap);

class KVXModifierButtonVisual : public MMPictureVisual, public MMHighlightable {
public:
    KVXModifierButtonVisual(const Pair& position, const MMPictureReference& normal,
                            const MMPictureReference& highlight, int16_t layer);

    bool IsHighlighted() override { return highlighted != 0; }
    void SetHighlighted(bool flag) override;
    void SetNormalPicture(const MMPictureReference& reference);
    void SetHighlightPicture(const MMPictureReference& reference);
    const MMPictureReference& NormalPicture() const { return normalPicture; }
    const MMPictureReference& HighlightPicture() const { return highlightPicture; }

private:
    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
};

// Posts its command when a press inside the button is released inside it.
class KVXModifierButtonInterpreter : public MMStandardMouseInterpreter {
public:
    KVXModifierButtonInterpreter(MMStage* stage, MMCommand* command, MMVisual* visual,
                                 MMCursor* cursor);
    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    bool IsPressed() const { return pressed; }

private:
    bool Inside(const MMStageEvent& event) const;

    MMVisual* visual;
    bool pressed = false;
};

class KVXModifierButtonMolecule : public MMMolecule {
public:
    // Takes the command; a null interpreter makes a modifier-button one.
    KVXModifierButtonMolecule(MMBaseScene* scene, const Pair& position, MMPictureID normal,
                              MMPictureID highlight, MMCommand* command, int16_t layer,
                              MMCursor* cursor, MMStandardMouseInterpreter* interpreter = nullptr);
    ~KVXModifierButtonMolecule() override;

    void Show() override;
    void Hide() override;

    KVXModifierButtonVisual* Visual() const { return visual; }
    MMStandardMouseInterpreter* Interpreter() const { return interpreter; }

protected:
    KVXModifierButtonVisual* visual;
    MMStandardMouseInterpreter* interpreter;
};

// A modifier button that knows which of its tray's tools it selects.
class KVXBaseModifiersObject : public KVXModifierButtonMolecule {
public:
    KVXBaseModifiersObject(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                           MMPictureID normal, MMPictureID highlight, MMCommand* command,
                           int16_t layer, MMCursor* cursor,
                           MMStandardMouseInterpreter* interpreter = nullptr);

    virtual void Select() {}    // 12
    virtual void Deselect() {}  // 13
    virtual const MMPictureReference& NormalPicture() const { return visual->NormalPicture(); }
    virtual const MMPictureReference& HighlightPicture() const
    {
        return visual->HighlightPicture();
    }

    int16_t ToolIndex() const { return toolIndex; }

private:
    int16_t toolIndex;
};

// Shows picture A while not selected and picture B while selected.
class KVXModifiersPictureObject : public KVXBaseModifiersObject {
public:
    KVXModifiersPictureObject(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                              MMPictureID a, MMPictureID b, MMCommand* command, int16_t layer,
                              MMCursor* cursor, MMStandardMouseInterpreter* interpreter = nullptr);

    void Select() override;
    void Deselect() override;
    const MMPictureReference& NormalPicture() const override { return pictureA; }
    const MMPictureReference& HighlightPicture() const override { return pictureB; }

protected:
    void SetPictures(const MMPictureReference& a, const MMPictureReference& b);

    MMPictureReference pictureA;
    MMPictureReference pictureB;
};

// Pictures A and B copied from two bitmaps into slots of the program's own
// picture collection, given back when the button goes.
class KVXModifierBitmapObject : public KVXModifiersPictureObject {
public:
    KVXModifierBitmapObject(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                            const MMBitmap& a, const MMBitmap& b, MMCommand* command,
                            int16_t layer, MMCursor* cursor,
                            MMStandardMouseInterpreter* interpreter = nullptr);
    ~KVXModifierBitmapObject() override;
};
