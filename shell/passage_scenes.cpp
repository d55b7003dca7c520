#include "shell/passage_scenes.h"

#include "canvas/canvas_visual.h"
#include "engine/molecule.h"
#include "engine/picture_molecule.h"
#include "engine/record_table.h"
#include "selection/slate_store.h"
#include "shell/app.h"
#include "shell/creation_parts.h"
#include "shell/creation_scene.h"
#include "shell/registry_settings.h"
#include "shell/widgets/animated_button.h"
#include "shell/widgets/toggle_button.h"
#include "stamps/base_stamp_manager.h"
#include "stamps/stamp_host.h"
#include "trays/texture_molecule.h"

namespace {

const int32_t kRevealLeft = 20;
const int16_t kDecorationLayer = 100;
const int16_t kLeftFrameLayer = 95;
const int16_t kCanvasLayer = 50;
const int16_t kButtonLayerOffset = 106;
const int16_t kZoomLayer = 106;

}  // namespace

void KVXTransitionToUTHScene::Begin()
{
    if (!gApp)
        return;
    if (gApp->GetScene(kSceneGallery))
        gApp->ChangeScene(stage_, kSceneGallery, gApp->GetTransition(kRevealLeft));
    else
        gApp->ChangeScene(stage_, kSceneFromGallery, nullptr);
}

KVXTransitionFromUTHScene::~KVXTransitionFromUTHScene() { ReleaseStamps(); }

KVXSlateRecording* KVXTransitionFromUTHScene::MakeSlateRecording()
{
    return new (gDefaultHeap) MagicSlateStore;
}

void KVXTransitionFromUTHScene::Begin()
{
    MMRecordTable layout;
    layout.LoadTenByteRows(kCreationLayoutTable, kCreationLayoutExtra);
    for (int16_t key : {int16_t(48), int16_t(52), int16_t(50), int16_t(51)}) {
        Pair position;
        MMPictureID picture;
        if (CreationPlacedPicture(layout, key, 0, position, picture))
            new (gDefaultHeap) MMPictureMolecule(this, picture, position, kDecorationLayer);
    }
    Pair first;
    MMPictureID lower;
    if (CreationPlacedPicture(layout, kLayoutLeftFrames, 0, first, lower)) {
        new (gDefaultHeap) MMPictureMolecule(this, lower, first, kLeftFrameLayer);
        Pair unused;
        MMPictureID upper;
        if (CreationPlacedPicture(layout, kLayoutLeftFrames, 1, unused, upper))
            new (gDefaultHeap) MMPictureMolecule(
                this, upper, Pair{first.x, first.y - CreationPictureSize(lower).y},
                kLeftFrameLayer);
    }
    for (int32_t i = 0;; ++i) {
        Pair position;
        MMPictureID picture;
        if (!CreationPlacedPicture(layout, kLayoutPassagePictures, i, position, picture))
            break;
        new (gDefaultHeap) MMPictureMolecule(this, picture, position, kDecorationLayer);
    }
    ReleaseStamps();
    stampHost = new (gDefaultHeap) KVXStampHost(this);
    if (stampHost)
        stampManager = new (gDefaultHeap) KVXBaseStampManager(stampHost);
    KVXPlaneComponentTop* plane = gApp ? gApp->CanvasPlane() : nullptr;
    if (plane) {
        canvas = new (gDefaultHeap)
            KVXCanvasVisual(this, this, CanvasBox, kCanvasLayer, plane, nullptr);
        if (canvas) {
            new (gDefaultHeap) MMVisualMolecule(this, canvas);
            if (gApp->LoadCurrentPage(static_cast<MagicSlateStore*>(canvas->Slate())) &&
                gApp->PageStamps())
                CreationStampsFromBlock(stampManager, *gApp->PageStamps());
            canvas->SetDrawMethod(kDrawStatic, 0, 0);
            plane->SetDirtyBox(plane->Bounds());
            plane->SetDirtyFlag(0);
            canvas->Invalidate();
        }
    }
    int32_t printing = 1;
    if (gApp && gApp->Settings())
        gApp->Settings()->GetPrinting(printing);
    bool toolMode = gApp && gApp->creationMode == kToolMode;
    for (int16_t key : {int16_t(kLayoutNewPicture), int16_t(kLayoutFlush), int16_t(kLayoutPrint),
                        int16_t(kLayoutUndo), int16_t(kLayoutSiren), int16_t(kLayoutExit),
                        int16_t(kLayoutImport), int16_t(kLayoutSketchbookButton)}) {
        if ((key == kLayoutPrint && printing == 0) || (key == kLayoutImport && !toolMode))
            continue;
        int32_t row = layout.FindRowByKey(key);
        if (row >= 0)
            new (gDefaultHeap) KVXAnimatedButtonMolecule(this, layout.LongAt(row, 2), nullptr,
                                                         kButtonLayerOffset, 0, 100, 1);
    }
    // The texture button only shows the current texture here: no command.
    new (gDefaultHeap) KVXTextureMolecule(this, nullptr);
    int32_t on = layout.FindRowByKey(kLayoutZoomOn);
    int32_t off = layout.FindRowByKey(kLayoutZoomOff);
    if (on >= 0 && off >= 0 && layout.FindRowByKey(kLayoutZoomPoint) >= 0) {
        Pair point = layout.PointOfKey17(0);
        KVXToggleButtonMolecule::Parameters parameters = {
            this,    point.x, point.y, MMPictureID(layout.LongAt(off, 2)),
            MMPictureID(layout.LongAt(on, 2)), nullptr, kZoomLayer, nullptr, nullptr};
        new (gDefaultHeap) KVXToggleButtonMolecule(parameters);
    }
    if (gApp)
        gApp->ChangeScene(stage_, kSceneCreation, nullptr);
    if (canvas)
        canvas->Terminate();
    if (stampManager)
        stampManager->End();
}

void KVXTransitionFromUTHScene::DeleteMolecules()
{
    if (canvas)
        canvas->Terminate();
    canvas = nullptr;
    MMScene::DeleteMolecules();
}

void KVXTransitionFromUTHScene::ReleaseStamps()
{
    if (stampManager)
        stampManager->RemoveAllStamps(false);
    delete stampManager;
    stampManager = nullptr;
    delete stampHost;
    stampHost = nullptr;
}
