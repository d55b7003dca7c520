#pragma once
// The slate store of a page as a sketchbook page holds it.
#include "gallery/canvas_page_content.h"

class MagicSlateStore;

class MagicSlatePart : public SketchbookSlatePart {
public:
    explicit MagicSlatePart(MagicSlateStore& store) : store(store) {}
    bool Write(FSWriter& writer) override;
    bool WriteFresh(FSWriter& writer) override;
    bool Read(FSReader& reader) override;
    KVXSlateRecording* Recording() override;

private:
    MagicSlateStore& store;
};
