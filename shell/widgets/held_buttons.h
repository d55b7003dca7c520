#pragma once
// Three-picture buttons that stay highlighted once clicked: the frame tabs of
// the animation slate's tray, which can also be dragged onto another tab or
// the drop area (an XOR frame and a dragging sound follow the pointer), and
// the buttons of the chalk-talk screen.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"

class KVXFrameVisual;
class KVXMagicSlateToolCollection;
class KVXShapeSound;

// Normal, highlighted and alternate (hover) pictures.
class KVXHeldButtonVisual : public MMPictureVisual, public MMHighlightable {
public:
    KVXHeldButtonVisual(const MMPictureReference& normal, const MMPictureReference& highlight,
                        const MMPictureReference& alternate, const Pair& position);

    bool IsHighlighted() override { return highlighted != 0; }
    void SetHighlighted(bool flag) override;
    void ShowAlternate();
    bool ShowsAlternate() const;
    void SetNormalPicture(const MMPictureReference& reference);
    void SetHighlightPicture(const MMPictureReference& reference);
    void SetAlternatePicture(const MMPictureReference& reference);

private:
    void Show(const MMPictureReference& reference);

    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
    MMPictureReference alternatePicture;
};

class KVXFrameTabButtonVisual : public KVXHeldButtonVisual {
public:
    using KVXHeldButtonVisual::KVXHeldButtonVisual;
};

class KVXchalkButtonVisual : public KVXHeldButtonVisual {
public:
    using KVXHeldButtonVisual::KVXHeldButtonVisual;
    bool ContainsPoint(int32_t x, int32_t y) override;
};

class KVXHeldButtonInterpreter : public MMStandardMouseInterpreter {
public:
    KVXHeldButtonInterpreter(MMStage* stage, MMCommand* command, KVXHeldButtonVisual* visual,
                             MMCursor* cursor);

    virtual void SetHeld(bool flag);
    virtual void ShowAlternate();
    virtual void ShowNormal();

    void SetVisual(KVXHeldButtonVisual* newVisual) { visual = newVisual; }
    KVXHeldButtonVisual* Visual() const { return visual; }
    bool IsPressed() const { return pressed; }
    bool IsHeld() const { return held; }

protected:
    bool Inside(const MMStageEvent& event) const;

    KVXHeldButtonVisual* visual;
    bool pressed = false;
    bool held = false;
};

class KVXFrameTabButtonInterpreter : public KVXHeldButtonInterpreter {
public:
    KVXFrameTabButtonInterpreter(MMStage* stage, KVXMagicSlateToolCollection* tray, int16_t frame,
                                 MMCommand* command, KVXHeldButtonVisual* visual,
                                 MMCursor* cursor, MMResourceId soundId);
    ~KVXFrameTabButtonInterpreter() override;

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;

    void SetDragSize(int32_t width, int32_t height);
    bool IsDragging() const { return dragging; }
    KVXFrameVisual* DragFrame() const { return dragFrame; }
    KVXShapeSound* DragSound() const { return dragSound; }

private:
    void BeginDrag(int32_t x, int32_t y);
    void MoveDrag(int32_t x, int32_t y);
    void EndDrag();

    KVXMagicSlateToolCollection* tray;
    MMCursor* savedCursor = nullptr;
    KVXFrameVisual* dragFrame = nullptr;
    int32_t dragWidth = 25;
    int32_t dragHeight = 60;
    int16_t frame;
    bool dragging = false;
    KVXShapeSound* dragSound;
};

class KVXchalkButtonInterpreter : public KVXHeldButtonInterpreter {
public:
    KVXchalkButtonInterpreter(MMStage* stage, int32_t value, MMCommand* command,
                              KVXHeldButtonVisual* visual, MMCursor* cursor);

    bool Interpret(const MMStageEvent& event) override;
    void CurrentCursor() override;
    void CaptureLost() override;

private:
    int32_t value;
};

// The molecule of either button: it owns its visual and its interpreter.
class KVXHeldButtonMolecule : public MMMolecule {
public:
    KVXHeldButtonMolecule(MMBaseScene* scene, KVXHeldButtonVisual* visual,
                          KVXHeldButtonInterpreter* interpreter, int16_t layer);
    ~KVXHeldButtonMolecule() override;

    void Show() override;
    void Hide() override;
    void SetNormalPicture(const MMPictureReference& reference);
    void SetHighlightPicture(const MMPictureReference& reference);
    void SetAlternatePicture(const MMPictureReference& reference);
    void Highlight() { interpreter->SetHeld(true); }
    void Unhighlight() { interpreter->SetHeld(false); }

    KVXHeldButtonVisual* Visual() const { return visual; }
    KVXHeldButtonInterpreter* Interpreter() const { return interpreter; }

protected:
    KVXHeldButtonVisual* visual;
    KVXHeldButtonInterpreter* interpreter;
};

class KVXFrameTabButtonMolecule : public KVXHeldButtonMolecule {
public:
    struct Parameters {
        MMBaseScene* scene;
        KVXMagicSlateToolCollection* tray;
        int32_t x;
        int32_t y;
        MMPictureID highlight;
        MMPictureID alternate;
        MMPictureID normal;
        int16_t frame;
        MMCommand* command;
        int16_t layer;
        MMCursor* cursor;
        KVXFrameTabButtonInterpreter* interpreter;
    };

    explicit KVXFrameTabButtonMolecule(const Parameters& parameters);
    KVXFrameTabButtonMolecule(MMBaseScene* scene, KVXMagicSlateToolCollection* tray,
                              KVXFrameTabButtonVisual* visual, int16_t frame, MMCommand* command,
                              MMCursor* cursor, KVXFrameTabButtonInterpreter* interpreter);

    void ResetHighlight() { Unhighlight(); }
    void ShowAlternatePicture();
    void SetInterpreterPoint(int32_t width, int32_t height);
    KVXFrameTabButtonInterpreter* TabInterpreter() const;
};

class KVXchalkButtonMolecule : public KVXHeldButtonMolecule {
public:
    struct Parameters {
        MMBaseScene* scene;
        int32_t value;
        int32_t x;
        int32_t y;
        MMPictureID highlight;
        MMPictureID alternate;
        MMPictureID normal;
        MMCommand* command;
        int16_t layer;
        MMCursor* cursor;
        KVXchalkButtonInterpreter* interpreter;
    };

    explicit KVXchalkButtonMolecule(const Parameters& parameters);
    KVXchalkButtonMolecule(MMBaseScene* scene, int32_t value, KVXchalkButtonVisual* visual,
                           MMCommand* command, MMCursor* cursor,
                           KVXchalkButtonInterpreter* interpreter);
};
