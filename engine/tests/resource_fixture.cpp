#include "resource_fixture.h"

#include <windows.h>
#include <cstring>
#include "engine/resource_file_writer.h"
#include "framework/buffer_compressors.h"
#include "framework/checksum.h"
#include "framework/files.h"
#include "media/encoded_image.h"

TempFolder::TempFolder()
{
    FSDirectory temp;
    FSTempFolder(temp);
    char name[64];
    static int counter = 0;
    // A folder left by a killed run may carry this name (Wine reuses process ids).
    for (int tries = 0; tries < 100 && !folder.IsValid(); ++tries) {
        std::snprintf(name, sizeof name, "pennaro-engine-%lu-%d", GetCurrentProcessId(), counter++);
        FSCreateSubfolder(temp, name, folder);
    }
}

TempFolder::~TempFolder()
{
    if (folder.IsValid()) DeleteDirectoryTree(folder);
}

bool WriteFileBytes(const FSDirectory& folder, const char* name, const std::vector<uint8_t>& bytes)
{
    FSFile file;
    if (!file.Open(folder, name, FS_OPEN_CREATE)) return false;
    if (!bytes.empty()) file.WriteBytes(bytes.data(), int32_t(bytes.size()));
    bool ok = file.GetError() == 0;
    return file.Close() && ok;
}

std::vector<uint8_t> ReadFileBytes(const FSDirectory& folder, const char* name)
{
    FSFile file;
    std::vector<uint8_t> bytes;
    int32_t end = 0;
    if (!file.Open(folder, name, FS_OPEN_READ) || !file.Seek(0, FS_SEEK_FROM_END, &end))
        return bytes;
    bytes.resize(end);
    file.Seek(0, FS_SEEK_FROM_START, nullptr);
    if (end > 0) file.ReadBytes(bytes.data(), end);
    return bytes;
}

MMColorTable PatternTable(int seed)
{
    MMColorTable table;
    for (int i = 0; i < 256; ++i)
        table.entries[i] = RGBQUAD{uint8_t(i + seed), uint8_t(3 * i), uint8_t(255 - i),
                                   uint8_t(i % 3 == 0 ? 0 : i)};
    return table;
}

std::vector<MMColorTable> StandardSharedTables() { return {PatternTable(1), PatternTable(2)}; }

namespace {

TestPicture MakePicture(int16_t width, int16_t height, int32_t bits, int32_t transparency,
                        int seed)
{
    TestPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bits = bits;
    picture.transparency = transparency;
    picture.pixels.assign(size_t(picture.Pitch()) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * bits / 8; ++x) {
            uint8_t value = uint8_t(seed + 7 * x + 31 * y);
            // Make some pixels clear: index 0, or byte 3 = 255.
            if ((x + y) % 4 == 0) value = bits == 8 ? 0 : (x % 4 == 3 ? 255 : value);
            picture.pixels[size_t(y) * picture.Pitch() + x] = value;
        }
    picture.bitmap.bitsPerPixel = bits;
    picture.bitmap.bytesPerPixel = bits / 8;
    picture.bitmap.pixelKind = bits == 8 ? kPixelIndexed : kPixelBGRA;
    picture.bitmap.transparencyKind = transparency;
    picture.bitmap.box = Box{0, 0, width, height};
    picture.bitmap.pitch = picture.Pitch();
    picture.bitmap.pixels = picture.pixels.data();
    return picture;
}

}  // namespace

std::vector<TestPicture> StandardPictures()
{
    std::vector<TestPicture> pictures;
    pictures.push_back(MakePicture(5, 3, 8, 1, 1));
    pictures.back().ownTable = true;
    pictures.back().table = PatternTable(9);
    pictures.push_back(MakePicture(5, 3, 8, 0, 2));
    pictures.back().sharedTable = 1;
    pictures.back().compressed = true;
    pictures.push_back(MakePicture(4, 3, 32, 0, 3));
    pictures.back().compressed = true;
    pictures.push_back(MakePicture(4, 3, 32, 3, 4));
    pictures.push_back(MakePicture(6, 2, 32, 1, 5));
    pictures.back().encoded = true;
    pictures.back().compressed = true;
    pictures.push_back(MakePicture(6, 2, 8, 1, 6));
    pictures.back().encoded = true;
    pictures.back().sharedTable = 0;
    // Pixels moved into the vector: point the descriptions at their new home.
    for (TestPicture& picture : pictures) picture.bitmap.pixels = picture.pixels.data();
    return pictures;
}

