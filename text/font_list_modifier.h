#pragma once
// The text tray's font list as the child uses it: the faces, the selected
// one sent to the text box, and the pointer opening the list, hovering and
// scrolling its rows and choosing a face.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/stage_event.h"
#include "text/font_list.h"

// What the list asks of the text box and of the screen.
class MPFontListClient {
public:
    virtual ~MPFontListClient() = default;
    virtual void SetFaceName(const char* face) = 0;
    virtual void CloakTextBox() = 0;
    virtual void UncloakTextBox() = 0;
    virtual void PlayOpenSound() = 0;
    virtual void Redraw() = 0;
};

class MPTextToolFontListModifier {
public:
    // Faces as enumerated (sorted here); startIndex -1 takes the face named
    // startFace, or the first sorted face when it is not installed.
    MPTextToolFontListModifier(std::vector<std::string> faces, int32_t startIndex,
                               const std::string& startFace, MPFontListClient* client);

    void SelectFace(int32_t index);
    const std::string& FaceNameAt(int32_t index) const { return faces[size_t(index)]; }
    int32_t SelectedIndex() const { return rows.Selected(); }
    int32_t FaceCount() const { return int32_t(faces.size()); }
    bool IsOpen() const { return open; }
    const MPFontListRows& Rows() const { return rows; }

    // A pointer event over the list (row -1 outside its rows); answers
    // whether the list holds the pointer.
    bool HandlePointer(const MMStageEvent& event, int32_t row);
    // One step of the auto-scroll thread; false when it stops.
    bool ScrollStep();

private:
    std::vector<std::string> faces;
    MPFontListRows rows;
    MPFontListClient* client;
    bool open = false;
};
