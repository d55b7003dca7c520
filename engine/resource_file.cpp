#include "engine/resource_file.h"

#include <cstring>
#include "framework/checksum.h"
#include "framework/pending_error.h"

MMGenericResourceFile::MMGenericResourceFile(int32_t notFoundCode)
    : loadNames(false), usable(true), open(false), verifyChecksum(false), writtenCount(-1),
      errorBase(notFoundCode + 1), checksum(0), collectionId(0), firstStamp(0),
      secondStamp(0), itemCount(0), length(0)
{
    name[0] = 0;
}

MMGenericResourceFile::~MMGenericResourceFile()
{
    if (file.IsOpen()) file.Close();
}

bool MMGenericResourceFile::Fail(int32_t relative)
{
    return SetPendingError(errorBase + relative, folder, name, file.GetError());
}

bool MMGenericResourceFile::Need(int32_t bytes)
{
    int32_t position = file.Tell();
    if (position >= 0 && bytes >= 0 && int64_t(position) + bytes <= length) return true;
    if (file.GetError() == 0) file.SetError(FS_ERROR_END_OF_FILE);
    return false;
}

bool MMGenericResourceFile::ReadFailed() { return Fail(MM_FILE_BAD_READ); }

bool MMGenericResourceFile::WriteFailed() { return Fail(MM_FILE_BAD_WRITE); }

bool MMGenericResourceFile::Open(const FSDirectory& inFolder, const char* inName, bool names,
                                 bool verify)
{
    usable = true;
    folder = inFolder;
    std::strncpy(name, inName ? inName : "", sizeof name - 1);
    name[sizeof name - 1] = 0;
    loadNames = names;
    verifyChecksum = verify;
    if (!file.Open(folder, name, FS_OPEN_READ)) {
        Fail(MM_FILE_BAD_OPEN_FOR_READ);
        FreeTables(false, true);
        return false;
    }
    open = true;
    if (!ReadHeader()) {
        FreeTables(false, true);
        return false;
    }
    return true;
}

bool MMGenericResourceFile::Create(const FSDirectory& inFolder, const char* inName,
                                   const FSFileKind& kind, int16_t count, uint16_t id)
{
    usable = true;
    folder = inFolder;
    std::strncpy(name, inName ? inName : "", sizeof name - 1);
    name[sizeof name - 1] = 0;
    if (count < 0 || !file.Open(folder, name, FS_OPEN_CREATE, kind)) {
        Fail(MM_FILE_BAD_OPEN_FOR_WRITE);
        FreeTables(true, true);
        return false;
    }
    collectionId = id;
    firstStamp = secondStamp = 0;
    checksum = 0;
    writtenCount = 0;
    itemCount = count;
    length = 0;
    open = true;
    loadNames = true;
    if (!InitTables(count) || !WriteHeader()) {
        FreeTables(true, true);
        return false;
    }
    return true;
}

bool MMGenericResourceFile::Close(bool save)
{
    if (!open) return true;
    if (IsForReading() || !save) {
        FreeTables(false, false);
        return true;
    }
    bool ok = (offsets[itemCount] >= 0 || MarkEndOfItems());
    if (ok) {
        FillMissingOffsets();
        ok = WriteHeader();
    }
    int32_t end = -1;
    if (ok && !file.Seek(0, FS_SEEK_FROM_END, &end)) ok = Fail(MM_FILE_BAD_SEEK);
    if (ok) {
        UUChecksum sum;
        file.Seek(MM_CHECKSUMMED_FROM, FS_SEEK_FROM_START, nullptr);
        checksum = sum.Compute(file, uint32_t(end - MM_CHECKSUMMED_FROM), true);
        file.Seek(MM_CHECKSUM_OFFSET, FS_SEEK_FROM_START, nullptr);
        file.WriteLongs(&checksum);
        if (file.GetError() != 0) ok = WriteFailed();
    }
    if (ok && !file.Close()) ok = Fail(MM_FILE_BAD_CLOSE);
    FreeTables(!ok, !ok);
    return ok;
}

