#pragma once
// The simple text tool: a line typed into a one-line edit, then drawn with
// the text renderer into a 32-bit picture, with an optional drop shadow.
#include <cstdint>
#include <string>

#include "framework/geometry.h"

class MMBaseScene;
class MMSurface;
class MPSmartFont;
class MPTextEdit;

// A drawing of the work surface and the box drawn into since it was taken.
struct CTextTarget {
    MMSurface* surface = nullptr;
    Box dirty = {0, 0, 0, 0};
};

class CTool {
public:
    virtual ~CTool() = default;
    virtual void Activate() { active = true; }
    virtual void Deactivate() { active = false; }
    virtual void PlaceAt(double x, double y, CTextTarget* target) = 0;
    bool IsActive() const { return active; }

protected:
    bool active = false;
};

class CTextTool : public CTool {
public:
    // colour: three bytes, blue, green, red (not owned).
    CTextTool(MMBaseScene* scene, const uint8_t* colour);
    ~CTextTool() override;

    void Activate() override;
    void Deactivate() override;
    void PlaceAt(double x, double y, CTextTarget* target) override;
    void SetFace(const char* name);
    void SetSize(int16_t newSize);
    // Bytes 1 to 3: italic, bold, underline.
    void SetStyle(const uint8_t newStyle[4]);
    void SetShadow(bool on) { shadow = on; }

    MPTextEdit* Edit() const { return edit; }
    Pair Position() const { return position; }
    int16_t Room() const { return room; }

private:
    void Commit();
    void RebuildFont();
    void OpenEdit(const std::string& text);

    MMBaseScene* scene;
    const uint8_t* colour;
    char face[32] = "DejaVu Sans";
    int16_t size = 24;
    uint8_t style[4] = {0, 0, 0, 0};
    MPSmartFont* font = nullptr;
    MPTextEdit* edit = nullptr;
    Pair position = {0, 0};
    int16_t room = 0;
    bool shadow = false;
    CTextTarget* target = nullptr;
};
