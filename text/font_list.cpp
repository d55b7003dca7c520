#include "text/font_list.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM data)
{
    KeepTrueTypeFace(*reinterpret_cast<std::vector<std::string>*>(data), font->lfFaceName,
                     fontType);
    return 1;
}

}  // namespace

void KeepTrueTypeFace(std::vector<std::string>& faces, const char* name, DWORD fontType)
{
    if (!(fontType & TRUETYPE_FONTTYPE) || name == nullptr || name[0] == '@' || name[0] == 0)
        return;
    std::string face(name, strnlen(name, kFaceNameLength));
    for (const std::string& known : faces)
        if (known == face)
            return;
    faces.push_back(face);
}

std::vector<std::string> EnumerateTrueTypeFaces(HDC dc)
{
    std::vector<std::string> faces;
    if (dc)
        EnumFontFamiliesA(dc, nullptr, CollectFace, reinterpret_cast<LPARAM>(&faces));
    return faces;
}

int CompareFaceNames(const std::string& a, const std::string& b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        int x = std::tolower(static_cast<unsigned char>(a[i]));
        int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

void SortFaceNames(std::vector<std::string>& faces)
{
    for (size_t i = 1; i < faces.size(); ++i) {
        std::string name = faces[i];
        size_t j = i;
        while (j > 0 && CompareFaceNames(name, faces[j - 1]) < 0) {
            faces[j] = faces[j - 1];
            --j;
        }
        faces[j] = name;
    }
}

int32_t StartFaceIndex(const std::vector<std::string>& faces, const std::string& name)
{
    for (size_t i = 0; i < faces.size(); ++i)
        if (CompareFaceNames(faces[i], name) == 0)
            return int32_t(i);
    return 0;
}

std::string FitFaceName(const std::string& name, int32_t room, const std::string& suffix,
                        const std::function<int32_t(const std::string&)>& width)
{
    std::string fitted = name.substr(0, kFaceNameLength);
    bool dropped = fitted.size() < name.size();
    while (!fitted.empty() && width(fitted) > room) {
        fitted.pop_back();
        dropped = true;
    }
    if (!dropped)
        return fitted;
    fitted.resize(fitted.size() > 3 ? fitted.size() - 3 : 0);
    fitted += suffix;
    return fitted.substr(0, kFaceNameLength);
}

int32_t MPFontListRows::FaceAtRow(int32_t row) const
{
    if (row < 0 || row >= ShownRows() || IsUpArrow(row) || IsDownArrow(row))
        return -1;
    int32_t face = row + firstShown - ArrowOffset();
    return face < faceCount ? face : -1;
}

void MPFontListRows::Select(int32_t index)
{
    if (index < 0 || index >= faceCount)
        return;
    selected = index;
    firstShown = selected > 15 ? selected - 15 : 0;
    if (HasArrows() && firstShown + kListNameRows > faceCount)
        firstShown = faceCount - kListNameRows;
}

void MPFontListRows::PointAt(int32_t row)
{
    if (IsUpArrow(row) || IsDownArrow(row)) {
        bool wantUp = IsUpArrow(row);
        if (wantUp ? CanScrollUp() : CanScrollDown()) {
            scrolling = true;
            up = wantUp;
        }
        return;
    }
    scrolling = false;
    hovered = row >= 0 && row < ShownRows() ? row : -1;
}

bool MPFontListRows::Release()
{
    scrolling = false;
    int32_t face = hovered >= 0 ? hovered + firstShown - ArrowOffset() : -1;
    hovered = -1;
    if (face < 0 || face >= faceCount)
        return false;
    selected = face;
    return true;
}

bool MPFontListRows::ScrollStep()
{
    if (!scrolling)
        return false;
    if (up ? !CanScrollUp() : !CanScrollDown()) {
        scrolling = false;
        return false;
    }
    firstShown += up ? -1 : 1;
    if (up ? !CanScrollUp() : !CanScrollDown())
        scrolling = false;
    return true;
}
