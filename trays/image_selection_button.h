#pragma once
// The image choice of the image spray and tube trays: one picture of an image
// set with an arrow on each side that steps through the set, round and round.
#include <cstdint>

#include "trays/modifier_buttons.h"

class KVXAnimatedButtonMolecule;

class KVXImageSelectionButton : public KVXBaseModifiersObject {
public:
    // table: 10-byte rows; key 0 and key 1 name the previous and next arrow
    // animations, each key-2 row one image. Posts the command once built.
    KVXImageSelectionButton(MMBaseScene* scene, int16_t toolIndex, const Pair& position,
                            MMResourceId table, int16_t index, MMCommand* command,
                            int16_t layer, MMCursor* cursor);
    ~KVXImageSelectionButton() override;

    void Show() override;
    void Hide() override;
    virtual void Build();        // 18
    virtual void Next();         // 19
    virtual void Previous();     // 20
    virtual void ShowCurrent();  // 21

    int16_t Index() const { return index; }
    int16_t Count() const { return count; }
    KVXAnimatedButtonMolecule* NextArrow() const { return nextArrow; }
    KVXAnimatedButtonMolecule* PreviousArrow() const { return previousArrow; }

private:
    void Step(int32_t by);
    KVXAnimatedButtonMolecule* MakeArrow(MMResourceId script, void (KVXImageSelectionButton::*step)(),
                                         const Pair& offset);

    MMResourceId table;
    int16_t index;
    int16_t count = 0;
    Pair position;
    KVXAnimatedButtonMolecule* nextArrow = nullptr;
    KVXAnimatedButtonMolecule* previousArrow = nullptr;
    MMCommand* command;
};
