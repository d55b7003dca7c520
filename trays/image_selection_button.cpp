#include "trays/image_selection_button.h"

#include "engine/command.h"
#include "engine/record_table.h"
#include "framework/heap.h"
#include "engine/scene.h"
#include "shell/widgets/animated_button.h"

namespace {

const int16_t kImageRow = 2;
const int16_t kArrowLayer = 101;
const int16_t kArrowPriority = 100;

MMResourceId IdAt(const MMRecordTable& table, int32_t row)
{
    return row < 0 ? MM_NO_RESOURCE : MMResourceId(table.LongAt(row, 2));
}

}  // namespace

KVXImageSelectionButton::KVXImageSelectionButton(MMBaseScene* scene, int16_t toolIndex,
                                                 const Pair& position, MMResourceId table,
                                                 int16_t index, MMCommand* command,
                                                 int16_t layer, MMCursor* cursor)
    : KVXBaseModifiersObject(scene, toolIndex, position, MM_NO_RESOURCE, MM_NO_RESOURCE, nullptr,
                             layer, cursor),
      table(table), index(index), position(position), command(command)
{
    Build();
}

KVXImageSelectionButton::~KVXImageSelectionButton()
{
    delete nextArrow;
    delete previousArrow;
    delete command;
}

void KVXImageSelectionButton::Show()
{
    KVXBaseModifiersObject::Show();
    if (nextArrow)
        nextArrow->Show();
    if (previousArrow)
        previousArrow->Show();
}

void KVXImageSelectionButton::Hide()
{
    KVXBaseModifiersObject::Hide();
    if (nextArrow)
        nextArrow->Hide();
    if (previousArrow)
        previousArrow->Hide();
}

KVXAnimatedButtonMolecule* KVXImageSelectionButton::MakeArrow(
    MMResourceId script, void (KVXImageSelectionButton::*step)(), const Pair& offset)
{
    if (script == MM_NO_RESOURCE)
        return nullptr;
    auto* click = new MMClassCommand<KVXImageSelectionButton, void (KVXImageSelectionButton::*)()>(
        "New Modifier Command", Stage(), this, step);
    auto* arrow = new KVXAnimatedButtonMolecule(scene_, script, click, kArrowLayer, 0,
                                                kArrowPriority, 1);
    arrow->SetOffset(position.x + offset.x, position.y + offset.y);
    return arrow;
}

void KVXImageSelectionButton::Build()
{
    MMRecordTable rows;
    rows.Load(table, 10, gDefaultHeap);
    count = int16_t(rows.CountRows(0, 0, kImageRow));
    if (index < 0 || index >= count)
        index = 0;
    nextArrow = MakeArrow(IdAt(rows, rows.FindRowByKey(1)), &KVXImageSelectionButton::Next,
                          Pair{100, 0});
    previousArrow = MakeArrow(IdAt(rows, rows.FindRowByKey(0)),
                              &KVXImageSelectionButton::Previous, Pair{-25, 0});
    ShowCurrent();
    if (command)
        command->Post();
}

void KVXImageSelectionButton::Step(int32_t by)
{
    int32_t next = index + by;
    if (next < 0)
        next = count - 1;
    else if (next >= count)
        next = 0;
    index = int16_t(next < 0 ? 0 : next);
    ShowCurrent();
    if (command)
        command->Post();
}

void KVXImageSelectionButton::Next() { Step(1); }

void KVXImageSelectionButton::Previous() { Step(-1); }

void KVXImageSelectionButton::ShowCurrent()
{
    MMRecordTable rows;
    rows.Load(table, 10, gDefaultHeap);
    MMPictureReference shown;
    if (count > 0)
        shown.Load(IdAt(rows, rows.FindRow(0, 0, index, kImageRow)));
    visual->SetNormalPicture(shown);
    visual->SetHighlightPicture(shown);
    visual->Invalidate();
}
