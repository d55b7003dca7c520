#pragma once
// The text tray's font list: every TrueType family of the machine, each name
// once and sorted, the start face, names fitted to their room, and the
// drop-up list's rows, arrows and auto-scroll.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int32_t kFaceNameLength = 32;
constexpr int32_t kListNameRows = 16;

// Families on the device context whose font type has the TrueType bit; a
// family that the platform lists once per style is kept once, and vertical
// ("@") faces are left out. Names are cut to 32 characters.
std::vector<std::string> EnumerateTrueTypeFaces(HDC dc);
// The callback's rule, on one listed face.
void KeepTrueTypeFace(std::vector<std::string>& faces, const char* name, DWORD fontType);
// Byte by byte, letters lower-cased.
int CompareFaceNames(const std::string& a, const std::string& b);
void SortFaceNames(std::vector<std::string>& faces);
// The first face equal to name, else 0.
int32_t StartFaceIndex(const std::vector<std::string>& faces, const std::string& name);

// While the name is wider than room, its last character goes; when any went,
// three more go (never more than are left) and the suffix is appended, the
// whole kept within 32 characters.
std::string FitFaceName(const std::string& name, int32_t room, const std::string& suffix,
                        const std::function<int32_t(const std::string&)>& width);

// The open list: rows, arrows, hover and scrolling.
class MPFontListRows {
public:
    explicit MPFontListRows(int32_t faceCount) : faceCount(faceCount) {}

    int32_t FaceCount() const { return faceCount; }
    bool HasArrows() const { return faceCount > kListNameRows; }
    int32_t ArrowOffset() const { return HasArrows() ? 1 : 0; }
    int32_t ShownRows() const { return HasArrows() ? kListNameRows + 2 : faceCount; }
    bool IsUpArrow(int32_t row) const { return HasArrows() && row == 0; }
    bool IsDownArrow(int32_t row) const { return HasArrows() && row == kListNameRows + 1; }
    bool CanScrollDown() const { return firstShown + kListNameRows < faceCount; }
    bool CanScrollUp() const { return firstShown > 0; }
    // The face shown in a row, or -1 for an arrow or a row past the faces.
    int32_t FaceAtRow(int32_t row) const;

    // The selected face; the list opens with it among the last shown.
    void Select(int32_t index);
    int32_t Selected() const { return selected; }
    int32_t FirstShown() const { return firstShown; }
    int32_t Hovered() const { return hovered; }

    // Pointer over a row (-1 outside): a name row stops the auto-scroll and is
    // hovered; an arrow row starts scrolling its way when it can.
    void PointAt(int32_t row);
    // Release: the hovered row's face becomes the selection (true), or none.
    bool Release();
    // One auto-scroll step; false once scrolling stops.
    bool ScrollStep();
    bool Scrolling() const { return scrolling; }
    bool ScrollingUp() const { return up; }
    void StopScrolling() { scrolling = false; }

private:
    int32_t faceCount;
    int32_t selected = 0;
    int32_t firstShown = 0;
    int32_t hovered = -1;
    bool scrolling = false;
    bool up = false;
};
