#include "framework/cursor.h"

#include "framework/folders.h"
#include "framework/heap.h"
#include "framework/pending_error.h"
#include "framework/text.h"

AFCursorSet* gCursorSet = nullptr;

namespace {

bool Loaded(AFCursor* cursor, HCURSOR handle)
{
    if (!handle)
        return SetPendingError(AFE_BAD_CURSOR, FSDirectory(), "", static_cast<int32_t>(GetLastError()));
    cursor->cursor = handle;
    cursor->loaded = true;
    return true;
}

}  // namespace

bool AFCursor::LoadStandard(LPCSTR name, bool fromSystem)
{
    return Loaded(this, LoadCursorA(fromSystem ? nullptr : GetModuleHandleA(nullptr), name));
}

bool AFCursor::LoadAnimated(int id)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(21));
    if (!found)
        return Loaded(this, LoadCursorA(module, MAKEINTRESOURCEA(id)));
    HCURSOR handle = nullptr;
    HGLOBAL resource = LoadResource(module, found);
    void* bits = resource ? LockResource(resource) : nullptr;
    if (bits)
        handle = reinterpret_cast<HCURSOR>(CreateIconFromResource(
            static_cast<PBYTE>(bits), SizeofResource(module, found), FALSE, 0x30000));
    if (!handle) {
        char file[kTextSize];
        StringFormat(file, "CUR%d.ANI", id);
        handle = LoadCursorFromFileA(file);
    }
    return Loaded(this, handle);
}

void AFCursor::MakeEmpty()
{
    loaded = true;
    cursor = nullptr;
}

void AFCursor::Show() const { SetCursor(cursor); }

bool AFCursorSet::Load()
{
    AFCursor** slots[] = {&arrow, &iBeam, &wait};
    LPCSTR names[] = {IDC_ARROW, IDC_IBEAM, IDC_WAIT};
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        delete *slots[i];
        *slots[i] = new (gDefaultHeap) AFCursor;
        ok = *slots[i] && (*slots[i])->LoadStandard(names[i], true) && ok;
    }
    delete empty;
    empty = new (gDefaultHeap) AFCursor;
    if (empty)
        empty->MakeEmpty();
    if (!ok || !empty)
        return FailWithoutError();
    arrow->Show();
    return true;
}

void AFCursorSet::Free()
{
    delete arrow;
    delete iBeam;
    delete wait;
    delete empty;
    arrow = iBeam = wait = empty = nullptr;
}
