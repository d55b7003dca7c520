#pragma once
// What the slate tray asks of the painting screen: the canvas unzoomed and
// the zoom button away while the slate is open, and the play buttons kept
// in step with the recording. Nothing happens outside the painting screen.
class KVXCanvasVisual;
class KVXCreationHost;

void SlateScreenUnzoom(KVXCreationHost* host, KVXCanvasVisual* canvas);
void SlateScreenShowZoomButton(KVXCreationHost* host);
void SlateScreenUpdatePlayButtons(KVXCreationHost* host);
