#pragma once
// The painting screen's zoom as the text tray needs it: the real text box
// window cannot follow a zoomed canvas, so the canvas is never zoomed while
// the tray is open.
class KVXCreationHost;

// Zooms out as the screen's zoom button would, then hides that button.
// Nothing for a host that is not the painting screen.
void ZoomOutAndHideZoomButton(KVXCreationHost* host);
void ShowZoomButtonAgain(KVXCreationHost* host);
