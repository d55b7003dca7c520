#include "stamps/stamp_manager.h"

#include "canvas/canvas_visual.h"
#include "canvas/draw_method.h"
#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "engine/stage_cursors.h"
#include "framework/heap.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "media/sound/sound_collection.h"
#include "shell/stage.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/stamp_button.h"
#include "stamps/stamp_drawer_molecule.h"
#include "stamps/stamp_selector.h"

namespace {

const Box kDrawerBox = {10, 50, 110, 400};
const Box kScreenBox = {0, 0, 800, 600};
const int16_t kCatcherLayer = 9999;
const int16_t kFrontLayer = 9995;
const int16_t kDecorLayer = 105;
const int16_t kGenreLayer = 104;
const int16_t kDrawerButtonLayer = 109;
const int16_t kDrawerAnimationLayer = 999;
const int16_t kSelectorLayer = 175;
const int16_t kGenrePriority = 100;
const int16_t kExitDonePriority = 99;
const int16_t kButtonEnd = 2;

int32_t CountKeyRows(MMResourceId tableId, int16_t key)
{
    MMRecordTable table;
    table.Load(tableId, 10, gDefaultHeap);
    int32_t count = table.CountRows(0, 0, key);
    table.Free();
    return count;
}

void LoadPicturePair(MMResourceId tableId, MMPictureID* normal, MMPictureID* pressed, Pair* at)
{
    MMRecordTable table;
    table.Load(tableId, 8, gDefaultHeap);
    if (table.RowCount() > 0) {
        *at = table.PairAt(0, 0);
        *normal = table.LongAt(0, 4);
        *pressed = table.RowCount() > 1 ? table.LongAt(1, 4) : *normal;
    }
    table.Free();
}

}  // namespace

KVXStampManager::KVXStampManager(KVXCreationHost* creation) : KVXBaseStampManager(creation)
{
    playWithStopCommand = true;
    MMStage* stage = Stage();
    if (stage && stage->SoundManager())
        channel = new MMGenericSoundChannel(stage->SoundManager());
    if (auto* app = dynamic_cast<KVXStage*>(stage))
        pictures = app->GetPictureCollection();
    selector = new KVXStampSelector(this, this, {0, 0, 10, 10}, kSelectorLayer);
    genreCount = CountKeyRows(kStampGenresTable, 2);
}

KVXStampManager::~KVXStampManager()
{
    DeleteStampButtons();
    DeleteGenreButtons();
    DeleteDrawerAnimation();
}

void KVXStampManager::Begin()
{
    drawer = new KVXStampDrawerMolecule(this, kDrawerBox);
    drawer->HideAnimation();
    catcher = new MMMouseVisualMolecule(this, static_cast<MMCommand*>(nullptr), kScreenBox,
                                        kCatcherLayer, nullptr);
    catcher->Hide();
    KVXBaseStampManager::Begin();
    if (KVXCanvasVisual* canvas = CanvasVisual())
        canvas->SetDrawMethod(kDrawStatic, 0, 0);
    for (MMResourceId table : {kDrawerFrontTable, kDrawerBadgeTable})
        if (MMPictureMolecule* molecule = PictureFromTable(table, kFrontLayer))
            decor.push_back(molecule);
    BuildDecor();
    drawer->Reset();
    BuildPageButtons();
    genreTitle = new MMPictureVisual;
    genreTitle->SetLayer(kDrawerButtonLayer);
    if (MMEnclosure* enclosure = TopEnclosure())
        enclosure->AddVisual(genreTitle);
    ShowGenreTitle();
    BuildGenreButtons();
    OpenDrawer();
}

void KVXStampManager::End()
{
    KVXBaseStampManager::End();
    delete catcher;
    catcher = nullptr;
    for (MMPictureMolecule* each : decor)
        delete each;
    decor.clear();
    delete previousPage;
    delete nextPage;
    previousPage = nextPage = nullptr;
    if (genreTitle) {
        if (MMEnclosure* enclosure = genreTitle->Enclosure())
            enclosure->RemoveVisual(genreTitle);
        delete genreTitle;
        genreTitle = nullptr;
    }
    DeleteGenreButtons();
    DeleteStampButtons();
    bool running = drawerAnimation && drawerAnimation->IsRunning();
    if (drawer && !link->KeepDrawerOnEnd())
        drawer->Close(running);
    delete drawer;
    drawer = nullptr;
    DeleteDrawerAnimation();
    // An animation's end already queued must find nothing left to do.
    opening = closing = false;
    EndBusy();
    if (channel)
        channel->Stop();
    if (selector && selector->Enclosure())
        selector->Enclosure()->RemoveVisual(selector);
}

