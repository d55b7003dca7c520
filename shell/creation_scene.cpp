#include "shell/creation_scene.h"

#include "canvas/plane.h"
#include "engine/command.h"
#include "engine/picture_collection.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "engine/stage.h"
#include "engine/stage_control.h"
#include "shell/app.h"
#include "shell/next_time_thread.h"

namespace {

const int16_t kLayoutTable = 734;
const int16_t kLayoutExtra = 66;
const int16_t kDecorationLayer = 100;
const int16_t kLeftFrameLayer = 95;
const int16_t kBadgeLayer = 101;
const int16_t kModeIndicatorKey = 48;
const int16_t kDecorationKeys[] = {kModeIndicatorKey, 52, 50, 51};
const int16_t kLeftFrameKey = 56;
const int16_t kBadgeKey = 55;

// The position and picture of the first row of the 8-byte table a layout
// row names.
bool PlacedPicture(const MMRecordTable& layout, int16_t key, int32_t rowIndex, Pair& position,
                   MMPictureID& picture)
{
    int32_t row = layout.FindRowByKey(key);
    if (row < 0)
        return false;
    MMRecordTable table;
    table.Load(layout.LongAt(row, 2), 8, gDefaultHeap);
    if (table.RowCount() <= rowIndex)
        return false;
    position = table.PairAt(rowIndex, 0);
    picture = table.LongAt(rowIndex, 4);
    return true;
}

int32_t PictureHeight(MMPictureID picture)
{
    MMPictureCollection* collection = MMFindPictureCollection(picture);
    return collection ? collection->PictureSize(MMItemOf(picture)).y : 0;
}

}  // namespace

CreationScene::CreationScene(MMStage* stage, KVXPlaneComponentTop* plane, UndoSnapshot* snapshot)
    : KVXBaseScene(stage), canvasPlane(plane), undoSnapshot(snapshot)
{
    if (canvasPlane)
        canvasPlane->Fill(kBlankPixel);
}

CreationScene::~CreationScene() { delete nextTime; }

void CreationScene::Begin()
{
    pageFlag = 1;
    if (gApp)
        gApp->EnterCanvas();
    if (stage_->Control())
        stage_->Control()->FlushInput();
    nextTime = new NextTimeThread(stage_);
    nextTime->Activate();
    Decorate();
    mode = savedMode;
}

void CreationScene::Decorate()
{
    MMRecordTable layout;
    layout.LoadTenByteRows(kLayoutTable, kLayoutExtra);
    for (int16_t key : kDecorationKeys) {
        Pair position;
        MMPictureID picture;
        if (!PlacedPicture(layout, key, 0, position, picture))
            continue;
        auto* molecule = new MMPictureMolecule(this, picture, position, kDecorationLayer);
        if (key == kModeIndicatorKey)
            modeIndicator = molecule;
    }
    Pair first;
    MMPictureID lower;
    Pair unused;
    MMPictureID upper;
    if (PlacedPicture(layout, kLeftFrameKey, 0, first, lower)) {
        new MMPictureMolecule(this, lower, first, kLeftFrameLayer);
        if (PlacedPicture(layout, kLeftFrameKey, 1, unused, upper)) {
            Pair above = {first.x, first.y - PictureHeight(lower)};
            new MMPictureMolecule(this, upper, above, kLeftFrameLayer);
        }
    }
    int32_t badge = layout.FindRowByKey(kBadgeKey);
    if (badge >= 0)
        new MMPictureMolecule(this, MMPictureID(layout.LongAt(badge, 2)), Pair{0, 0}, kBadgeLayer);
}

void CreationScene::QueueCommand(MMCommand* command)
{
    if (nextTime)
        nextTime->Enqueue(command);
    else
        delete command;
}

void CreationScene::DeleteMolecules()
{
    if (nextTime) {
        nextTime->Terminate();
        delete nextTime;
        nextTime = nullptr;
    }
    if (gApp)
        gApp->LeaveCanvas();
    savedMode = mode;
    if (gApp)
        gApp->creationMode = mode;
    modeIndicator = nullptr;
    KVXBaseScene::DeleteMolecules();
}
