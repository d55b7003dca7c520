#pragma once
// A tray whose modifier buttons show strokes painted by modifier twins:
// tools like its own that paint into the manager's preview plane with the
// tray's second colour record, a copy of the current colour taken each time
// the buttons are built. The tray owns its twins until DeleteMolecules and
// draws its buttons again when the colour changes.
#include <cstdint>
#include <vector>

#include "trays/tool_collection.h"

class KVXTwinToolCollection : public KVXToolCollection {
public:
    KVXTwinToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                          KVXPlaneComponentTop* previewPlane, MMBitmapWithPixels* previewBitmapA,
                          MMBitmapWithPixels* previewBitmapB);
    ~KVXTwinToolCollection() override;

    void DeleteMolecules() override;
    void StoreOwnerValue(const uint32_t* colour) override;

    // Twin i in the order the tray made them; null before Begin and after
    // DeleteMolecules.
    KVXToolBase* ModifierTwin(int16_t i) const override;
    uint32_t ColorCopy() const { return colorCopy; }

protected:
    // The colour record the twins are made with.
    const uint8_t* CopyRecord() const { return reinterpret_cast<const uint8_t*>(&colorCopy); }
    // Before the buttons are built: the twins paint them in the current colour.
    void TakeColour() { colorCopy = *colorCell; }
    // The tray takes the twin as its next one.
    void AddTwin(KVXToolBase* twin);
    void BeginTwins();
    // A stroked button for every row of the tray's stroke list, painted by
    // the twin, each choosing the tool toolIndex.
    void AddStrokedButtons(int16_t layoutTable, int16_t strokeList, KVXToolBase* twin,
                           int16_t toolIndex);
    // The brush a twin paints with; null without the twin.
    static BrushBase* BrushOf(KVXToolBase* twin);
    // Slider which (0 or 1) passed on to the twin too; false when there was
    // no twin or no such slider.
    bool SlideTwin(KVXToolBase* twin, int16_t which);
    // The tool and the twin take the slider; the second slider changes the
    // buttons' strokes, so the buttons are drawn again after it, not after
    // the first.
    void SlideToolAndTwin(KVXToolBase* twin, int16_t which, bool rebuild);
    // The current button drawn again by its twin and chosen again.
    void RedrawCurrentButton();

    uint32_t colorCopy;

private:
    void DeleteTwins();

    std::vector<KVXToolBase*> twins;
};
