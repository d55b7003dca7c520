#pragma once
// The stamp manager as the stamp buttons of the drawer see it.
#include <cstdint>

class MMRecordTable;

class KVXBaseStampManager {
public:
    virtual ~KVXBaseStampManager() = default;

    // The carrying sound, looped on the manager's channel.
    virtual void StartDragSound() = 0;
    // Stops the carrying sound and plays the drop sound.
    virtual void EndDragSound() = 0;
    // Places every stamp that a drawer entry lists, centred at the point.
    virtual bool PlaceStampsFromTable(MMRecordTable* entryTable, int32_t x, int32_t y) = 0;
};
