#include "shell/closing_credits.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/mouse_interpreter.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "media/bitmap.h"
#include "media/bitmap_picture_collection.h"
#include "media/sound/logical_sound_channel.h"
#include "shell/app.h"
#include "shell/creation_scene.h"
#include "shell/stage.h"
#include "shell/widgets/alpha_visuals.h"
#include "shell/widgets/quit_button.h"
#include "text/smart_font.h"

namespace {

const int16_t kVeilLayer = 11000;
const int16_t kQuitButtonLayer = 11001;
const int16_t kTextLayer = 11005;
const uint8_t kVeilAlpha = 64;
const MMResourceId kOpeningSound = 0x40000021;
const MMResourceId kCancelSound = 0x40000022;
const int32_t kPoll = 100;
const int16_t kTextTable = 0;
const int16_t kTextTableExtra = 107;
const int16_t kFontKey = 90;
const int32_t kTextTop = 100;
const int32_t kStageMiddle = 400;

// Where the credits keep their veil when the stage has no collection of its
// own (a bare stage).
MMBitmapPictureCollection* VeilCollection(MMStage* stage)
{
    if (auto* own = dynamic_cast<KVXStage*>(stage))
        if (own->GetPictureCollection())
            return own->GetPictureCollection();
    static MMBitmapPictureCollection* spare = new MMBitmapPictureCollection(4, 9);
    return spare;
}

void BindSolid(MMBitmapPictureCollection* pictures, MMPictureReference& out, const Box& box,
               uint8_t value, const MMColorTable* table)
{
    std::unique_ptr<MMBitmapWithPixels> bitmap(
        MMBitmap::CreateWithPixels(box, kPixelIndexed, nullptr));
    if (!bitmap)
        return;
    for (int32_t y = box.top; y < box.bottom; ++y)
        std::memset(bitmap->PixelAddress(box.left, y), value, size_t(box.Width()));
    int16_t slot = pictures->FreeSlot();
    if (slot >= 0)
        pictures->BindPicture(out, slot, *bitmap, table);
}

}  // namespace

int32_t CreditsPageCount()
{
    MMRecordTable pages;
    pages.LoadTenByteRows(kCreditsPagesTable, 1);
    return std::max(1, pages.CountRows(0, 0, 0));
}

// The page builder.

CreditsPageBuilder::CreditsPageBuilder(MMEnclosure* enclosure) : enclosure(enclosure)
{
    MMRecordTable texts;
    texts.LoadTenByteRows(kTextTable, kTextTableExtra);
    int32_t row = texts.FindRowByKey(kFontKey);
    if (row >= 0)
        lstrcpynA(fontName, texts.StringAt(row, 2), sizeof fontName);
}

CreditsPageBuilder::~CreditsPageBuilder()
{
    for (KVXAlphaTextVisual* visual : built) {
        if (enclosure)
            enclosure->RemoveVisual(visual);
        delete visual;
    }
    for (MPSmartFont* font : fonts)
        delete font;
}

void CreditsPageBuilder::Start(int32_t newPage)
{
    page = newPage;
    nextRow = 0;
    height = kTextTop;
    building = newPage >= 0 && newPage <= kCreditsLastPage - kCreditsFirstPage;
    rowCount = 0;
    if (building) {
        MMRecordTable table;
        table.LoadTenByteRows(kCreditsFirstPage + newPage, 2);
        rowCount = table.RowCount();
    }
}

