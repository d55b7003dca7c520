#pragma once
// Modifier buttons whose two pictures are drawn at run time: a sample stroke
// painted by a modifier twin tool into the shared preview plane, black while
// the button is not selected and in the current colour while it is.
#include <cstdint>

#include "engine/picture_collection.h"
#include "framework/random.h"
#include "trays/modifier_buttons.h"

class KVXPlaneComponentTop;
class MMBitmapWithPixels;
class BrushBase;

// What both stroked kinds share.
struct KVXStrokedPreview {
    uint32_t* colorCell;            // blue, green, red, spare
    MMResourceId pointTable;        // 10-byte rows, a point at offset 2
    MMPictureID backgroundA;        // behind the black stroke
    MMPictureID backgroundB;        // behind the coloured one
    KVXPlaneComponentTop* plane;
    MMBitmapWithPixels* bitmap;     // one pixel narrower and shorter than the plane
};

class KVXStrokedModifierBase : public KVXBaseModifiersObject {
public:
    KVXStrokedModifierBase(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                           const KVXStrokedPreview& preview, MMCommand* command, int16_t layer,
                           MMCursor* cursor);

    void Select() override;
    void Deselect() override;
    // Draws both pictures again from the current colour.
    void Rebuild();
    virtual void BuildPreview() = 0;  // 18

    const KVXStrokedPreview& Preview() const { return preview; }

protected:
    KVXStrokedPreview preview;

private:
    MMPictureReference Draw(MMPictureID background);
};

// The stroke painted by the twin's brush, whose path generator turns it into
// dabs: the first point begins it, the middle ones continue it and the last
// ends it. The brush is used while the pictures are drawn, at construction.
class KVXStrokedModifierObject : public KVXStrokedModifierBase {
public:
    KVXStrokedModifierObject(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                             BrushBase* brush, const KVXStrokedPreview& preview,
                             MMCommand* command, int16_t layer, MMCursor* cursor);

    void BuildPreview() override;

private:
    BrushBase* brush;
};

// Thick blobs of paint laid along the stroke's points every 4 to 8 rows.
class KVXStrokedGlobbyModifierObject : public KVXStrokedModifierBase {
public:
    KVXStrokedGlobbyModifierObject(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                                   int16_t parameter, const KVXStrokedPreview& preview,
                                   MMCommand* command, int16_t layer, MMCursor* cursor);

    void BuildPreview() override;

private:
    int16_t parameter;
    UURandom random;
};
