#include "text/screen_zoom.h"

#include "canvas/canvas_visual.h"
#include "shell/creation_scene.h"
#include "shell/widgets/toggle_button.h"

namespace {

CreationScene* PaintingScreen(KVXCreationHost* host)
{
    return host ? dynamic_cast<CreationScene*>(host->HostScene()) : nullptr;
}

}  // namespace

void ZoomOutAndHideZoomButton(KVXCreationHost* host)
{
    CreationScene* screen = PaintingScreen(host);
    if (!screen)
        return;
    KVXCanvasVisual* canvas = screen->CanvasVisual();
    if (canvas && canvas->IsZoomed()) {
        screen->handleZoomCmd();
        if (screen->ZoomToggle())
            screen->ZoomToggle()->SetOff();
    }
    screen->HideZoomButton();
}

void ShowZoomButtonAgain(KVXCreationHost* host)
{
    if (CreationScene* screen = PaintingScreen(host))
        screen->ShowZoomButton();
}