std::vector<uint8_t> TestPicture::Content() const
{
    std::vector<uint8_t> content;
    if (ownTable) {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&table);
        content.assign(bytes, bytes + 1024);
    }
    if (encoded) {
        int32_t size = MeasureEncodedSize(bitmap);
        std::vector<uint8_t> data(size);
        EncodeBitmap(bitmap, data.data(), size);
        content.insert(content.end(), data.begin(), data.end());
    } else {
        content.insert(content.end(), pixels.begin(), pixels.end());
    }
    return content;
}

bool WritePictureFile(const FSDirectory& folder, const char* name,
                      const std::vector<TestPicture>& pictures,
                      const std::vector<MMColorTable>& shared)
{
    MMPictureResourceFile file;
    int16_t count = int16_t(pictures.size());
    if (!file.Create(folder, name, FSFileKind(), count, kTestPictureCollection)) return false;
    if (!shared.empty() && !file.SetSharedColorTables(shared.data(), int16_t(shared.size())))
        return false;
    file.SetFirstStamp(11);
    file.SetSecondStamp(22);
    for (int16_t i = 0; i < count; ++i) {
        const TestPicture& picture = pictures[i];
        char itemName[32];
        std::snprintf(itemName, sizeof itemName, "pic%d", i);
        MMPictureSource source;
        source.bitmap = &picture.bitmap;
        source.ownColorTable = picture.ownTable ? &picture.table : nullptr;
        source.sharedColorTable = picture.sharedTable;
        source.encode = picture.encoded;
        source.compress = picture.compressed;
        source.name = itemName;
        source.value = 100 + i;
        if (!MMWritePicture(file, i, source)) return false;
    }
    return file.MarkEndOfItems() && file.Close(true);
}

namespace {

// Values in the chosen byte order.
struct Builder {
    bool bigEndian;
    std::vector<uint8_t> bytes;

