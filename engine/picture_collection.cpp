#include "engine/picture_collection.h"

#include "media/bitmap.h"
#include "media/encoded_image.h"

MMPictureCollection::MMPictureCollection(uint16_t id) : collectionId(id)
{
    MMPictureDirectory().Register(this, id);
}

MMPictureCollection::~MMPictureCollection() { MMPictureDirectory().Unregister(this, collectionId); }

void MMPictureCollection::Use(int16_t index) { ReferenceManager()->Use(index); }

void MMPictureCollection::Release(int16_t index) { ReferenceManager()->Release(index); }

void MMPictureCollection::Preload(int16_t index)
{
    MMBitmap bitmap;
    MMEncodedImage image;
    bool locked = IsBitmap(index) ? LockBitmap(index, bitmap, nullptr)
                                  : LockEncodedImage(index, image, nullptr);
    if (locked) Unlock(index);
}

void MMPictureCollection::Purge(int16_t) {}

MMPictureID MMPictureCollection::MakePictureId(int16_t index) const
{
    return ::MakePictureId(this, index);
}

int32_t MMPictureCollection::TransparencyAt(int16_t index, const Pair& point)
{
    int32_t kind = PictureKind(index);
    if (kind == 0) return 0;
    const MMColorTable* table = nullptr;
    const MMColorTable** tableOut = kind != 1 ? &table : nullptr;
    int32_t result = 255;
    if (IsBitmap(index)) {
        MMBitmap bitmap;
        if (!LockBitmap(index, bitmap, tableOut)) return 255;
        if (bitmap.box.Contains(point)) {
            const uint8_t* pixel = bitmap.PixelAddress(point.x, point.y);
            if (bitmap.bitsPerPixel == 8)
                result = *pixel == 0 ? 255 : table ? table->entries[*pixel].rgbReserved : 0;
            else
                result = pixel[3];
        }
    } else {
        MMEncodedImage image;
        if (!LockEncodedImage(index, image, tableOut)) return 255;
        const uint8_t* pixel = image.box.Contains(point) ? image.PixelAddress(point) : nullptr;
        if (pixel && image.bitsPerPixel == 8)
            result = table ? table->entries[*pixel].rgbReserved : *pixel == 0 ? 255 : 0;
        else if (pixel)
            result = pixel[3];
    }
    Unlock(index);
    return result;
}

bool MMPictureCollection::CopyColorTable(int16_t index, MMColorTable& target)
{
    const MMColorTable* table = nullptr;
    bool locked;
    if (IsBitmap(index)) {
        MMBitmap bitmap;
        locked = LockBitmap(index, bitmap, &table);
    } else {
        MMEncodedImage image;
        locked = LockEncodedImage(index, image, &table);
    }
    if (!locked) return false;
    if (table) target.Copy(*table);
    Unlock(index);
    return table != nullptr;
}

MMCollectionDirectory<MMPictureCollection>& MMPictureDirectory()
{
    static MMCollectionDirectory<MMPictureCollection> directory;
    return directory;
}

MMPictureCollection* MMFindPictureCollection(MMPictureID id)
{
    return MMPictureDirectory().Find(MMCollectionIdOf(id));
}

MMPictureID MakePictureId(const MMPictureCollection* collection, int16_t index)
{
    if (!collection || !MMPictureDirectory().Contains(collection)) return MM_NO_RESOURCE;
    return MMMakeResourceId(collection->CollectionId(), index);
}

void MMUsePicture(MMPictureID id)
{
    if (MMPictureCollection* collection = MMFindPictureCollection(id))
        collection->Use(MMItemOf(id));
}

void MMReleasePicture(MMPictureID id)
{
    if (MMPictureCollection* collection = MMFindPictureCollection(id))
        collection->Release(MMItemOf(id));
}

void PreloadPicture(MMPictureID id)
{
    if (MMPictureCollection* collection = MMFindPictureCollection(id))
        collection->Preload(MMItemOf(id));
}

void PurgePicture(MMPictureID id)
{
    if (MMPictureCollection* collection = MMFindPictureCollection(id))
        collection->Purge(MMItemOf(id));
}

void DeleteAllPictureCollections()
{
    while (MMPictureCollection* collection = MMPictureDirectory().At(0)) delete collection;
}

MMPictureReference::MMPictureReference() : collection(nullptr) {}

MMPictureReference::MMPictureReference(const MMPictureReference& other)
    : MMResourceReference(other), collection(other.collection)
{
}

MMPictureReference& MMPictureReference::operator=(const MMPictureReference& other)
{
    Copy(other);
    return *this;
}

void MMPictureReference::Init() { Clear(); }

void MMPictureReference::Copy(const MMPictureReference& other)
{
    MMResourceReference::Copy(other);
    collection = other.collection;
}

void MMPictureReference::Load(MMPictureID id)
{
    MMPictureCollection* found = id == MM_NO_RESOURCE ? nullptr : MMFindPictureCollection(id);
    ConstructWith(found, MMItemOf(id));
}

MMPictureReference MMLoadedPicture(MMPictureID id)
{
    MMPictureReference reference;
    reference.Load(id);
    return reference;
}

bool MMSamePicture(const MMPictureReference& a, const MMPictureReference& b)
{
    return a.Collection() == b.Collection() && a.Index() == b.Index();
}

void MMPictureReference::ConstructWith(MMPictureCollection* newCollection, int16_t newIndex)
{
    if (!newCollection) {
        Clear();
        return;
    }
    Set(newCollection->ReferenceManager(), newIndex);
    collection = newCollection;
}

void MMPictureReference::Clear()
{
    MMResourceReference::Clear();
    collection = nullptr;
}

MMPictureID MMPictureReference::Id() const
{
    if (!collection) return MM_NO_RESOURCE;
    return MakePictureId(collection, index);
}

Pair MMPictureReference::GetSize() const
{
    return collection ? collection->PictureSize(index) : Pair{0, 0};
}

int32_t MMPictureReference::TransparencyKind() const
{
    return collection ? collection->PictureKind(index) : 0;
}

int32_t MMPictureReference::BitsPerPixel() const
{
    return collection ? collection->BitsPerPixel(index) : 0;
}

bool MMPictureReference::IsBitmap() const { return collection && collection->IsBitmap(index); }

bool MMPictureReference::LockBitmap(MMBitmap& bitmap, const MMColorTable** colourTable) const
{
    return collection && collection->LockBitmap(index, bitmap, colourTable);
}

bool MMPictureReference::LockEncodedImage(MMEncodedImage& image,
                                          const MMColorTable** colourTable) const
{
    return collection && collection->LockEncodedImage(index, image, colourTable);
}

void MMPictureReference::Unlock() const
{
    if (collection) collection->Unlock(index);
}

int32_t MMPictureReference::TransparencyAt(const Pair& point) const
{
    return collection ? collection->TransparencyAt(index, point) : 255;
}

bool MMPictureReference::ContainsPoint(const Pair& point) const
{
    Pair size = GetSize();
    return point.x >= 0 && point.x < size.x && point.y >= 0 && point.y < size.y;
}

bool MMPictureReference::CopyColorTable(MMColorTable& target) const
{
    return collection && collection->CopyColorTable(index, target);
}

int32_t MMPictureReference::HitKind(const Pair& point) const
{
    int32_t transparency = TransparencyAt(point);
    if (transparency == 0) return 0;
    if (transparency == 255) return 1;
    return TransparencyKind();
}