MMPictureMolecule* KVXStampManager::PictureFromTable(MMResourceId table, int16_t layer)
{
    Pair at = {0, 0};
    MMPictureID picture = -1;
    if (!MMPlacedPicture(table, 0, at, picture))
        return nullptr;
    return new KVXPictureMolecule(this, picture, at, layer);
}

// Table 1019 names the rows of the painting screen's table whose pictures
// are laid over the drawer, with their layers.
void KVXStampManager::BuildDecor()
{
    MMRecordTable table;
    table.Load(kDrawerDecorTable, 10, gDefaultHeap);
    for (int32_t row = 0; row < table.RowCount(); ++row) {
        MMResourceId placed = MMItemOfRow(734, table.ShortAt(row, 2), 0);
        int16_t layer = table.ShortAt(row, 4);
        if (MMPictureMolecule* molecule = PictureFromTable(placed, layer ? layer : kDecorLayer))
            decor.push_back(molecule);
    }
    table.Free();
}

void KVXStampManager::BuildPageButtons()
{
    MMStage* stage = Stage();
    auto make = [&](int16_t key, void (KVXStampManager::*turn)()) -> MMPictureButtonMolecule* {
        MMPictureID normal = -1;
        MMPictureID pressed = -1;
        Pair at = {0, 0};
        LoadPicturePair(MMItemOfRow(kDrawerControlsTable, key, 0), &normal, &pressed, &at);
        MMPictureID second = pressed;
        MMResourceId other = MMItemOfRow(kDrawerControlsTable, int16_t(key + 1), 0);
        Pair unused = {0, 0};
        MMPictureID otherNormal = -1;
        LoadPicturePair(other, &otherNormal, &second, &unused);
        if (otherNormal != -1)
            second = otherNormal;
        if (normal == -1)
            return nullptr;
        return new MMPictureButtonMolecule(
            this, at, normal, second,
            new MMClassCommand<KVXStampManager>("New Modifier Command", stage, this, turn),
            kDrawerButtonLayer, nullptr);
    };
    previousPage = make(0, &KVXStampManager::PreviousPage);
    nextPage = make(2, &KVXStampManager::NextPage);
}

void KVXStampManager::ShowGenreTitle()
{
    if (!genreTitle)
        return;
    Pair at = {0, 0};
    MMPictureID picture = -1;
    MMPictureReference reference;
    if (MMPlacedPicture(MMItemOfRow(kDrawerControlsTable, 4, genre), 0, at, picture))
        reference.Load(picture);
    genreTitle->Invalidate();
    genreTitle->SetPicture(reference);
    genreTitle->SetPosition(at.x, at.y);
    genreTitle->SetHidden(reference.IsEmpty());
    genreTitle->Invalidate();
    reference.Clear();
}

MMResourceId KVXStampManager::GenreTable(int16_t g) const
{
    return MMItemOfRow(kStampGenresTable, 2, g);
}

int16_t KVXStampManager::PagesOfGenre(int16_t g) const
{
    return int16_t(CountKeyRows(GenreTable(g), 2));
}

void KVXStampManager::DeleteGenreButtons()
{
    for (KVXAnimatedButtonMolecule* each : genreButtons)
        delete each;
    genreButtons.clear();
}