    void Byte(uint8_t v) { bytes.push_back(v); }
    void Short(uint16_t v)
    {
        if (bigEndian) { Byte(uint8_t(v >> 8)); Byte(uint8_t(v)); }
        else { Byte(uint8_t(v)); Byte(uint8_t(v >> 8)); }
    }
    void Long(uint32_t v)
    {
        if (bigEndian) { Short(uint16_t(v >> 16)); Short(uint16_t(v)); }
        else { Short(uint16_t(v)); Short(uint16_t(v >> 16)); }
    }
    void Raw(const std::vector<uint8_t>& v) { bytes.insert(bytes.end(), v.begin(), v.end()); }
    void PutLongAt(size_t at, uint32_t v)
    {
        Builder b{bigEndian, {}};
        b.Long(v);
        std::memcpy(&bytes[at], b.bytes.data(), 4);
    }
    void Generic(const char* title, uint16_t collection, int16_t count)
    {
        char signature[16] = {};
        std::strcpy(signature, title);
        bytes.insert(bytes.end(), signature, signature + 16);
        Byte(bigEndian ? 'M' : 'I');
        Byte(bigEndian ? 'M' : 'I');
        Short(2);
        Long(0);  // checksum, filled at the end
        Short(collection);
        Long(11);
        Long(22);
        Short(uint16_t(count));
        for (int i = 0; i <= count; ++i) Long(0);  // offsets, filled later
    }
    void Finish(const std::vector<std::vector<uint8_t>>& items, int16_t count)
    {
        for (int i = 0; i < count; ++i) {
            PutLongAt(36 + 4 * i, uint32_t(bytes.size()));
            Raw(items[i]);
        }
        PutLongAt(36 + 4 * count, uint32_t(bytes.size()));
        UUChecksum sum;
        PutLongAt(20, sum.Update(bytes.data() + 24, uint32_t(bytes.size() - 24), true));
    }
};

void SwapLongsIn(std::vector<uint8_t>& v, size_t from, size_t to)
{
    for (size_t i = from; i + 4 <= to; i += 4) {
        std::swap(v[i], v[i + 3]);
        std::swap(v[i + 1], v[i + 2]);
    }
}

std::vector<uint8_t> ItemBytes(const TestPicture& picture, bool bigEndian)
{
    std::vector<uint8_t> content = picture.Content();
    size_t start = picture.ownTable ? 1024 : 0;
    if (bigEndian) {
        SwapLongsIn(content, 0, start);
        if (picture.encoded) {
            uint16_t firstPixel;
            std::memcpy(&firstPixel, &content[start + 2 * picture.height], 2);
            uint16_t end;
            std::memcpy(&end, &content[start + 4 * picture.height], 2);
            for (int i = 0; i <= 2 * picture.height; ++i)
                std::swap(content[start + 2 * i], content[start + 2 * i + 1]);
            if (picture.bits == 32) SwapLongsIn(content, start + firstPixel, start + end);
        } else if (picture.bits == 32) {
            SwapLongsIn(content, start, content.size());
        }
    }
    if (!picture.compressed) return content;
    // Packed as the writer packs: LZO1X-999 and its optimisation pass.
    std::vector<uint8_t> packed(content.size() + content.size() / 16 + 67);
    int32_t size = 0;
    CompressBuffer(content.data(), int32_t(content.size()), packed.data(), int32_t(packed.size()),
                   &size, nullptr);
    packed.resize(size);
    return packed;
}

}  // namespace

std::vector<uint8_t> SerializePictureFile(const std::vector<TestPicture>& pictures,
                                          const std::vector<MMColorTable>& shared,
                                          bool bigEndian)
{
    int16_t n = int16_t(pictures.size());
    Builder b{bigEndian, {}};
    b.Generic("ZOVU Pictures", kTestPictureCollection, n);
    b.Short(0);
    for (int i = 0; i < n; ++i) {
        char name[32] = {};
        std::snprintf(name, sizeof name, "pic%d", i);
        b.bytes.insert(b.bytes.end(), name, name + 32);
    }
    for (int i = 0; i < n; ++i) b.Long(100 + i);
    b.Short(10);
    for (int i = 0; i < n; ++i) b.Byte(0);
    for (const TestPicture& p : pictures)
        b.Byte(uint8_t((p.bits == 8 ? 1 : 0) | (p.transparency << 2) | (p.encoded ? 0x10 : 0)));
    for (const TestPicture& p : pictures) {
        b.Short(p.width);
        b.Short(p.height);
    }
    std::vector<std::vector<uint8_t>> items;
    for (const TestPicture& p : pictures) {
        items.push_back(ItemBytes(p, bigEndian));
        b.Long(p.compressed ? uint32_t(p.Content().size()) : 0);
    }
    for (const TestPicture& p : pictures)
        b.Byte(p.ownTable ? 1 : p.sharedTable >= 0 ? uint8_t(p.sharedTable + 2) : 0);
    b.Short(uint16_t(shared.size()));
    for (const MMColorTable& table : shared)
        for (const RGBQUAD& e : table.entries)
            b.Long(e.rgbBlue | (e.rgbGreen << 8) | (e.rgbRed << 16) | (uint32_t(e.rgbReserved) << 24));
    b.Finish(items, n);
    return b.bytes;
}

void PutShort(std::vector<uint8_t>& bytes, int16_t value)
{
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(uint16_t(value) >> 8));
}

void PutLong(std::vector<uint8_t>& bytes, int32_t value)
{
    PutShort(bytes, int16_t(value));
    PutShort(bytes, int16_t(uint32_t(value) >> 16));
}

