#pragma once
// The plain push button of the slideshow panel: a picture (normal or
// highlighted) with an optional label, whose interpreter tells a listener
// of the press, of every motion while pressed and of the release, and
// posts its command when released inside.
#include <cstdint>
#include <string>

#include "engine/molecule.h"
#include "engine/mouse_interpreter.h"
#include "engine/picture_collection.h"
#include "media/picture_visual.h"

class MMFont;

class MpUTHssButtonListener {
public:
    virtual ~MpUTHssButtonListener() = default;
    virtual void Press(int32_t value) = 0;
    virtual void Move(const Pair& point) = 0;
    virtual void Release() = 0;
};

class MpUTHssButtonVisual : public MMPictureVisual, public MMHighlightable {
public:
    static constexpr int32_t kLabelX = 12;
    static constexpr int32_t kLabelY = 6;

    MpUTHssButtonVisual(const MMPictureReference& normal, const MMPictureReference& highlighted,
                        const Pair& position, int16_t layer);

    bool IsHighlighted() override { return highlighted != 0; }
    void SetHighlighted(bool on) override;
    void Draw(MMSurface* surface) override;

    void SetPictures(const MMPictureReference& normal, const MMPictureReference& highlighted);
    // An empty text draws no label.
    void SetLabel(const char* text, MMFont* labelFont);
    const std::string& Label() const { return label; }
    void SetValue(int32_t v) { value = v; }
    int32_t Value() const { return value; }

private:
    MMPictureReference normalPicture;
    MMPictureReference highlightPicture;
    std::string label;
    MMFont* font = nullptr;
    int32_t value = 0;
};

class MpUTHssButtonInterpreter : public MMStandardMouseInterpreter {
public:
    // The command is owned; listener and visual are not.
    MpUTHssButtonInterpreter(MMStage* stage, int32_t value, MpUTHssButtonListener* listener,
                             MMCommand* command, MpUTHssButtonVisual* visual, MMCursor* cursor);

    bool Interpret(const MMStageEvent& event) override;
    void CaptureLost() override;
    void SetVisual(MpUTHssButtonVisual* v) { visual = v; }
    bool IsPressed() const { return pressPoint.x != -100; }

private:
    bool Inside(const MMStageEvent& event) const;

    MpUTHssButtonListener* listener;
    Pair pressPoint = {-100, -100};
    int32_t value;
    MpUTHssButtonVisual* visual;
};

class MpUTHssButton : public MMMolecule {
public:
    // Owns both; the visual joins the scene's top enclosure.
    MpUTHssButton(MMBaseScene* scene, MpUTHssButtonVisual* visual,
                  MpUTHssButtonInterpreter* interpreter);
    ~MpUTHssButton() override;

    void Show() override;
    void Hide() override;
    MpUTHssButtonVisual* Visual() const { return visual; }
    MpUTHssButtonInterpreter* Interpreter() const { return interpreter; }

private:
    MpUTHssButtonVisual* visual;
    MpUTHssButtonInterpreter* interpreter;
};
