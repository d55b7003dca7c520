#include "shell/intro_scene.h"

#include "engine/animation_molecule.h"
#include "engine/molecule.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "engine/stage_window.h"
#include "media/visual.h"
#include "shell/app.h"

IntroScene::~IntroScene() { delete owned; }

void IntroScene::Begin()
{
    if (stage_->Control())
        stage_->Control()->FlushInput();
    ShowCursor(FALSE);
    Box cover = stage_->StageBox();
    if (stage_->Window())
        cover = stage_->Window()->ClientBox();
    cover.Offset({-stage_->StageBox().left, -stage_->StageBox().top});
    MMColor black = {-1, 0, 0, 0, 0};
    new MMVisualMolecule(this, new MMSolidBoxVisual(cover, black, 1));
    GoToCreation();
}

void IntroScene::GoToCreation()
{
    if (introAnimation && introAnimation->IsRunning())
        introAnimation->Stop();
    if (gApp)
        gApp->ChangeScene(stage_, kSceneCreation, gApp->GetTransition(kTransitionBoxOut));
}

bool IntroScene::HandleKey(uint32_t keyData)
{
    GoToCreation();
    return KVXBaseScene::HandleKey(keyData);
}

void IntroScene::DeleteMolecules()
{
    ShowCursor(TRUE);
    delete owned;
    owned = nullptr;
    if (stage_->Control())
        stage_->Control()->FlushInput();
    KVXBaseScene::DeleteMolecules();
}
