#pragma once
// Picture collections and picture references. A picture id holds the
// collection id in its high 16 bits and the picture index in its low ones.
#include <cstdint>
#include "engine/resource_collection.h"
#include "framework/color_table.h"
#include "framework/geometry.h"

class MMBitmap;
class MMEncodedImage;
class MMReferenceManager;

typedef MMResourceId MMPictureID;

class MMPictureCollection : public MMResourceCollection {
public:
    // Registers the collection in the picture directory under its id.
    explicit MMPictureCollection(uint16_t collectionId);
    ~MMPictureCollection() override;

    virtual Pair PictureSize(int16_t index) = 0;
    // 0 opaque, 1 keyed, 2 premultiplied, 3 straight alpha.
    virtual int32_t PictureKind(int16_t index) = 0;
    virtual int32_t BitsPerPixel(int16_t index) = 0;
    // True for plain pixel rows, false for an encoded image.
    virtual bool IsBitmap(int16_t index) = 0;
    // Loads and locks the picture; colourTable (when given) receives its
    // colour table or null.
    virtual bool LockBitmap(int16_t index, MMBitmap& bitmap, const MMColorTable** colourTable) = 0;
    virtual bool LockEncodedImage(int16_t index, MMEncodedImage& image,
                                  const MMColorTable** colourTable) = 0;
    virtual void Unlock(int16_t index) = 0;
    virtual MMReferenceManager* ReferenceManager() = 0;
    virtual void Use(int16_t index);
    virtual void Release(int16_t index);
    virtual void Preload(int16_t index);
    virtual void Purge(int16_t index);

    uint16_t CollectionId() const { return collectionId; }
    // 0 (opaque) to 255 (clear) at a point inside the picture.
    int32_t TransparencyAt(int16_t index, const Pair& point);
    bool CopyColorTable(int16_t index, MMColorTable& target);
    MMPictureID MakePictureId(int16_t index) const;

private:
    uint16_t collectionId;
};

MMCollectionDirectory<MMPictureCollection>& MMPictureDirectory();
MMPictureCollection* MMFindPictureCollection(MMPictureID id);
// -1 when the collection is not registered.
MMPictureID MakePictureId(const MMPictureCollection* collection, int16_t index);
void MMUsePicture(MMPictureID id);
void MMReleasePicture(MMPictureID id);
void PreloadPicture(MMPictureID id);
void PurgePicture(MMPictureID id);
void DeleteAllPictureCollections();

// The handle every visual and molecule holds to a picture.
class MMPictureReference : public MMResourceReference {
public:
    MMPictureReference();
    MMPictureReference(const MMPictureReference& other);
    MMPictureReference& operator=(const MMPictureReference& other);

    void Init();
    void Copy(const MMPictureReference& other);
    // Empty for -1 or an id of no open collection.
    void Load(MMPictureID id);
    void ConstructWith(MMPictureCollection* collection, int16_t index);
    void Clear();

    MMPictureID Id() const;
    MMPictureCollection* Collection() const { return collection; }
    Pair GetSize() const;
    int32_t TransparencyKind() const;
    int32_t BitsPerPixel() const;
    bool IsBitmap() const;
    bool LockBitmap(MMBitmap& bitmap, const MMColorTable** colourTable = nullptr) const;
    bool LockEncodedImage(MMEncodedImage& image, const MMColorTable** colourTable = nullptr) const;
    void Unlock() const;
    int32_t TransparencyAt(const Pair& point) const;
    bool ContainsPoint(const Pair& point) const;
    bool CopyColorTable(MMColorTable& target) const;
    // 0 where the pixel is opaque, 1 where it is clear, else the picture's
    // transparency kind.
    int32_t HitKind(const Pair& point) const;

private:
    MMPictureCollection* collection;
};

// A reference to the picture, empty as Load leaves it.
MMPictureReference MMLoadedPicture(MMPictureID id);
// Whether both name the same picture of the same collection.
bool MMSamePicture(const MMPictureReference& a, const MMPictureReference& b);
