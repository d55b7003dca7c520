#include "gallery/drag_scene.h"

#include <cstdlib>

#include "engine/picture_molecule.h"
#include "engine/stage.h"
#include "gallery/gallery_messages.h"
#include "media/font.h"
#include "media/picture_visual.h"
#include "media/sound/logical_sound_channel.h"

namespace {

constexpr int16_t kDragImageLayer = 112;
constexpr int16_t kTextGalleryFace = 87;
constexpr int16_t kTextFontSizes[3] = {94, 95, 96};
constexpr int32_t kFontWeight = 400;

}  // namespace

MpDragScene::MpDragScene(MMStage* stage) : MMScene(stage)
{
    for (int i = 0; i < 3; ++i) {
        int32_t size = std::atoi(GalleryText(kTextFontSizes[i]));
        fonts[i].reset(new MMSystemFont(GalleryText(kTextGalleryFace), size > 0 ? size : 12,
                                        kFontWeight, false, false));
    }
    if (stage != nullptr && stage->SoundManager() != nullptr)
        channel = new MMGenericSoundChannel(stage->SoundManager());
}

MpDragScene::~MpDragScene()
{
    delete channel;
}

void MpDragScene::Begin()
{
    dragImage = new MMPictureMolecule(this, MMPictureReference(), Pair{0, 0}, kDragImageLayer);
    dragImage->Hide();
}

void MpDragScene::DeleteMolecules()
{
    dragImage = nullptr;
    MMScene::DeleteMolecules();
}

void MpDragScene::SetDragImage(const MMPictureReference& picture)
{
    if (dragImage != nullptr)
        dragImage->Visual()->SetPicture(picture);
}

void MpDragScene::MoveDragImage(const Pair& point)
{
    if (dragImage == nullptr)
        return;
    if (dragImage->IsHidden())
        dragImage->Show();
    dragImage->Visual()->SetPosition(point.x - grabOffset.x, point.y - grabOffset.y);
}

void MpDragScene::HideDragImage()
{
    if (dragImage != nullptr && !dragImage->IsHidden())
        dragImage->Hide();
}

void MpDragScene::SetGrabOffset(const Pair& offset)
{
    grabOffset = offset;
}

Box MpDragScene::DragImageBox() const
{
    if (dragImage == nullptr || dragImage->IsHidden())
        return {0, 0, 0, 0};
    return dragImage->Visual()->GetBounds();
}
