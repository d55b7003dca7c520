#include "brushes/sprayer_brushes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "brushes/brush_scene.h"
#include "brushes/path_generator.h"
#include "engine/picture_collection.h"
#include "engine/record_table.h"
#include "framework/random.h"
#include "media/bitmap.h"

KVXBrushSprayer::KVXBrushSprayer(KVXBrushScene* scene, int32_t tableId)
    : scene(scene), tableId(tableId)
{
}

void KVXBrushSprayer::AddEntry(int32_t animation, int32_t picture, uint8_t flag)
{
    entries.push_back({animation == 414 ? -1 : animation, picture, flag});
}

void KVXBrushSprayer::Dab(const BrushDab* dab)
{
    // Nothing to draw from: no stamp.
    if (entries.empty() || scene == nullptr)
        return;
    int32_t i = int16_t(ProgramRandom().Range(0, int32_t(entries.size()) - 1));
    i = std::clamp(i, 0, int32_t(entries.size()) - 1);
    const KVXSprayEntry& entry = entries[size_t(i)];
    scene->StartSprayedAnimation(entry.animation, entry.picture,
                                 {int32_t(dab->x), int32_t(dab->y)}, entry.flag != 0);
}

int32_t DirectionSector(int32_t dx, int32_t dy)
{
    double a = std::atan2(double(dx), double(dy)) * 57.29577951308232;
    int32_t whole = std::abs(int32_t(a));
    int32_t angle = a >= 0 ? whole : 360 - whole;
    int32_t k = int16_t(int32_t((angle - 11.25) * (1 / 22.5)));
    return std::clamp(k, 0, 15);
}

std::vector<int32_t> ReadDirectionPictures(MMResourceId table, int32_t choice, Heap* heap)
{
    std::vector<int32_t> ids;
    MMRecordTable rows;
    rows.Load(table, 8, heap);
    if (choice < 0 || choice >= rows.RowCount())
        return ids;
    MMResourceId second = rows.ItemIdAt(choice, 0);
    if (second == -1)
        return ids;
    MMRecordTable pictures;
    pictures.Load(second, 10, heap);
    int32_t count = pictures.CountRows(0, 0, 1);
    for (int32_t n = 0; n < count; ++n)
        ids.push_back(TableResource::GetNumberAt(pictures, 1, 0, n));
    return ids;
}

KVXDirectionalSprayerBase::KVXDirectionalSprayerBase(
    const double params[4], const uint8_t heights[2], KVXPlaneComponent* plane,
    const KVXBitmap<uint8_t>* texture, const uint8_t* colour, const double opacityNumbers[4],
    const std::vector<int32_t>& pictures)
    : KVXBrushWithComponentPlane(plane), pictureIds(pictures), colour(colour), texture(texture),
      opacity(opacityNumbers)
{
    range.Set(heights);
    auto* generator = new (gDefaultHeap) DirectionalPathGenerator;
    generator->SetParameters(params);
    SetPathGenerator(generator);
}

void KVXDirectionalSprayerBase::BeginStroke(const BrushDab* sample)
{
    firstDab = true;
    BeginPath(sample);
}

void KVXDirectionalSprayerBase::ContinueStroke(const BrushDab* sample)
{
    firstDab = false;
    ContinuePath(sample);
}

void KVXDirectionalSprayerBase::EndStroke(const BrushDab* sample)
{
    firstDab = false;
    EndPathOnPlane(sample);
}

void KVXDirectionalSprayerBase::Dab(const BrushDab* dab)
{
    // The pen-down dab has no direction yet; a roller without masks rolls
    // nothing.
    if (firstDab || pictureIds.empty())
        return;
    int32_t k = std::min(DirectionSector(dab->dx, dab->dy), int32_t(pictureIds.size()) - 1);
    MMPictureReference picture;
    picture.Load(pictureIds[size_t(k)]);
    MMBitmap mask;
    if (picture.Collection() == nullptr || !picture.LockBitmap(mask))
        return;
    if (mask.bitsPerPixel != 8) {
        picture.Unlock();
        return;
    }
    int32_t w = mask.Width();
    int32_t h = mask.Height();
    int32_t left = int32_t(dab->x) - w / 2;
    int32_t top = int32_t(dab->y) - h / 2;
    Box box = OnPlane({left, top, left + w, top + h});
    if (box.IsEmpty()) {
        picture.Unlock();
        return;
    }
    int32_t s = std::clamp(dab->sizeIndex, 0, kBrushSizes - 1);
    const uint8_t* amounts = BlendTable[range.Depth(s)];
    for (int32_t y = box.top; y < box.bottom; ++y) {
        const uint8_t* m = mask.PixelAddress(mask.box.left + box.left - left, mask.box.top + y - top);
        const uint8_t* t = texture != nullptr && y < texture->height ? texture->Row(y) : nullptr;
        KVXComponentPixel* p = plane->PixelAt(box.left, y);
        for (int32_t x = box.left; x < box.right; ++x, ++p, ++m) {
            if (p->type == kPixelLocked)
                continue;
            uint8_t o = opacity.Opacity(*m, t != nullptr && x < texture->width ? t[x] : 0, s);
            Transfer(*p, o, amounts[o]);
        }
    }
    picture.Unlock();
    plane->AddDirtyRect(box);
}