bool CreditsPageBuilder::Step()
{
    if (!building)
        return false;
    MMRecordTable table;
    table.LoadTenByteRows(kCreditsFirstPage + page, 2);
    if (nextRow >= table.RowCount()) {
        building = false;
        return false;
    }
    int32_t row = nextRow++;
    if (table.ShortAt(row, 0) != 0) {
        MMRecordTable space;
        space.Load(table.LongAt(row, 2), 2, gDefaultHeap);
        if (space.RowCount() > 0)
            height += space.ShortAt(0, 0);
        return true;
    }
    MMRecordTable line;
    line.Load(table.LongAt(row, 2), 12, gDefaultHeap);
    if (line.RowCount() < 1)
        return true;
    const char* text = line.StringAt(0, 0);
    auto* font = new (gDefaultHeap) MPSmartFont(fontName, line.ShortAt(0, 10), 400, false, false);
    auto* visual = new (gDefaultHeap)
        KVXAlphaTextVisual(kTextTop, kTextTop, text, int32_t(std::strlen(text)));
    if (!visual || !font) {
        delete visual;
        delete font;
        return true;
    }
    fonts.push_back(font);
    visual->SetFont(font);
    visual->SetColor(MMColor{-1, uint8_t(line.ShortAt(0, 8)), uint8_t(line.ShortAt(0, 6)),
                             uint8_t(line.ShortAt(0, 4)), 0});
    visual->SetLevel(255);
    visual->SetLayer(kTextLayer);
    visual->SetHidden(true);
    if (enclosure)
        enclosure->AddVisual(visual);
    Box bounds = visual->GetBounds();
    visual->SetPosition(kStageMiddle - bounds.Width() / 2, height);
    height += bounds.Height();
    built.push_back(visual);
    return true;
}

void CreditsPageBuilder::Finish()
{
    while (Step()) {
    }
}

std::vector<KVXAlphaTextVisual*> CreditsPageBuilder::Take()
{
    std::vector<KVXAlphaTextVisual*> taken;
    taken.swap(built);
    return taken;
}

// The thread that times the pages.

CreditsThread::CreditsThread(ClosingCreditsMolecule* molecule, MMEnclosure* enclosure)
    : MMLightweightThread("Credits Thread", molecule->Stage()),
      molecule(molecule),
      builder(enclosure)
{
    SetPriority(29990);
    if (MMSoundManager* manager = molecule->Stage()->SoundManager())
        channel = new (gDefaultHeap) MMGenericSoundChannel(manager);
    pageCount = CreditsPageCount();
    MMRecordTable table;
    table.Load(kCreditsMusicTable, 4, gDefaultHeap);
    music.Load(table.RowCount() > 0 ? table.LongAt(0, 0) : MM_NO_RESOURCE);
    musicLength = std::max(0, music.Duration());
    timePerPage = musicLength / pageCount;
}

CreditsThread::~CreditsThread()
{
    if (channel) {
        channel->Stop();
        delete channel;
    }
}

int32_t CreditsThread::Now() { return Stage()->StageTime(); }

void CreditsThread::Play(MMResourceId sound)
{
    if (!channel)
        return;
    channel->Stop();
    MMSoundReference reference;
    reference.Load(sound);
    channel->Play(reference, false);
}

void CreditsThread::Cancel()
{
    state = kCreditsCancel;
    wakeTime = -1;
    Activate();
}

void CreditsThread::ShowNextPage()
{
    builder.Finish();
    ++shownPage;
    molecule->ShowPage(builder.Take());
    pageStart = Now();
    pageEnd = pageStart + timePerPage;
    if (shownPage + 1 < pageCount)
        builder.Start(shownPage + 1);
}

bool CreditsThread::Run()
{
    if (MMLightweightThread::State() == kMMThreadTerminating || state == kCreditsEnded)
        return false;
    int32_t now = Now();
    if (wakeTime >= 0 && now < wakeTime) {
        if (builder.IsBuilding() && builder.Step())
            Wait(0);
        else
            WaitUntil(wakeTime);
        return true;
    }
    switch (state) {
    case kCreditsOpening: {
        MMSoundReference opening;
        opening.Load(kOpeningSound);
        Play(kOpeningSound);
        wakeTime = now + std::max(0, opening.Duration());
        builder.Start(0);
        state = kCreditsFirstPageState;
        break;
    }
    case kCreditsFirstPageState:
        if (channel)
            channel->Play(music, false);
        musicStart = now;
        ShowNextPage();
        wakeTime = pageEnd;
        state = kCreditsPages;
        break;
    case kCreditsPages:
        if (builder.IsBuilding()) {
            builder.Finish();
        } else if (shownPage + 1 < pageCount) {
            ShowNextPage();
            wakeTime = pageEnd;
        } else if (now - musicStart >= musicLength) {
            state = kCreditsEnded;
            molecule->ClosingCreditsQuit();
            return false;
        } else {
            wakeTime = now + std::max(kPoll, musicLength - (now - musicStart));
        }
        break;
    case kCreditsCancel: {
        if (channel)
            channel->Stop();
        MMSoundReference cancel;
        cancel.Load(kCancelSound);
        Play(kCancelSound);
        wakeTime = now + std::max(0, cancel.Duration());
        state = kCreditsCancelSound;
        break;
    }
    case kCreditsCancelSound: {
        state = kCreditsEnded;
        MMCommand* kill = new (gDefaultHeap) MMClassCommand<ClosingCreditsMolecule>(
            "kill credits cmd", Stage(), molecule, &ClosingCreditsMolecule::KillCredits);
        if (kill) {
            kill->Post();
            delete kill;
        }
        return false;
    }
    default:
        return false;
    }
    Wait(0);
    return true;
}

