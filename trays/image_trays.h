#pragma once
// The image spray and image tube trays: one picture tool whose pictures the
// child chooses with an image button and its two arrows; the chosen image is
// the tray's size type. Each mode keeps its own chosen image. Both trays
// leave the canvas unzoomed and hide the zoom button while open.
#include <cstdint>

#include "trays/tool_collection.h"

class KVXImageSelectionButton;

// Which tables and tool a picture tray uses.
struct KVXImageTrayLayout {
    int16_t toolTable;
    int16_t imageSets[2];  // one per mode
    int16_t placement;     // 8-byte rows: row 0 places the image button
    bool twists;           // the spray's twist shows the second image set
    bool purges;           // free unused pictures after each choice
};

class KVXImageToolCollection : public KVXToolCollection {
public:
    KVXImageToolCollection(const KVXImageTrayLayout& layout, uint32_t* colorCell,
                           KVXCreationHost* creationScene, KVXPlaneComponentTop* previewPlane,
                           MMBitmapWithPixels* previewBitmapA,
                           MMBitmapWithPixels* previewBitmapB);

    void Begin() override;
    void DeleteMolecules() override;
    void SetModeAndSelect(int16_t mode, int16_t index) override;
    void SelectModifier(int16_t index) override;
    void SetSizeType(int16_t type) override;
    void ResetModifiers() override;
    void ReselectCurrent() override;

    KVXImageSelectionButton* ImageButton() const;
    int16_t ChosenImage(int16_t mode) const { return chosen[mode & 1]; }

protected:
    virtual KVXToolBase* MakeTool() = 0;

private:
    KVXImageTrayLayout layout;
    int16_t chosen[2] = {0, 0};
};

class KVXImageSprayToolCollection : public KVXImageToolCollection {
public:
    KVXImageSprayToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                                KVXPlaneComponentTop* previewPlane,
                                MMBitmapWithPixels* previewBitmapA,
                                MMBitmapWithPixels* previewBitmapB);

protected:
    KVXToolBase* MakeTool() override;
};

class KVXImageTubeToolCollection : public KVXImageToolCollection {
public:
    KVXImageTubeToolCollection(uint32_t* colorCell, KVXCreationHost* creationScene,
                               KVXPlaneComponentTop* previewPlane,
                               MMBitmapWithPixels* previewBitmapA,
                               MMBitmapWithPixels* previewBitmapB);

protected:
    KVXToolBase* MakeTool() override;
};
