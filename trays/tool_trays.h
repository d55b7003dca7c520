#pragma once
// The tray of each tool family, made by the tool manager once per visit of
// the painting screen.
#include <cstdint>

class KVXCreationHost;
class KVXPlaneComponentTop;
class KVXToolCollection;
class MMBitmapWithPixels;

// The tray of a ToolCollectionType; null for a family without one.
KVXToolCollection* MakeToolCollection(int32_t type, uint32_t* colorCell,
                                      KVXCreationHost* creationScene,
                                      KVXPlaneComponentTop* previewPlane,
                                      MMBitmapWithPixels* previewBitmapA,
                                      MMBitmapWithPixels* previewBitmapB);
