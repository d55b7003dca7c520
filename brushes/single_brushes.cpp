#include "brushes/single_brushes.h"

#include "brushes/brush_scene.h"
#include "canvas/canvas_visual.h"
#include "canvas/effect_draw_methods.h"
#include "canvas/gloppy_draw_methods.h"
#include "engine/picture_collection.h"
#include "framework/random.h"

KVXBrushMetaball::KVXBrushMetaball(int16_t radiusMin, int16_t radiusMax, const uint8_t* colour,
                                   KVXCanvasVisual* canvasVisual, KVXPlaneComponent* plane)
    : radiusMin(radiusMin), radiusMax(radiusMax), colour(colour), canvasVisual(canvasVisual),
      plane(plane)
{
}

void KVXBrushMetaball::EndStroke(const BrushDab* sample)
{
    EndPath(sample);
    plane->changeState.Advance();
}

void KVXBrushMetaball::Dab(const BrushDab* dab)
{
    Pair centre = {int32_t(dab->x), int32_t(dab->y)};
    int32_t r = ProgramRandom().Range(radiusMin, radiusMax);
    // Globs only go to a gloppy method; any other leaves the canvas alone.
    if (auto* gloppy = dynamic_cast<KVXDrawMethodGloppy*>(canvasVisual->DrawMethod()))
        gloppy->AddGlob(*plane, centre, r, colour[0] | colour[1] << 8 | colour[2] << 16);
    canvasVisual->Invalidate();
}

KVXPhaserEraser::KVXPhaserEraser(KVXCanvasVisual* canvasVisual, KVXPlaneComponent* plane,
                                 KVXBrushScene* scene)
    : canvasVisual(canvasVisual), plane(plane), scene(scene)
{
}

void KVXPhaserEraser::BeginStroke(const BrushDab* sample)
{
    Pair point = {int32_t(sample->x), int32_t(sample->y)};
    if (auto* phaser = dynamic_cast<KVXDrawMethodPhaser*>(canvasVisual->DrawMethod())) {
        phaser->MoveBurst(*canvasVisual->Plane(), point);
        canvasVisual->Invalidate();
    }
    if (scene != nullptr)
        scene->PlayPhaserSound();
}

void KVXPhaserEraser::EndStroke(const BrushDab*)
{
    if (auto* phaser = dynamic_cast<KVXDrawMethodPhaser*>(canvasVisual->DrawMethod()))
        phaser->EndStroke(*plane);
    plane->changeState.Advance();
}

KVXBrushSingleImageSprayer::KVXBrushSingleImageSprayer(KVXPlaneComponent* plane,
                                                       const uint8_t* colour,
                                                       const KVXBitmap<uint8_t>* texture,
                                                       const double opacityNumbers[4])
    : KVXBrushWithComponentPlane(plane), colour(colour), texture(texture), opacity(opacityNumbers)
{
}

void KVXBrushSingleImageSprayer::BeginStroke(const BrushDab* sample)
{
    strokeStart = true;
    BeginPath(sample);
}

void KVXBrushSingleImageSprayer::ContinueStroke(const BrushDab* sample)
{
    strokeStart = false;
    ContinuePath(sample);
}

void KVXBrushSingleImageSprayer::EndStroke(const BrushDab* sample)
{
    strokeStart = false;
    EndPathOnPlane(sample);
}

void KVXBrushSingleImageSprayer::Dab(const BrushDab* dab)
{
    if (strokeStart || pictureIds.empty())
        return;
    MMPictureReference picture;
    picture.Load(pictureIds[0]);
    if (picture.Collection() == nullptr)
        return;
    Pair size = picture.GetSize();
    Pair origin = {int32_t(dab->x) - size.x / 2, int32_t(dab->y) - size.y / 2};
    Box inside = OnPlane({origin.x, origin.y, origin.x + size.x, origin.y + size.y});
    if (inside.IsEmpty())
        return;
    plane->StampPicture(picture, origin);
    // Only the part on the canvas can need a redraw.
    plane->AddDirtyRect(inside);
}
