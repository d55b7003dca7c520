#include "trays/bitmap_buttons.h"

#include "canvas/bitmap_ops.h"
#include "engine/command.h"
#include "framework/heap.h"
#include "media/bitmap.h"
#include "trays/modifier_buttons.h"
#include "trays/tool_collection.h"
#include "trays/tray_tables.h"

namespace {

const int16_t kButtonLayer = 107;

// White but clear: the tray shows through wherever the pictures leave the
// bitmap uncovered, as around a background's rounded corners.
void Compose(MMBitmap& bitmap, MMPictureID background, MMPictureID picture)
{
    FillBitmapColor(bitmap, 255, 255, 255);
    SetBitmapAlpha(bitmap, 255);
    bitmap.transparencyKind = kTransparencyStraight;
    Pair size = {bitmap.box.right - bitmap.box.left, bitmap.box.bottom - bitmap.box.top};
    for (MMPictureID id : {background, picture}) {
        MMPictureReference reference;
        reference.Load(id);
        if (reference.IsEmpty())
            continue;
        Pair extent = reference.GetSize();
        ComposePictureOverBitmap(
            {&bitmap, (size.x - extent.x) / 2, (size.y - extent.y) / 2, reference.Id()});
    }
}

}  // namespace

KVXBitmapButtonRow BitmapButtonRow(const MMRecordTable& layout, int32_t row)
{
    KVXBitmapButtonRow result;
    if (row < 0 || row >= layout.RowCount())
        return result;
    result.position = layout.PairAt(row, 0);
    result.pictureA = MMPictureID(layout.LongAt(row, 4));
    result.pictureB = MMPictureID(layout.LongAt(row, 8));
    return result;
}

bool ComposeBitmapButton(KVXToolCollection* tray, const KVXBitmapButtonRow& row)
{
    MMBitmapWithPixels* a = tray->PreviewBitmapA();
    MMBitmapWithPixels* b = tray->PreviewBitmapB();
    if (a == nullptr || b == nullptr)
        return false;
    MMRecordTable backgrounds;
    backgrounds.Load(TrayTableId(kBitmapButtonBackgrounds), 16, gDefaultHeap);
    bool any = backgrounds.RowCount() > 0;
    Compose(*a, any ? MMPictureID(backgrounds.LongAt(0, 4)) : MMPictureID(MM_NO_RESOURCE),
            row.pictureA);
    Compose(*b, any ? MMPictureID(backgrounds.LongAt(0, 12)) : MMPictureID(MM_NO_RESOURCE),
            row.pictureB);
    return true;
}

KVXModifierBitmapObject* MakeComposedButton(KVXToolCollection* tray, int16_t toolIndex,
                                            const Pair& position, MMCommand* command)
{
    MMBitmapWithPixels* a = tray->PreviewBitmapA();
    MMBitmapWithPixels* b = tray->PreviewBitmapB();
    if (a == nullptr || b == nullptr) {
        delete command;
        return nullptr;
    }
    return new KVXModifierBitmapObject(tray, toolIndex, position, *a, *b, command, kButtonLayer,
                                       TrayCursor(0));
}

KVXModifierBitmapObject* MakeBitmapButton(KVXToolCollection* tray, int16_t toolIndex,
                                          const KVXBitmapButtonRow& row, MMCommand* command)
{
    ComposeBitmapButton(tray, row);
    return MakeComposedButton(tray, toolIndex, row.position, command);
}
