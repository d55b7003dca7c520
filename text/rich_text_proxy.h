#pragma once
// The molecule that stands for a rich-edit control in a scene. The control
// lives on the window thread; every operation here runs on the stage thread
// and has the window thread carry out its control part (a blocking send),
// except key input, which is posted. Its lightweight thread hands format
// changes to a listener.
#include <windows.h>
#include <richedit.h>

#include <cstdint>

#include "engine/engine_thread.h"
#include "engine/molecule.h"
#include "framework/color.h"
#include "framework/geometry.h"

class AFCallback;
class AFEditRichTextControl;
class FSReader;
class FSWriter;
class MMSurface;

// Character heights in twips from pixels at a resolution, and back.
int32_t TwipsForPixels(int32_t pixels, int32_t dpi);
int32_t PixelsForTwips(int32_t twips, int32_t dpi);
// Palette index -1 gives 0x00BBGGRR, any other index i 0x01000000 + i.
COLORREF ColorRefFor(const MMColor& colour);

class MMRichTextProxyMolecule : public MMMolecule, public MMLightweightThread {
public:
    // box in stage coordinates.
    MMRichTextProxyMolecule(MMBaseScene* scene, const Box& box, bool startHidden);
    ~MMRichTextProxyMolecule() override;

    void Show() override;
    void Hide() override;
    bool HandleKey(uint32_t keyData) override;
    void GainFocus() override;
    void LoseFocus() override;
    bool Run() override;

    bool IsEmpty();
    bool IsModified();
    void SetModified(bool modified);
    void Undo();
    void Clear();
    void SetSelection(int32_t start, int32_t end);
    void GetSelection(int32_t* start, int32_t* end);
    int32_t TextLength();
    // Zero-terminated, code page text of the control.
    void GetText(char* buffer, int32_t size);

    void SetBounds(const Box& box, const Box& clipBox);
    void MoveBox(const Pair& point);
    void UpdatePlacement();
    const Box& GetBox() const { return box; }
    // The box grown by the control's border: what the molecule covers.
    const Box& Placement() const { return placement; }

    void SetTextColor(const MMColor& colour);
    void SetFaceName(const char* name, uint8_t charSet, uint8_t pitch);
    void SetTextSize(int32_t pixels);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetPlain();
    void SetDefaultFormatMode(bool on);
    void SetAlignment(int32_t kind);
    // Draws the text into the whole of the surface's box.
    void DrawInto(MMSurface* surface);

    // Cookies 101 and 102; the answer is the bytes moved or the stream's
    // error (-1 without one).
    int32_t StreamOut(FSWriter& output);
    int32_t StreamIn(FSReader& input, int32_t byteLimit);

    void RefreshFormatCopies();
    bool IsBold() const;
    bool IsItalic() const;
    bool IsUnderline() const;
    const char* FaceName() const;
    MMColor TextColor() const;
    int32_t TextSizePixels() const;
    int32_t Alignment() const;
    // Owned; with a listener the thread wakes, without one it sleeps.
    void SetChangeListener(AFCallback* listener);

    AFEditRichTextControl* Control() const { return control; }
    // The vertical resolution the sizes are converted at.
    int32_t Dpi() const { return dpi; }

protected:
    template <class F>
    void OnWindow(F function);
    Pair WindowOrigin() const;
    void StoreEffect(DWORD effect, bool on);

    AFEditRichTextControl* control = nullptr;
    Box box;
    Box clipBox;
    Box placement = {0, 0, 0, 0};
    AFCallback* listener = nullptr;
    CHARFORMATA* characterCopy = nullptr;
    PARAFORMAT* paragraphCopy = nullptr;
    int32_t dpi = 96;
};
