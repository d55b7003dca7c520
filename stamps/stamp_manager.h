#pragma once
// The stamp manager of the painting screen: the base manager plus the drawer
// of stamp mode (its genre buttons, the stamp buttons of the open page, the
// page buttons and the genre title), the sounds and the link to the screen's
// radio. The painting screen creates one for its life, hands it its canvas
// and its link (KVXStampSceneLink), and calls Begin and End as stamp mode
// is entered and left; the stamps stay in between.
#include <cstdint>
#include <vector>

#include "stamps/base_stamp_manager.h"

class KVXAnimatedButtonMolecule;
class KVXAnimatedStampButtonMolecule;
class KVXAnimationMolecule;
class KVXStampDrawerMolecule;
class MMMouseVisualMolecule;
class MMPictureButtonMolecule;
class MMPictureMolecule;
class MMPictureVisual;

// Tables of the drawer: the genres, the page buttons and titles, the decor.
enum : MMResourceId {
    kStampGenresTable = 996,
    kDrawerControlsTable = 1018,
    kDrawerDecorTable = 1019,
    kDrawerFrontTable = 1020,
    kDrawerBadgeTable = 1023,
    kDrawerOpenScript = 441,
    kDrawerReopenScript = 442,
    kPageChangeSound = 148,
};

class KVXStampManager : public KVXBaseStampManager {
public:
    explicit KVXStampManager(KVXCreationHost* creation);
    ~KVXStampManager() override;

    void Begin() override;
    void End() override;

    void OnBackgroundRemoved() override;
    void OnStampsChanged() override;
    void OnStampPlaying(KVXStampBase* stamp) override;
    void OnStampStopped() override;
    void OnRadioRefresh() override;

    void SelectGenre(int16_t g);
    void PreviousPage();
    void NextPage();
    void OpenDrawer();
    void CloseAndReopenDrawer();
    void BuildStampButtons();
    void BuildGenreButtons();
    void ExitDone();

    int16_t Genre() const { return genre; }
    int16_t Page() const { return page; }
    int16_t PageCount() const { return pageCount; }
    int16_t GenreCount() const { return genreCountShown; }
    int16_t VisibleGenres() const { return visibleGenres; }
    bool DrawerOpen() const { return drawerOpen; }
    KVXStampDrawerMolecule* Drawer() const { return drawer; }
    KVXAnimationMolecule* DrawerAnimation() const { return drawerAnimation; }
    MMMouseVisualMolecule* Catcher() const { return catcher; }
    const std::vector<KVXAnimatedButtonMolecule*>& GenreButtons() const { return genreButtons; }
    const std::vector<KVXAnimatedStampButtonMolecule*>& StampButtons() const { return stampButtons; }
    MMPictureVisual* GenreTitle() const { return genreTitle; }

private:
    void BuildDecor();
    void BuildPageButtons();
    void ShowGenreTitle();
    void DeleteStampButtons();
    void DeleteGenreButtons();
    void DeleteDrawerAnimation();
    void StartDrawerAnimation(MMResourceId script, MMCommand* atEvent);
    void DrawerOpened();
    void PageTurned();
    void DrawerClosed(int16_t reopen);
    void StampChosen(int16_t entry) {}
    void EndBusy();
    void RotateGenreSelection();
    int16_t PagesOfGenre(int16_t g) const;
    MMResourceId GenreTable(int16_t g) const;
    MMPictureMolecule* PictureFromTable(MMResourceId table, int16_t layer);

    MMMouseVisualMolecule* catcher = nullptr;
    std::vector<KVXAnimatedButtonMolecule*> genreButtons;
    std::vector<KVXAnimatedStampButtonMolecule*> stampButtons;
    KVXStampDrawerMolecule* drawer = nullptr;
    KVXAnimationMolecule* drawerAnimation = nullptr;
    std::vector<MMPictureMolecule*> decor;
    MMPictureButtonMolecule* previousPage = nullptr;
    MMPictureButtonMolecule* nextPage = nullptr;
    MMPictureVisual* genreTitle = nullptr;
    bool drawerOpen = false;
    bool busy = false;
    bool opening = false;
    bool closing = false;
    int16_t firstGenre = 0;
    int16_t genreCountShown = 25;
    int16_t visibleGenres = 5;
    int16_t rotation = 0;
    int16_t page = 0;
    int16_t pageCount = 0;
};
