#pragma once
// What a stamp button of the drawer asks of the stamp manager: the sounds of
// its drag and the placing of its entry's stamps where it is dropped.
#include <cstdint>

class MMRecordTable;

class KVXStampDropTarget {
public:
    virtual ~KVXStampDropTarget() = default;

    // The carrying sound, looped on the manager's channel.
    virtual void StartDragSound() = 0;
    // Stops the carrying sound and plays the drop sound.
    virtual void EndDragSound() = 0;
    // Places every stamp that a drawer entry lists, centred at the point.
    virtual bool PlaceStampsFromTable(MMRecordTable* entryTable, int32_t x, int32_t y) = 0;
};
