#pragma once
// A one-line editable text field: typed characters grow the text behind a
// blinking caret, backspace takes the last character away.
#include <cstdint>
#include "engine/engine_thread.h"
#include "engine/molecule.h"
#include "media/surface.h"
#include "media/visual.h"

class MMHotSpotInterpreter;
class MMTextEditMolecule;

// The text of a field; a hit anywhere inside its bounds.
class MMTEditTextVisual : public MMPointBasedVisual {
public:
    MMTEditTextVisual(int32_t x, int32_t y) : MMPointBasedVisual(x, y) {}

    bool ContainsPoint(int32_t px, int32_t py) override;
    // Where the caret stands behind the text, on the baseline.
    virtual Pair CaretPosition() = 0;  // 14

    void SetMolecule(MMTextEditMolecule* owner) { molecule = owner; }

protected:
    MMTextEditMolecule* molecule = nullptr;
};

class MMStandardTEditTextVisual : public MMTEditTextVisual {
public:
    MMStandardTEditTextVisual(int32_t x, int32_t y, int16_t width, int32_t verticalAlignment,
                              MMColor textColor, MMFont* font);

    void SetPosition(int32_t newX, int32_t newY) override;
    // From x to x + width, from the ascent above the baseline to the descent
    // below it.
    Box GetBounds() const override;
    void Draw(MMSurface* surface) override;
    Pair CaretPosition() override;

    void SetColor(MMColor color);
    void SetFont(MMFont* newFont);

private:
    int32_t Baseline(MMSurface* surface) const;

    int32_t verticalAlignment;
    MMColor textColor;
    MMFont* font;
    int16_t width;
    mutable bool boundsStale = true;
    mutable Box bounds = {0, 0, 0, 0};
};

class MMTEditCursorVisual : public MMPointBasedVisual {
public:
    MMTEditCursorVisual() = default;
    virtual void ToggleBlink() = 0;  // 14
};

// A bar two pixels wide at (x, baseline); hidden when made.
class MMStandardTEditCursorVisual : public MMTEditCursorVisual {
public:
    MMStandardTEditCursorVisual(MMColor caretColor, MMFont* font);

    void SetPosition(int32_t newX, int32_t newY) override;
    Box GetBounds() const override;
    Box GetOpaqueBox() const override { return GetBounds(); }
    void Draw(MMSurface* surface) override;
    void ToggleBlink() override { SetHidden(!IsHidden()); }

    void SetColor(MMColor color);
    void SetFont(MMFont* newFont);

private:
    MMColor caretColor;
    MMFont* font;
};

// Blinks the caret every 200 ms of stage time while it runs.
class MMTEditCursorThread : public MMLightweightThread {
public:
    MMTEditCursorThread(MMStage* stage, MMTEditCursorVisual* caret);
    bool Run() override;

private:
    MMTEditCursorVisual* caret;
};

class MMTextEditMolecule : public MMMolecule {
public:
    static constexpr uint16_t kBackspaceKey = 1001;

    struct Parameters {
        MMBaseScene* scene;
        int16_t bufferSize;
        Pair position;
        int16_t width;
        int32_t verticalAlignment;
        MMColor textColor;
        MMFont* font;
        MMColor caretColor;
    };

    explicit MMTextEditMolecule(const Parameters& parameters);
    // Visuals made by a derived class; the molecule owns them.
    MMTextEditMolecule(MMBaseScene* scene, int16_t bufferSize, MMTEditTextVisual* textVisual,
                       MMTEditCursorVisual* caretVisual);
    ~MMTextEditMolecule() override;

    void Show() override;
    void Hide() override;
    bool HandleKey(uint32_t keyData) override;
    void GainFocus() override;
    void LoseFocus() override;
    virtual void TextChanged();  // 12

    // Longer texts are cut at the last whole character that fits.
    void SetText(const char* newText);
    const char* Text() const { return buffer; }
    int16_t Length() const { return length; }
    int16_t BufferSize() const { return bufferSize; }
    void SetLayer(int16_t layer);
    int16_t Layer() const;

    MMTEditTextVisual* TextVisual() const { return textVisual; }
    MMTEditCursorVisual* CaretVisual() const { return caretVisual; }
    MMTEditCursorThread* CaretThread() const { return caretThread; }
    MMHotSpotInterpreter* Interpreter() const { return interpreter; }

private:
    void SetUp();

    int16_t bufferSize;
    int16_t length = 0;
    char* buffer = nullptr;
    MMTEditTextVisual* textVisual;
    MMTEditCursorVisual* caretVisual;
    MMTEditCursorThread* caretThread = nullptr;
    MMHotSpotInterpreter* interpreter = nullptr;
};