void KVXStampManager::BuildGenreButtons()
{
    MMRecordTable table;
    table.Load(kStampGenresTable, 10, gDefaultHeap);
    int32_t row = table.FindRowByKey(0);
    visibleGenres = row < 0 ? int16_t(0) : table.ShortAt(row, 2);
    genreCountShown = int16_t(table.CountRows(0, 0, 2));
    table.Free();
    genreCount = genreCountShown;
    if (genreCountShown - firstGenre < visibleGenres)
        visibleGenres = int16_t(genreCountShown - firstGenre);
    DeleteGenreButtons();
    MMStage* stage = Stage();
    for (int16_t i = 0; i < visibleGenres; ++i) {
        int16_t g = int16_t(firstGenre + i);
        MMResourceId script = MMItemOfRow(GenreTable(g), 0, 0);
        auto* select = new MMClassCommand1Parameter<KVXStampManager, void (KVXStampManager::*)(int16_t),
                                                    int16_t>("Handle Tool Selection", stage, this,
                                                             &KVXStampManager::SelectGenre, g);
        auto* button = new KVXAnimatedButtonMolecule(this, script, select, kGenreLayer, 0,
                                                     kGenrePriority, 1);
        button->Thread()->SetPriority(kGenrePriority);
        button->MMAnimationMolecule::SetCommand(kButtonEnd,
                           new MMClassCommand<KVXStampManager>("Exit Done Command", stage, this,
                                                               &KVXStampManager::ExitDone,
                                                               kExitDonePriority));
        if (g == genre)
            button->Select(false);
        genreButtons.push_back(button);
    }
    rotation = 0;
    pageCount = PagesOfGenre(genre);
}

void KVXStampManager::RotateGenreSelection()
{
    for (KVXAnimatedButtonMolecule* each : genreButtons)
        each->Stop();
}

void KVXStampManager::ExitDone()
{
    bool animating = false;
    for (KVXAnimatedButtonMolecule* each : genreButtons)
        animating = animating || each->IsRunning();
    MMStage* stage = Stage();
    if (animating && rotation < visibleGenres - 1) {
        MMClassCommand<KVXStampManager>("Rotate Genre Selection", stage, this,
                                        &KVXStampManager::RotateGenreSelection)
            .Post();
        MMClassCommand<KVXStampManager>("Exit Done Command", stage, this, &KVXStampManager::ExitDone,
                                        kExitDonePriority)
            .Post();
        rotation = visibleGenres;
    } else if (!animating && rotation >= visibleGenres - 1) {
        BuildGenreButtons();
    }
}

void KVXStampManager::SelectGenre(int16_t g)
{
    int16_t shown = int16_t(genre - firstGenre);
    if (shown >= 0 && size_t(shown) < genreButtons.size())
        genreButtons[shown]->Reset();
    genre = g;
    int16_t now = int16_t(genre - firstGenre);
    if (now >= 0 && size_t(now) < genreButtons.size())
        genreButtons[now]->Select(false);
    pageCount = PagesOfGenre(genre);
    page = 0;
    CloseAndReopenDrawer();
}

void KVXStampManager::PreviousPage()
{
    if (channel) {
        MMSoundReference sound;
        sound.Load(kPageChangeSound);
        channel->Play(sound, false);
        sound.Clear();
    }
    page = int16_t(page > 0 ? page - 1 : (pageCount > 0 ? pageCount - 1 : 0));
    MMClassCommand<KVXStampManager>("New Modifier Command", Stage(), this,
                                    &KVXStampManager::PageTurned)
        .Post();
}

void KVXStampManager::NextPage()
{
    if (channel) {
        MMSoundReference sound;
        sound.Load(kPageChangeSound);
        channel->Play(sound, false);
        sound.Clear();
    }
    page = int16_t(page + 1 < pageCount ? page + 1 : 0);
    MMClassCommand<KVXStampManager>("New Modifier Command", Stage(), this,
                                    &KVXStampManager::PageTurned)
        .Post();
}

// While the drawer moves its opening builds the buttons of the current page:
// building them now would cut its animation short and build them twice.
void KVXStampManager::PageTurned()
{
    if (opening || closing)
        return;
    BuildStampButtons();
}

void KVXStampManager::DeleteDrawerAnimation()
{
    if (!drawerAnimation)
        return;
    drawerAnimation->Stop();
    delete drawerAnimation;
    drawerAnimation = nullptr;
}

void KVXStampManager::EndBusy()
{
    if (!busy)
        return;
    busy = false;
    if (MMStage* stage = Stage(); stage && stage->Cursors())
        stage->Cursors()->PopBusy();
}