bool MMGenericResourceFile::ReadHeader()
{
    int32_t end = -1;
    if (!file.Seek(0, FS_SEEK_FROM_END, &end) || !file.Seek(0, FS_SEEK_FROM_START, nullptr))
        return Fail(MM_FILE_BAD_SEEK);
    length = end;

    char signature[MM_SIGNATURE_SIZE];
    if (!Need(MM_SIGNATURE_SIZE) || !file.ReadBytes(signature, MM_SIGNATURE_SIZE))
        return ReadFailed();
    const char* title = FileTitle();
    if (title && std::strncmp(signature, title, std::strlen(title) + 1) != 0)
        return Fail(MM_FILE_BAD_HEADER);

    int16_t version = 0;
    if (!Need(4) || !file.ReadByteOrderMark()) return Fail(MM_FILE_BAD_HEADER);
    if (!file.ReadShorts(&version)) return ReadFailed();
    if (version != MM_RESOURCE_FORMAT_VERSION) return Fail(MM_FILE_BAD_HEADER);

    if (!Need(4) || !file.ReadLongs(&checksum)) return ReadFailed();
    if (verifyChecksum) {
        if (!file.Seek(MM_CHECKSUMMED_FROM, FS_SEEK_FROM_START, nullptr))
            return Fail(MM_FILE_BAD_SEEK);
        UUChecksum sum;
        uint32_t computed = sum.Compute(file, uint32_t(length - MM_CHECKSUMMED_FROM), true);
        if (file.GetError() != 0) return ReadFailed();
        if (computed != checksum) return Fail(MM_FILE_BAD_CHECKSUM);
        if (!file.Seek(MM_CHECKSUMMED_FROM, FS_SEEK_FROM_START, nullptr))
            return Fail(MM_FILE_BAD_SEEK);
    }

    int16_t count = 0;
    if (!Need(12)) return ReadFailed();
    file.ReadShorts(&collectionId);
    file.ReadLongs(&firstStamp);
    file.ReadLongs(&secondStamp);
    file.ReadShorts(&count);
    writtenCount = -1;
    if (file.GetError() != 0) return ReadFailed();
    if (count < 0) return Fail(MM_FILE_BAD_HEADER);

    if (!InitTables(count)) return ReadFailed();
    if (!Need(4 * (count + 1)) || !file.ReadLongs(offsets.data(), count + 1)) return ReadFailed();
    return CheckOffsets();
}

// Items lie between the offset table and the end of the file, in order.
bool MMGenericResourceFile::CheckOffsets()
{
    if (offsets[0] < MM_OFFSET_TABLE_OFFSET + 4 * (itemCount + 1))
        return Fail(MM_FILE_BAD_HEADER);
    for (int i = 0; i < itemCount; ++i)
        if (offsets[i + 1] < offsets[i]) return Fail(MM_FILE_BAD_HEADER);
    if (offsets[itemCount] > length) return Fail(MM_FILE_BAD_HEADER);
    return true;
}

bool MMGenericResourceFile::CheckItemsAfterHeader()
{
    if (offsets[0] < Tell()) return Fail(MM_FILE_BAD_HEADER);
    return true;
}

bool MMGenericResourceFile::WriteGenericHeader()
{
    if (!file.Seek(0, FS_SEEK_FROM_START, nullptr)) return Fail(MM_FILE_BAD_SEEK);
    char signature[MM_SIGNATURE_SIZE] = {};
    std::strncpy(signature, FileTitle(), MM_SIGNATURE_SIZE - 1);
    int16_t version = MM_RESOURCE_FORMAT_VERSION;
    file.WriteBytes(signature, MM_SIGNATURE_SIZE);
    file.WriteByteOrderMark();
    file.WriteShorts(&version);
    file.WriteLongs(&checksum);
    file.WriteShorts(&collectionId);
    file.WriteLongs(&firstStamp);
    file.WriteLongs(&secondStamp);
    file.WriteShorts(&itemCount);
    file.WriteLongs(offsets.data(), itemCount + 1);
    if (file.GetError() != 0) return WriteFailed();
    return true;
}

bool MMGenericResourceFile::WriteHeader() { return WriteGenericHeader(); }

bool MMGenericResourceFile::InitTables(int16_t count)
{
    itemCount = count;
    offsets.assign(size_t(count) + 1, -1);
    return true;
}

void MMGenericResourceFile::FreeTables(bool deleteFile, bool markUnusable)
{
    offsets.clear();
    itemCount = 0;
    if (file.IsOpen()) file.Close();
    if (deleteFile && folder.IsValid() && name[0]) FSDeleteFile(folder, name);
    folder.Clear();
    name[0] = 0;
    open = false;
    if (markUnusable) usable = false;
}

int32_t MMGenericResourceFile::ItemOffset(int16_t item) const
{
    return IsValidItem(item) ? offsets[item] : -1;
}

int32_t MMGenericResourceFile::ItemSize(int16_t item) const
{
    return IsValidItem(item) ? offsets[item + 1] - offsets[item] : 0;
}

bool MMGenericResourceFile::ReadItemBytes(int16_t item, void* destination, int32_t size)
{
    if (!IsValidItem(item) || size < 0 || size > ItemSize(item)) return false;
    // A failure on an earlier item must not stop this one.
    file.SetError(0);
    return file.Seek(offsets[item], FS_SEEK_FROM_START, nullptr) &&
           file.ReadBytes(destination, size);
}

