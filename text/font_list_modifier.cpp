#include "text/font_list_modifier.h"

MPTextToolFontListModifier::MPTextToolFontListModifier(std::vector<std::string> names,
                                                       int32_t startIndex,
                                                       const std::string& startFace,
                                                       MPFontListClient* client)
    : faces(std::move(names)), rows(0), client(client)
{
    SortFaceNames(faces);
    rows = MPFontListRows(int32_t(faces.size()));
    if (faces.empty())
        return;
    SelectFace(startIndex < 0 ? StartFaceIndex(faces, startFace) : startIndex);
}

void MPTextToolFontListModifier::SelectFace(int32_t index)
{
    if (index < 0 || index >= FaceCount())
        return;
    rows.Select(index);
    if (client)
        client->SetFaceName(faces[size_t(index)].c_str());
}

bool MPTextToolFontListModifier::HandlePointer(const MMStageEvent& event, int32_t row)
{
    if (faces.empty())
        return false;
    if (!open) {
        if (!(event.data & kPointerPressed))
            return false;
        open = true;
        if (client) {
            client->PlayOpenSound();
            client->Redraw();
            client->CloakTextBox();
        }
        return true;
    }
    if (event.data & kPointerReleased) {
        if (rows.Release())
            SelectFace(rows.Selected());
        open = false;
        if (client) {
            client->Redraw();
            client->UncloakTextBox();
        }
        return false;
    }
    int32_t hovered = rows.Hovered();
    rows.PointAt(row);
    if (client && rows.Hovered() != hovered)
        client->Redraw();
    return true;
}

bool MPTextToolFontListModifier::ScrollStep()
{
    if (!open || !rows.ScrollStep())
        return false;
    if (client)
        client->Redraw();
    return rows.Scrolling();
}
