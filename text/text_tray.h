#pragma once
// The text tray: the text tool with its size (the text's opacity) and relief
// sliders, four style buttons (plain, italic, bold, underline) and the font
// list of the machine's TrueType faces; every choice goes to the tool's text
// box. The canvas is never zoomed while the tray is open.
#include <cstdint>

#include "text/font_list_modifier.h"
#include "text/text_styles.h"
#include "trays/tool_collection.h"

class KVXTextEditWrapper;
class KVXToggleButtonMolecule;
class MPTextToolFontScrollList;
class TextTool;

// Rows of the tray's layout table, 665.
enum : int16_t {
    kTextTrayTable = 665,
    kTextTrayPlainRow = 1,  // 1 to 4: plain, italic, bold, underline
    kTextTrayToolButtonRow = 5,
    kTextTrayFontListRow = 10,
    kTextTrayFontPicturesRow = 11,
    kTextTraySlidersRow = 12,
};
// Rows of table 0.
enum : int16_t {
    kFontSuffixKey = 19,
    kFontListFaceKey = 87,
    kStartFaceKey = 90,
    kFontListSizeKey = 97,
};

class KVXTextToolCollection : public KVXToolCollection, private MPFontListClient {
public:
    KVXTextToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                          KVXPlaneComponentTop* previewPlane, MMBitmapWithPixels* previewBitmapA,
                          MMBitmapWithPixels* previewBitmapB);
    ~KVXTextToolCollection() override;

    void Begin() override;
    void DeleteMolecules() override;
    void ForwardSizeOrShape(int16_t which, bool rebuild) override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;
    void StoreOwnerValue(const uint32_t* colour) override;

    // While a panel or the radio lies over the canvas, a picture of the box
    // stands in for the real window.
    void CloakTextBox() override;
    void UncloakTextBox() override;

    // The style buttons' commands.
    void HandlePlainButton();
    void HandleItalicButton();
    void HandleBoldButton();
    void HandleUnderlineButton();

    KVXToggleButtonMolecule* StyleButton(int32_t i) const { return buttons[i]; }
    const KVXTextStyleButtons& Styles() const { return styles; }
    MPTextToolFontScrollList* FontList() const { return fontList; }
    // The current tool's box, or null.
    KVXTextEditWrapper* TextBox() const;

private:
    void SetFaceName(const char* face) override;
    void PlayOpenSound() override {}
    void Redraw() override {}

    void MakeStyleButtons();
    void DeleteStyleButtons();
    void MakeFontList();
    void DeleteFontList();
    void PrepareTextBox();
    void ApplyFormat(int32_t sizeIndex);
    void ShowStyles();
    void StyleChanged();
    TextTool* CurrentTextTool() const;

    KVXToggleButtonMolecule* buttons[4] = {};
    MPTextToolFontScrollList* fontList = nullptr;
    KVXTextStyleButtons styles;
};