// The molecule.

ClosingCreditsMolecule::ClosingCreditsMolecule(KVXQuitButton* quitButton, MMCommand* endCommand)
    : MMMolecule(quitButton->Scene()), quitButton(quitButton), endCommand(endCommand)
{
    MMStage* stage = Stage();
    creationScene = dynamic_cast<CreationScene*>(quitButton->Scene());
    Box box = stage->StageBox();
    box = {0, 0, box.Width(), box.Height()};
    MMBitmapPictureCollection* pictures = VeilCollection(stage);
    MMColorTable ink;  // all zeros
    ink.entries[0] = {0x2A, 0x1C, 0x24, 0};
    BindSolid(pictures, veilAlpha, box, kVeilAlpha, &ink);
    BindSolid(pictures, veilColor, box, 0, &ink);
    veil = new (gDefaultHeap) KVXAlphaVisual(veilAlpha, veilColor, 0, 0, kVeilLayer);
    MMEnclosure* top = Enclosure();
    if (veil) {
        veilInterpreter = new (gDefaultHeap) MMHotSpotInterpreter(
            stage, veil,
            new (gDefaultHeap) MMClassCommand<ClosingCreditsMolecule>(
                "really kill app cmd", stage, this, &ClosingCreditsMolecule::ClosingCreditsQuit),
            nullptr);
        veil->SetMouseInterpreter(veilInterpreter);
        if (top)
            top->AddVisual(veil);
    }
    quitButton->SetSecondCommand(new (gDefaultHeap) MMClassCommand<ClosingCreditsMolecule>(
        "really kill app cmd", stage, this, &ClosingCreditsMolecule::CancelCredits));
    savedLayerOffset = quitButton->LayerOffset();
    quitButton->SetInactive(true);
    quitButton->SetLayerOffset(kQuitButtonLayer);
    thread = new (gDefaultHeap) CreditsThread(this, top);
    if (thread)
        thread->Activate();
}

ClosingCreditsMolecule::~ClosingCreditsMolecule()
{
    if (thread) {
        thread->Terminate();
        delete thread;
    }
    RemoveShown();
    if (veil) {
        if (MMEnclosure* top = veil->Enclosure())
            top->RemoveVisual(veil);
        delete veil;
    }
    delete veilInterpreter;
    delete endCommand;
}

void ClosingCreditsMolecule::RemoveShown()
{
    for (KVXAlphaTextVisual* visual : shown) {
        if (MMEnclosure* top = visual->Enclosure())
            top->RemoveVisual(visual);
        delete visual;
    }
    shown.clear();
}

void ClosingCreditsMolecule::ShowPage(std::vector<KVXAlphaTextVisual*> visuals)
{
    RemoveShown();
    shown = std::move(visuals);
    for (KVXAlphaTextVisual* visual : shown)
        visual->SetHidden(false);
}

void ClosingCreditsMolecule::ClosingCreditsQuit()
{
    if (quitRequested)
        return;
    quitRequested = true;
    if (gApp) {
        gApp->SaveCanvasOnLeave();
        gApp->Quit();
    }
}

void ClosingCreditsMolecule::CancelCredits()
{
    quitButton->SetInactive(false);
    if (thread)
        thread->Cancel();
    if (creationScene)
        creationScene->SetPageFlag();
}

void ClosingCreditsMolecule::KillCredits()
{
    quitButton->SetLayerOffset(savedLayerOffset);
    quitButton->SetSecondCommand(nullptr);
    if (endCommand)
        endCommand->Post();
    delete this;
}
