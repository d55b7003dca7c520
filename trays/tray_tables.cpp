#include "trays/tray_tables.h"

#include "framework/heap.h"
#include "shell/app.h"

MMResourceId TrayItemAt(const MMRecordTable& table, int32_t row)
{
    return row < 0 ? MM_NO_RESOURCE : MMResourceId(table.LongAt(row, 2));
}

int32_t TrayValueAt(const MMRecordTable& table, int32_t row)
{
    return row < 0 ? 0 : table.LongAt(row, 2);
}

MMResourceId CreationLayoutId(int16_t key)
{
    MMRecordTable layout;
    layout.Load(CreationLayoutTable(), 10, gDefaultHeap);
    return TrayItemAt(layout, layout.FindRowByKey(key));
}

MMCursor* TrayCursor(int16_t n) { return gApp != nullptr ? gApp->GetCursor(n) : nullptr; }
