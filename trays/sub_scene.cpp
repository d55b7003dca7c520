#include "trays/sub_scene.h"

MMStage* KVXSubScene::Stage()
{
    MMBaseScene* host = creationScene ? creationScene->HostScene() : nullptr;
    return host ? host->Stage() : nullptr;
}

MMEnclosure* KVXSubScene::TopEnclosure()
{
    MMBaseScene* host = creationScene ? creationScene->HostScene() : nullptr;
    return host ? host->TopEnclosure() : nullptr;
}

void KVXSubScene::TakeKeyboardFocus()
{
    if (MMBaseScene* host = creationScene ? creationScene->HostScene() : nullptr)
        host->TakeKeyboardFocus();
}

KVXCanvasVisual* KVXSubScene::GetCreationCanvas() const
{
    return creationScene ? creationScene->CreationCanvas() : nullptr;
}

KVXPlaneUChar* KVXSubScene::GetCanvasBytePlane() const
{
    return creationScene ? creationScene->CanvasBytePlane() : nullptr;
}

KVXPlaneComponentTop* KVXSubScene::GetCanvasComponentPlane() const
{
    return creationScene ? creationScene->CanvasComponentPlane() : nullptr;
}