bool MMGenericResourceFile::SetFirstStamp(uint32_t value)
{
    if (file.GetError() != 0) return FailWithoutError();
    firstStamp = value;
    return true;
}

bool MMGenericResourceFile::SetSecondStamp(uint32_t value)
{
    if (file.GetError() != 0) return FailWithoutError();
    secondStamp = value;
    return true;
}

bool MMGenericResourceFile::SetItemOffset(int16_t item, int32_t offset)
{
    if (file.GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    offsets[item] = offset;
    ++writtenCount;
    return true;
}

bool MMGenericResourceFile::MarkEndOfItems()
{
    if (file.GetError() != 0) return FailWithoutError();
    int32_t end = -1;
    if (!file.Seek(0, FS_SEEK_FROM_END, &end)) return Fail(MM_FILE_BAD_SEEK);
    offsets[itemCount] = end;
    return true;
}

// Items never written become empty, so the reader's order check holds.
void MMGenericResourceFile::FillMissingOffsets()
{
    for (int i = itemCount - 1; i >= 0; --i)
        if (offsets[i] < 0) offsets[i] = offsets[i + 1];
}

MMDummyResourceFile::MMDummyResourceFile() : MMGenericResourceFile(0) {}

const char* MMDummyResourceFile::FileTag() const { return "???"; }

const char* MMDummyResourceFile::FileTitle() const { return nullptr; }

bool MMDummyResourceFile::WriteHeader() { return true; }

MMResourceFileWithNamedSubfiles::MMResourceFileWithNamedSubfiles(int32_t notFoundCode)
    : MMGenericResourceFile(notFoundCode)
{
}

bool MMResourceFileWithNamedSubfiles::ReadHeader()
{
    if (!MMGenericResourceFile::ReadHeader()) return false;
    int16_t word = -1;
    if (!Need(2) || !Stream().ReadShorts(&word)) return ReadFailed();
    if (word != 0) return Fail(MM_FILE_BAD_VERSION_NUMBER);
    int16_t n = ItemCount();
    if (loadNames) {
        if (!Need(36 * n)) return ReadFailed();
        Stream().ReadBytes(names.data(), MM_ITEM_NAME_SIZE * n);
        Stream().ReadLongs(values.data(), n);
        if (Stream().GetError() != 0) return ReadFailed();
        for (int i = 0; i < n; ++i) names[MM_ITEM_NAME_SIZE * i + MM_ITEM_NAME_SIZE - 1] = 0;
    } else {
        if (!Need(36 * n) || !Stream().Seek(42 + 40 * n, FS_SEEK_FROM_START, nullptr))
            return ReadFailed();
    }
    return true;
}

bool MMResourceFileWithNamedSubfiles::WriteHeader()
{
    if (!MMGenericResourceFile::WriteHeader()) return false;
    int16_t word = 0;
    Stream().WriteShorts(&word);
    Stream().WriteBytes(names.data(), int32_t(names.size()));
    Stream().WriteLongs(values.data(), int32_t(values.size()));
    if (Stream().GetError() != 0) return WriteFailed();
    return true;
}

bool MMResourceFileWithNamedSubfiles::InitTables(int16_t count)
{
    if (!MMGenericResourceFile::InitTables(count)) return false;
    values.assign(count, 0);
    names.assign(size_t(count) * MM_ITEM_NAME_SIZE, 0);
    return true;
}

void MMResourceFileWithNamedSubfiles::FreeTables(bool deleteFile, bool markUnusable)
{
    values.clear();
    names.clear();
    MMGenericResourceFile::FreeTables(deleteFile, markUnusable);
}

bool MMResourceFileWithNamedSubfiles::SetItemValue(int16_t item, int32_t value)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    values[item] = value;
    return true;
}

bool MMResourceFileWithNamedSubfiles::SetItemName(int16_t item, const char* text)
{
    if (Stream().GetError() != 0 || !IsValidItem(item)) return FailWithoutError();
    char* field = &names[size_t(item) * MM_ITEM_NAME_SIZE];
    std::memset(field, 0, MM_ITEM_NAME_SIZE);
    std::strncpy(field, text ? text : "", MM_ITEM_NAME_SIZE - 1);
    return true;
}

int32_t MMResourceFileWithNamedSubfiles::ItemValue(int16_t item) const
{
    return IsValidItem(item) && size_t(item) < values.size() ? values[item] : 0;
}

const char* MMResourceFileWithNamedSubfiles::ItemName(int16_t item) const
{
    if (!IsValidItem(item) || names.size() < size_t(item + 1) * MM_ITEM_NAME_SIZE) return "";
    return &names[size_t(item) * MM_ITEM_NAME_SIZE];
}
