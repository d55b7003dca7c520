#include "brushes/path_generator.h"
#include "brushes/single_brushes.h"
#include "brushes/timed_generators.h"
#include "tools/tool_variants.h"

void KVXMetaballTool::MakeBrush()
{
    BuildWriteAllBrush();
    auto* metaball = new (gDefaultHeap)
        KVXBrushMetaball(MetaballRadius(pressures.diameterMin), MetaballRadius(pressures.diameterMax),
                         colour, GetCreationCanvas(), GetCanvasComponentPlane());
    const double path[4] = {pressures.spacingMin / 255.0, pressures.spacingMax / 255.0,
                            double(pressures.diameterMin), double(pressures.diameterMax)};
    auto* generator = new (gDefaultHeap) IteratingPathGenerator;
    generator->SetParameters(path);
    metaball->SetPathGenerator(generator);
    SetBrush(metaball);
}

void KVXMetaballTool::SetSizeType(int32_t type)
{
    if (type == sizeType)
        return;
    // The eraser end keeps the row of the size the tool was built with.
    SavePressureSettings();
    sizeType = type;
    LoadTableDefaults();
    LoadPressureSettings();
    if (auto* metaball = dynamic_cast<KVXBrushMetaball*>(brush)) {
        MakeGenerator();
        metaball->radiusMin = MetaballRadius(pressures.diameterMin);
        metaball->radiusMax = MetaballRadius(pressures.diameterMax);
    }
    SetSlider1(slider1);
    SetSlider2(slider2);
}
