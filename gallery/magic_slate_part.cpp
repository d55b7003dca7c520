#include "gallery/magic_slate_part.h"

#include <memory>
#include <new>

#include "selection/slate_store.h"

static_assert(MagicSlateStore::StoredSize() == kSlateStoredSize, "a page's slate is 51750 bytes");

bool MagicSlatePart::Write(FSWriter& writer)
{
    return store.Write(writer);
}

bool MagicSlatePart::WriteFresh(FSWriter& writer)
{
    std::unique_ptr<MagicSlateStore> fresh(new (std::nothrow) MagicSlateStore);
    if (!fresh)
        return false;
    fresh->Init();
    return fresh->Write(writer);
}

bool MagicSlatePart::Read(FSReader& reader)
{
    return store.Read(reader);
}

KVXSlateRecording* MagicSlatePart::Recording()
{
    return &store;
}
