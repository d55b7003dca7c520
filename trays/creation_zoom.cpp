#include "trays/creation_zoom.h"

#include "canvas/canvas_visual.h"
#include "shell/creation_scene.h"
#include "shell/widgets/toggle_button.h"

namespace {

CreationScene* PaintingScreen(KVXSubScene* scene)
{
    KVXCreationHost* host = scene != nullptr ? scene->GetCreationScene() : nullptr;
    return host != nullptr ? dynamic_cast<CreationScene*>(host->HostScene()) : nullptr;
}

}  // namespace

bool CreationZoomed(KVXSubScene* scene)
{
    CreationScene* screen = PaintingScreen(scene);
    return screen != nullptr && screen->CanvasVisual() != nullptr &&
           screen->CanvasVisual()->IsZoomed();
}

void ToggleCreationZoom(KVXSubScene* scene)
{
    if (CreationScene* screen = PaintingScreen(scene))
        screen->handleZoomCmd();
}

void HideCreationZoom(KVXSubScene* scene)
{
    CreationScene* screen = PaintingScreen(scene);
    if (screen == nullptr)
        return;
    if (CreationZoomed(scene)) {
        screen->handleZoomCmd();
        if (screen->ZoomToggle())
            screen->ZoomToggle()->SetOff();
    }
    screen->HideZoomButton();
}

void ShowCreationZoom(KVXSubScene* scene)
{
    if (CreationScene* screen = PaintingScreen(scene))
        screen->ShowZoomButton();
}

bool CreationZoomShown(KVXSubScene* scene)
{
    CreationScene* screen = PaintingScreen(scene);
    return screen != nullptr && screen->IsZoomButtonShown();
}
