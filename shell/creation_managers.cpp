// The painting screen's two managers, made once and kept for the screen's
// life: the next visit opens the tray and the colour chosen last, and the
// stamps come and go with the page.
#include "shell/creation_scene.h"
#include "shell/creation_stamp_link.h"
#include "stamps/stamp_manager.h"
#include "trays/manager_tool.h"

void CreationScene::MakeManagers()
{
    if (!toolManager)
        toolManager = new KVXManagerTool(this);
    if (!stampLink)
        stampLink = new CreationStampLink(this);
    if (!stampManager) {
        stampManager = new KVXStampManager(this);
        stampManager->SetSceneLink(stampLink);
    }
}

void CreationScene::DeleteManagers()
{
    delete toolManager;
    toolManager = nullptr;
    if (stampManager)
        stampManager->SetSceneLink(nullptr);
    delete stampManager;
    stampManager = nullptr;
    delete stampLink;
    stampLink = nullptr;
}
