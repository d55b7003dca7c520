#pragma once
// The closing credits: pages of text over a darkened stage while music
// plays, then the program quits. A click on the darkened stage quits at
// once; the quit button pressed again cancels them.
#include <cstdint>
#include <vector>

#include "engine/engine_thread.h"
#include "engine/molecule.h"
#include "engine/picture_collection.h"
#include "media/sound/sound_collection.h"

class ClosingCreditsMolecule;
class CreationScene;
class KVXAlphaTextVisual;
class KVXAlphaVisual;
class KVXQuitButton;
class MMGenericSoundChannel;
class MMHotSpotInterpreter;
class MPSmartFont;

const int16_t kCreditsPagesTable = 310;
const int16_t kCreditsMusicTable = 311;
const int16_t kCreditsFirstPage = 303;
const int16_t kCreditsLastPage = 309;

// The number of pages that table 310 lists; one when it lists none.
int32_t CreditsPageCount();

// Builds the text visuals of one page, one visual a step.
class CreditsPageBuilder {
public:
    explicit CreditsPageBuilder(MMEnclosure* enclosure);
    ~CreditsPageBuilder();

    void Start(int32_t page);
    // One row; false once the page is built.
    bool Step();
    void Finish();
    bool IsBuilding() const { return building; }
    int32_t Page() const { return page; }
    // Hands over the visuals built (hidden, in the enclosure).
    std::vector<KVXAlphaTextVisual*> Take();

private:
    bool building = false;
    int32_t page = -1;
    int32_t rowCount = 0;
    int32_t nextRow = 0;
    int32_t height = 0;
    char fontName[32] = "";
    MMEnclosure* enclosure;
    std::vector<KVXAlphaTextVisual*> built;
    std::vector<MPSmartFont*> fonts;
    friend class ClosingCreditsMolecule;
};

enum CreditsState : int32_t {
    kCreditsOpening = 0,
    kCreditsFirstPageState = 1,
    kCreditsPages = 2,
    kCreditsCancel = 3,
    kCreditsCancelSound = 4,
    kCreditsEnded = 5,
};

class CreditsThread : public MMLightweightThread {
public:
    CreditsThread(ClosingCreditsMolecule* molecule, MMEnclosure* enclosure);
    ~CreditsThread() override;
    bool Run() override;
    // Cancel: state 3 at once.
    void Cancel();

    int32_t CreditsState() const { return state; }
    int32_t PageCount() const { return pageCount; }
    int32_t MusicLength() const { return musicLength; }
    int32_t TimePerPage() const { return timePerPage; }
    int32_t ShownPage() const { return shownPage; }
    MMGenericSoundChannel* Channel() const { return channel; }
    CreditsPageBuilder& Builder() { return builder; }

private:
    int32_t Now();
    void Play(MMResourceId sound);
    void ShowNextPage();

    ClosingCreditsMolecule* molecule;
    CreditsPageBuilder builder;
    MMGenericSoundChannel* channel = nullptr;
    MMSoundReference music;
    int32_t pageCount = 1;
    int32_t musicLength = 0;
    int32_t timePerPage = 0;
    int32_t pageStart = 0;
    int32_t pageEnd = 0;
    int32_t musicStart = 0;
    int32_t shownPage = -1;
    int32_t wakeTime = -1;
    int32_t state = kCreditsOpening;
};

class ClosingCreditsMolecule : public MMMolecule {
public:
    // The end command runs when the credits are cancelled (taken over).
    ClosingCreditsMolecule(KVXQuitButton* quitButton, MMCommand* endCommand);
    ~ClosingCreditsMolecule() override;

    // "really kill app cmd" of the veil: the leave step, then quit.
    void ClosingCreditsQuit();
    // The quit button's second command.
    void CancelCredits();
    // "kill credits cmd": back to the screen.
    void KillCredits();

    // The page shown: its visuals replace the last page's.
    void ShowPage(std::vector<KVXAlphaTextVisual*> visuals);
    const std::vector<KVXAlphaTextVisual*>& ShownVisuals() const { return shown; }
    CreditsThread* Thread() const { return thread; }
    KVXAlphaVisual* Veil() const { return veil; }
    bool QuitRequested() const { return quitRequested; }

private:
    void RemoveShown();

    KVXQuitButton* quitButton;
    KVXAlphaVisual* veil = nullptr;
    MMHotSpotInterpreter* veilInterpreter = nullptr;
    MMCommand* endCommand;
    MMPictureReference veilColor;
    MMPictureReference veilAlpha;
    int16_t savedLayerOffset = 0;
    CreditsThread* thread = nullptr;
    CreationScene* creationScene = nullptr;
    std::vector<KVXAlphaTextVisual*> shown;
    bool quitRequested = false;
};
