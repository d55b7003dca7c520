#pragma once
// The two short scenes between the painting screen and the gallery: scene 5
// leads on to the gallery, scene 6 rebuilds the painting screen's look for
// one frame on the way back.
#include "canvas/canvas_scene.h"
#include "shell/base_scene.h"

class KVXBaseStampManager;
class KVXCanvasVisual;
class KVXStampHost;

class KVXTransitionToUTHScene : public KVXBaseScene {
public:
    explicit KVXTransitionToUTHScene(MMStage* stage) : KVXBaseScene(stage) {}
    // On to the gallery with the reveal to the left; without a gallery,
    // back to painting.
    void Begin() override;
};

class KVXTransitionFromUTHScene : public MMScene, public KVXCanvasScene {
public:
    explicit KVXTransitionFromUTHScene(MMStage* stage) : MMScene(stage) {}
    ~KVXTransitionFromUTHScene() override;

    void Begin() override;
    void DeleteMolecules() override;
    // The painting screen takes over: the stamps held for the look go.
    void ReleaseStamps();

    KVXPlaneUChar* TexturePlane() override { return nullptr; }
    void DeleteSoundChannel() override {}
    MMScrollBarVisual* MakeZoomScrollBarVisual(MMResourceId, MMResourceId, MMResourceId,
                                              const Box&) override
    {
        return nullptr;
    }
    KVXSlateRecording* MakeSlateRecording() override;

    KVXCanvasVisual* CanvasVisual() const { return canvas; }
    KVXBaseStampManager* StampManager() const { return stampManager; }

private:
    // The page's stamps, shown for the one frame; the host lends them this
    // scene (no canvas: nothing is glued here).
    KVXStampHost* stampHost = nullptr;
    KVXBaseStampManager* stampManager = nullptr;
    KVXCanvasVisual* canvas = nullptr;
};
