#include "trays/tool_trays.h"

#include "trays/chalk_tray.h"
#include "trays/manager_tool.h"

KVXToolCollection* MakeToolCollection(int32_t type, uint32_t* colorCell,
                                      KVXCreationHost* creationScene,
                                      KVXPlaneComponentTop* previewPlane,
                                      MMBitmapWithPixels* previewBitmapA,
                                      MMBitmapWithPixels* previewBitmapB)
{
    switch (type) {
    case kChalkCollection:
        return new KVXChalkToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                          previewBitmapB);
    default:
        return nullptr;
    }
}
