#pragma once
// The creation host of a stamp manager that lives outside the painting
// screen (the pictures of pages, printing, the slideshow): a scene for its
// stage and enclosure and, when stamps are glued, a canvas.
#include "trays/sub_scene.h"

class KVXStampHost : public KVXCreationHost {
public:
    explicit KVXStampHost(MMBaseScene* scene, KVXCanvasVisual* canvas = nullptr)
        : scene(scene), canvas(canvas)
    {
    }

    MMBaseScene* HostScene() override { return scene; }
    KVXCanvasVisual* CreationCanvas() override { return canvas; }
    KVXPlaneComponentTop* CanvasComponentPlane() override { return nullptr; }
    KVXPlaneUChar* CanvasBytePlane() override { return nullptr; }
    KVXPaletteTarget* ColorPickerOwner() override { return nullptr; }
    MMCursor* AppCursor(int32_t n) override { return nullptr; }
    UURegistryKey* SettingsKey() override { return nullptr; }
    KVXBrushScene* BrushScene() override { return nullptr; }

private:
    MMBaseScene* scene;
    KVXCanvasVisual* canvas;
};
