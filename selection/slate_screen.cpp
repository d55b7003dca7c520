#include "selection/slate_screen.h"

#include "canvas/canvas_visual.h"
#include "shell/creation_scene.h"

namespace {
CreationScene* PaintingScreen(KVXCreationHost* host)
{
    return host != nullptr ? dynamic_cast<CreationScene*>(host->HostScene()) : nullptr;
}
}  // namespace

void SlateScreenUnzoom(KVXCreationHost* host, KVXCanvasVisual* canvas)
{
    CreationScene* screen = PaintingScreen(host);
    if (canvas != nullptr && canvas->IsZoomed()) {
        if (screen != nullptr)
            screen->handleZoomCmd();
        else
            canvas->SetZoom(false);
    }
    if (screen != nullptr)
        screen->HideZoomButton();
}

void SlateScreenShowZoomButton(KVXCreationHost* host)
{
    if (CreationScene* screen = PaintingScreen(host))
        screen->ShowZoomButton();
}

void SlateScreenUpdatePlayButtons(KVXCreationHost* host)
{
    if (CreationScene* screen = PaintingScreen(host))
        screen->UpdatePlayButtons();
}