void KVXStampManager::StartDrawerAnimation(MMResourceId script, MMCommand* atEvent)
{
    MMStage* stage = Stage();
    if (!busy && stage && stage->Cursors()) {
        stage->Cursors()->PushBusy();
        busy = true;
    }
    // The catcher holds the pointer while the drawer moves.
    if (catcher)
        catcher->Show();
    drawerOpen = false;
    if (drawer)
        drawer->ClearReady();
    DeleteDrawerAnimation();
    drawerAnimation = new KVXAnimationMolecule(this, script,
                                               MMAnimationResourceUsage::kResourcesWhileAttached);
    drawerAnimation->SetLayerOffset(kDrawerAnimationLayer);
    drawerAnimation->SetCommand(1, atEvent);
    // A script that cannot be played still lets the drawer open.
    drawerAnimation->SetDoneCommand(atEvent->Clone());
    drawerAnimation->Run(1);
}

void KVXStampManager::OpenDrawer()
{
    opening = true;
    StartDrawerAnimation(kDrawerOpenScript,
                         new MMClassCommand<KVXStampManager>("New Modifier Command", Stage(), this,
                                                             &KVXStampManager::DrawerOpened));
}

void KVXStampManager::DrawerOpened()
{
    if (!opening)
        return;
    opening = false;
    BuildStampButtons();
}

void KVXStampManager::CloseAndReopenDrawer()
{
    DeleteStampButtons();
    opening = false;
    closing = true;
    StartDrawerAnimation(kDrawerReopenScript,
                         new MMClassCommand1Parameter<KVXStampManager,
                                                      void (KVXStampManager::*)(int16_t), int16_t>(
                             "New Modifier Command", Stage(), this, &KVXStampManager::DrawerClosed,
                             int16_t(1)));
}

void KVXStampManager::DrawerClosed(int16_t reopen)
{
    if (!closing)
        return;
    closing = false;
    if (reopen) {
        OpenDrawer();
        return;
    }
    drawerOpen = true;
    if (catcher)
        catcher->Hide();
    if (drawer)
        drawer->SetReady();
    EndBusy();
}

void KVXStampManager::DeleteStampButtons()
{
    for (KVXAnimatedStampButtonMolecule* each : stampButtons)
        delete each;
    stampButtons.clear();
}

void KVXStampManager::BuildStampButtons()
{
    if (!drawer)
        return;
    DeleteDrawerAnimation();
    DeleteStampButtons();
    MMResourceId pageTable = MMItemOfRow(GenreTable(genre), 2, page);
    int32_t entries = CountKeyRows(pageTable, 0);
    MMStage* stage = Stage();
    for (int32_t j = 0; j < entries; ++j) {
        MMResourceId entry = MMItemOfRow(pageTable, 0, j);
        auto* table = new MMRecordTable;
        table->Load(entry, 10, gDefaultHeap);
        int32_t scriptRow = table->FindRowByKey(0);
        MMResourceId script = scriptRow < 0 ? MMResourceId(-1) : table->ItemIdAt(scriptRow, 2);
        auto* click = new MMClassCommand1Parameter<KVXStampManager, void (KVXStampManager::*)(int16_t),
                                                   int16_t>("Handle Tool Selection", stage, this,
                                                            &KVXStampManager::StampChosen,
                                                            int16_t(j));
        stampButtons.push_back(new KVXAnimatedStampButtonMolecule(
            this, this, table, script, click, nullptr, kDrawerButtonLayer, 0, 100, 1));
    }
    ShowGenreTitle();
    drawerOpen = true;
    if (catcher)
        catcher->Hide();
    drawer->SetReady();
    EndBusy();
}

void KVXStampManager::OnBackgroundRemoved()
{
    link->StopStampPlay();
}

void KVXStampManager::OnStampsChanged()
{
    link->UpdateStampButtons();
}

void KVXStampManager::OnStampPlaying(KVXStampBase* stamp)
{
    bool idle = link->RadioState() == kRadioIdle;
    if (stamp == midground || (idle && !midground && link->RadioStation() == 0))
        link->SelectStation(stamp->Genre());
    link->AddPlayableStamp();
    if (idle)
        link->LeaveIdleState();
}

void KVXStampManager::OnStampStopped()
{
    link->RemovePlayableStamp();
}

void KVXStampManager::OnRadioRefresh()
{
    link->RefreshRadio();
}
