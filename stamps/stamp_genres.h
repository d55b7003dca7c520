#pragma once
// The genre of a page's stamps (the page's music choice is genre + 1) and
// the rule that keeps at most 15 characters and props on a page.
#include <cstdint>

// 1 + the midground's genre when there is a midground; otherwise the genre
// most of the other stamps belong to, + 1. The current genre (1-based, as the
// page stores it) keeps a tie; among the rest the lowest genre wins. Genres
// outside 0 to genreCount - 1 are not counted; 0 when nothing counts and the
// current genre is 0.
int16_t MainStampGenre(int16_t current, int32_t genreCount, const int16_t* genres, int32_t n,
                       const int16_t* midgroundGenre);

// The kind of a drawer stamp from its table: layer code 0, 1 and 3 are the
// background, midground and foreground; any other code a character when the
// kind value is 3, else a prop.
int32_t StampKindFromTable(int16_t layerCode, int32_t kindValue);

// Walks the stamps of one drawer entry. Each character or prop is measured
// against the list as it is at that moment, so a grouped entry cannot push
// the list past 15; once one stamp is refused, the rest of the entry is too.
class KVXPlacementGate {
public:
    bool Allows(int32_t kind, int32_t listLength);
    bool Refused() const { return refused; }

private:
    bool refused = false;
};
