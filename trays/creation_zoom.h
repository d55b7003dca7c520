#pragma once
// The painting screen's zoom as the trays and the tool manager use it;
// nothing happens outside the painting screen.
class KVXSubScene;

// The zoom button hidden, after unzooming the canvas.
void HideCreationZoom(KVXSubScene* scene);
void ShowCreationZoom(KVXSubScene* scene);
bool CreationZoomShown(KVXSubScene* scene);
bool CreationZoomed(KVXSubScene* scene);
// The zoom button's command: zooms in when unzoomed, out when zoomed.
void ToggleCreationZoom(KVXSubScene* scene);
