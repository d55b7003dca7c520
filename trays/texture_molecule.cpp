#include "trays/texture_molecule.h"

#include "engine/command.h"
#include "engine/enclosure.h"
#include "engine/mouse_interpreter.h"
#include "engine/stage.h"
#include "framework/heap.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"
#include "shell/app.h"
#include "shell/registry_settings.h"
#include "shell/widgets/alpha_visuals.h"
#include "trays/texture_list.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kPanelBoxLayer = 175;
const int16_t kPanelLayer = 176;
const int16_t kPreviewLayer = 177;
const int16_t kPanelTopLayer = 178;

struct Placed {
    Pair position = {0, 0};
    MMResourceId picture = MM_NO_RESOURCE;
};

// Row 0 of the small table the creation layout's row names.
Placed PlacedOf(int16_t key)
{
    MMRecordTable table;
    table.Load(CreationLayoutId(key), 8, gDefaultHeap);
    Placed placed;
    if (table.RowCount() > 0) {
        placed.position = table.PairAt(0, 0);
        placed.picture = table.LongAt(0, 4);
    }
    return placed;
}

MMPictureVisual* PanelPicture(const Placed& placed, int16_t layer)
{
    MMPictureReference picture;
    picture.Load(placed.picture);
    auto* visual = new MMPictureVisual();
    visual->ConstructWithPictureAt(picture, placed.position.x, placed.position.y, layer, false,
                                   false);
    return visual;
}

int16_t StoredTextureIndex()
{
    MMResourceId texture = MM_NO_RESOURCE;
    if (gApp != nullptr && gApp->Settings() != nullptr)
        gApp->Settings()->GetTextureId(texture);
    int32_t index = TextureIndexOf(texture);
    return int16_t(index < TextureCount() ? index : 0);
}

}  // namespace

KVXTextureMolecule::KVXTextureMolecule(MMBaseScene* scene, MMCommand* command)
    : MMMolecule(scene), command(command)
{
    Placed previewPlace = PlacedOf(kLayoutTexturePreview);
    mask = previewPlace.picture;
    MMPictureReference none;
    preview = new KVXAlphaVisual(none, none, previewPlace.position.x, previewPlace.position.y,
                                 kPreviewLayer);
    openInterpreter = new MMHotSpotInterpreter(
        Stage(), preview,
        new MMClassCommand<KVXTextureMolecule>("OpenTextureCmd", Stage(), this,
                                               &KVXTextureMolecule::Open),
        TrayCursor(0));
    preview->SetMouseInterpreter(openInterpreter);
    MMStage* stage = Stage();
    panelBox = new MMBoxVisual(stage != nullptr ? stage->StageBox() : Box{0, 0, 800, 600},
                               kPanelBoxLayer);
    closeInterpreter = new MMHotSpotInterpreter(
        Stage(), panelBox,
        new MMClassCommand<KVXTextureMolecule>("closeTextureCmd", Stage(), this,
                                               &KVXTextureMolecule::Close),
        TrayCursor(0));
    panelBox->SetMouseInterpreter(closeInterpreter);
    panelPicture = PanelPicture(PlacedOf(kLayoutTexturePanel), kPanelLayer);
    panelPicture->SetMouseInterpreter(closeInterpreter);
    panelTop = PanelPicture(PlacedOf(kLayoutTexturePanelTop), kPanelTopLayer);
    channel = stage != nullptr && stage->SoundManager() != nullptr
                  ? new MMGenericSoundChannel(stage->SoundManager())
                  : nullptr;
    Add(preview);
    Add(panelBox);
    Add(panelPicture);
    Add(panelTop);
    open = true;
    textureIndex = StoredTextureIndex();
    Close();
}

KVXTextureMolecule::~KVXTextureMolecule()
{
    MMVisual* visuals[] = {preview, panelBox, panelPicture, panelTop};
    for (MMVisual* visual : visuals) {
        if (MMEnclosure* enclosure = Enclosure())
            enclosure->RemoveVisual(visual);
        delete visual;
    }
    delete openInterpreter;
    delete closeInterpreter;
    if (channel != nullptr)
        channel->Stop();
    delete channel;
    delete command;
}

void KVXTextureMolecule::Add(MMVisual* visual)
{
    if (MMEnclosure* enclosure = Enclosure())
        enclosure->AddVisual(visual);
}

void KVXTextureMolecule::Show()
{
    MMMolecule::Show();
    preview->SetHidden(false);
}

void KVXTextureMolecule::Hide()
{
    MMMolecule::Hide();
    preview->SetHidden(true);
}

void KVXTextureMolecule::Close()
{
    if (!open)
        return;
    open = false;
    panelBox->SetHidden(true);
    panelPicture->SetHidden(true);
    panelTop->SetHidden(true);
    MMPictureReference image, maskPicture;
    image.Load(TexturePreviewAt(textureIndex));
    maskPicture.Load(mask);
    preview->SetPictures(maskPicture, image);
    if (command)
        command->Post();
}
