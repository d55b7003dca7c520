#include "selection/rope_import.h"

#include "media/bitmap.h"
#include "media/surface.h"
#include "selection/rope_interpreters.h"
#include "tools/tool_base.h"
#include "trays/manager_tool.h"

bool TakePictureAsRopeSelection(KVXManagerTool* manager, MMSurface* surface)
{
    MMBitmap pixels;
    if (manager == nullptr || surface == nullptr || !surface->GetBitmap(pixels) ||
        pixels.bitsPerPixel != 32)
        return false;
    if (manager->CurrentType() != kRopeCollection)
        manager->SelectCollection(kRopeCollection);
    KVXToolBase* tool = manager->CurrentTool();
    auto* rope = tool != nullptr ? dynamic_cast<KVXBaseRopeToolInterpreter*>(tool->Interpreter())
                                 : nullptr;
    return rope != nullptr && rope->TakeSurfaceAsSelection(pixels);
}
