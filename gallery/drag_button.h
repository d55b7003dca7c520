#pragma once
// A button whose picture can be dragged: its visual shows a normal or a
// highlighted picture and keeps a drag picture, and its interpreter turns
// press, motion and release into click, double click, drag start, drag over
// and drop for the drag scene.
#include <cstdint>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"

class MpDragScene;
class MpDragButtonInterpreter;

class MpDragButtonVisual : public MMPictureVisual, public MMHighlightable {
public:
    MpDragButtonVisual(const MMPictureReference& normal, const MMPictureReference& highlighted,
                       const Pair& position, MMMouseInterpreter* interpreter, int16_t layer);

    bool IsHighlighted() override { return highlighted != 0; }
    void SetHighlighted(bool flag) override;
    void SetNormalPicture(const MMPictureReference& reference);
    void SetHighlightPicture(const MMPictureReference& reference);
    void SetDragPicture(const MMPictureReference& reference) { dragPicture = reference; }
    const MMPictureReference& DragPicture() const { return dragPicture; }
    const MMPictureReference& NormalPicture() const { return normalPicture; }
    bool IsPressed() const { return pressed != 0; }
    void SetPressed(bool on) { pressed = on ? 1 : 0; }

private:
    void ShowCurrent();

    uint8_t pressed = 0;
    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
    MMPictureReference dragPicture;
};

class MpDragButtonInterpreter : public MMStandardMouseInterpreter {
public:
    // The scene's busy state is read at each event; the commands are owned.
    MpDragButtonInterpreter(int32_t kind, MpDragScene* scene, MMCommand* click,
                            MpDragButtonVisual* visual, MMCursor* cursor,
                            MMCommand* doubleClick, int32_t soundId);
    ~MpDragButtonInterpreter() override;

    bool Interpret(const MMStageEvent& event) override;
    void CurrentCursor() override;
    void CaptureLost() override;

    void SetVisual(MpDragButtonVisual* value) { visual = value; }
    void SetEntry(int16_t value) { entry = value; }
    bool IsPressed() const { return pressPoint.x != -100; }
    bool IsDragging() const { return dragging != 0; }
    int32_t Kind() const { return kind; }
    void SetKind(int32_t value) { kind = value; }

private:
    bool Inside(const MMStageEvent& event) const;
    void UseAppCursor(int32_t n);

    MpDragScene* scene;
    Pair pressPoint = {-100, -100};
    int32_t kind;
    uint8_t dragging = 0;
    int16_t entry = 0;
    MMCommand* doubleClick;
    MpDragButtonVisual* visual;
    int32_t soundId;
};

class MpDragButton : public MMMolecule {
public:
    // Without an interpreter one of kind 2 without double click or sound is
    // made for the click command.
    MpDragButton(int16_t entry, MpDragScene* scene, MpDragButtonVisual* visual, MMCommand* click,
                 MMCursor* cursor, MpDragButtonInterpreter* interpreter = nullptr);
    ~MpDragButton() override;

    void Show() override;
    void Hide() override;

    int16_t Entry() const { return entry; }
    void SetEntry(int16_t value);
    MpDragButtonVisual* Visual() const { return visual; }
    MpDragButtonInterpreter* Interpreter() const { return interpreter; }

private:
    int16_t entry;
    MpDragScene* dragScene;
    MpDragButtonVisual* visual;
    MpDragButtonInterpreter* interpreter;
};
