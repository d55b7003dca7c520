#include "trays/tool_trays.h"

#include "selection/magic_slate_tool_collection.h"
#include "text/text_tray.h"
#include "trays/chalk_tray.h"
#include "trays/crayon_tray.h"
#include "trays/eraser_tray.h"
#include "trays/image_trays.h"
#include "trays/manager_tool.h"
#include "trays/marker_tray.h"
#include "trays/paint_brush_tray.h"
#include "trays/paint_bucket_tray.h"
#include "trays/pencil_tray.h"
#include "trays/rope_tray.h"
#include "trays/shape_tray.h"
#include "trays/spray_tray.h"

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
    case kImageSprayCollection:
        return new KVXImageSprayToolCollection(colorCell, creationScene, previewPlane,
                                               previewBitmapA, previewBitmapB);
    case kImageTubeCollection:
        return new KVXImageTubeToolCollection(colorCell, creationScene, previewPlane,
                                              previewBitmapA, previewBitmapB);
    case kPaintBucketCollection:
        return new KVXPaintBucketToolCollection(colorCell, creationScene, previewPlane,
                                                previewBitmapA, previewBitmapB);
    case kRopeCollection:
        return new KVXRopeToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                         previewBitmapB);
    case kShapeCollection:
        return new KVXShapeToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                          previewBitmapB);
    case kPencilCollection:
        return new KVXPencilToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                           previewBitmapB);
    case kCrayonCollection:
        return new KVXCrayonToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                           previewBitmapB);
    case kMarkerCollection:
        return new KVXMarkerToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                           previewBitmapB);
    case kEraserCollection:
        return new KVXEraserToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                           previewBitmapB);
    case kPaintBrushCollection:
        return new KVXPaintBrushToolCollection(colorCell, creationScene, previewPlane,
                                               previewBitmapA, previewBitmapB);
    case kSprayCollection:
        return new KVXSprayToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                          previewBitmapB);
    case kTextCollection:
        return new KVXTextToolCollection(colorCell, creationScene, previewPlane, previewBitmapA,
                                         previewBitmapB);
    case kMagicSlateCollection:
        return new KVXMagicSlateToolCollection(colorCell, creationScene, previewPlane,
                                               previewBitmapA, previewBitmapB);
    default:
        return nullptr;
    }
}