std::vector<TestTable> StandardTables()
{
    std::vector<TestTable> tables(3);
    TestTable& main = tables[0];
    main.table = 0;
    main.item = 0;
    auto row = [&](int16_t key, std::initializer_list<int16_t> operands) {
        PutShort(main.rows, key);
        for (int16_t v : operands) PutShort(main.rows, v);
    };
    row(0, {10, 20, 30, 40});                  // 0: a rectangle
    row(7, {-3, 4, 0, 0});                     // 1: a point; string offset 0 at 6
    row(7, {2, -1, 1, 0});                     // 2: item ids: 2, none, an unmapped item
    PutShort(main.rows, 9);                    // 3: string offsets 8 (empty) and 9
    PutLong(main.rows, 8);
    PutLong(main.rows, 9);
    row(7, {1, 2, 3, 4});                      // 4
    PutShort(main.rows, 0x1234);               // 5: a 32-bit value
    PutLong(main.rows, 0x11223344);
    PutShort(main.rows, 0);
    PutShort(main.rows, 0);
    const char text[] = "Bonjour\0\0\x8Et\x8E\0";
    main.strings.assign(text, text + sizeof text - 1);
    main.strings.insert(main.strings.end(), 500, char(0x8D));
    main.strings.push_back(0);

    TestTable& layout = tables[1];
    layout.table = 3;
    layout.item = 2;
    layout.rowSize = 8;
    PutShort(layout.rows, 5);
    PutShort(layout.rows, 6);
    PutLong(layout.rows, 0x40000002);
    PutShort(layout.rows, -1);
    PutShort(layout.rows, -2);
    PutLong(layout.rows, 0x40000003);

    TestTable& small = tables[2];
    small.table = 2;
    small.item = 3;
    small.rowSize = 2;
    PutShort(small.rows, 42);
    PutShort(small.rows, 7);
    return tables;
}

bool WriteScriptFile(const FSDirectory& folder, const char* name,
                     const std::vector<TestTable>& tables, int16_t itemCount,
                     int16_t sourceCodePage, int16_t targetCodePage)
{
    MMScriptFile file;
    if (!file.Create(folder, name, FSFileKind(), itemCount, kTestScriptCollection) ||
        !file.SetCodePages(sourceCodePage, targetCodePage) || !file.SetFirstStamp(11) ||
        !file.SetSecondStamp(22))
        return false;
    for (const TestTable& t : tables)
        if (!MMWriteRecordTable(file, t.item, t.table, t.rows.data(), t.rowCount(), t.rowSize,
                                reinterpret_cast<const char*>(t.strings.data()),
                                int32_t(t.strings.size())))
            return false;
    return file.MarkEndOfItems() && file.Close(true);
}

std::vector<uint8_t> SerializeScriptFile(const std::vector<TestTable>& tables, int16_t itemCount,
                                         int16_t sourceCodePage, int16_t targetCodePage,
                                         bool bigEndian)
{
    Builder b{bigEndian, {}};
    b.Generic("ZOVU 3 Script", kTestScriptCollection, itemCount);
    b.Short(7);
    b.Short(uint16_t(sourceCodePage));
    b.Short(uint16_t(targetCodePage));
    std::vector<int16_t> tableOfItem(itemCount, -1), itemOfTable(itemCount, -1);
    std::vector<std::vector<uint8_t>> items(itemCount);
    for (const TestTable& t : tables) {
        tableOfItem[t.item] = t.table;
        itemOfTable[t.table] = t.item;
        Builder item{bigEndian, {}};
        item.Long(uint32_t(t.rowCount()));
        // Rows travel as 16-bit words in the file's order.
        for (size_t i = 0; i + 1 < t.rows.size(); i += 2) item.Short(uint16_t(t.rows[i] | (t.rows[i + 1] << 8)));
        item.Raw(t.strings);
        items[t.item] = item.bytes;
    }
    for (int16_t v : tableOfItem) b.Short(uint16_t(v));
    for (int16_t v : itemOfTable) b.Short(uint16_t(v));
    b.Finish(items, itemCount);
    return b.bytes;
}
