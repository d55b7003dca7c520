// The data files the build wrote beside the programs, read back through the
// engine's own readers: every id the program looks up is there, with its row
// size and layout, and the rules the readers rely on hold.
#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include <string>
#include <vector>
#include "engine/picture_collection.h"
#include "engine/picture_loader.h"
#include "engine/record_table.h"
#include "engine/script_file.h"
#include "engine/tests/built_data.h"
#include "framework/pending_error.h"
#include "media/bitmap.h"
#include "media/encoded_image.h"
#include "media/sound/sound_collection.h"
#include "media/sound/sound_loader.h"

namespace {

int CALLBACK CollectFontType(const LOGFONTA*, const TEXTMETRICA*, DWORD type, LPARAM out)
{
    *reinterpret_cast<DWORD*>(out) |= type;
    return 1;
}

const uint16_t kPictureCollections[] = {0x4000, 0, 0x6978, 0xDEA8};
const char* const kPictureFiles[] = {"Hd.MMP", "App.MMP", "Stmp1.MMP", "Stmp2.MMP"};

class BuiltData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        FSDirectory folder = BuiltDataFolder();
        ASSERT_TRUE(OpenScriptFile(folder, "Hd.mms")) << "run scripts/make-data.sh";
        for (const char* name : kPictureFiles) {
            MMPictureLoader* loader = MMOpenPictureFile(folder, name, false);
            ASSERT_NE(loader, nullptr) << name;
        }
        for (const char* name : {"Hd.MMA", "App.MMA"}) ASSERT_NE(CreateSoundLoader(name, folder, false), nullptr) << name;
    }
    static void TearDownTestSuite()
    {
        DeleteAllPictureCollections();
        DeleteAllSoundCollections();
        CloseAllScriptFiles();
    }

    // A table of the script file, loaded with the row size its reader uses.
    struct Table : MMRecordTable {
        Table(MMResourceId id, int32_t rowSize) { Load(id, rowSize, nullptr); }
    };

    static void ExpectTable(MMResourceId id, int32_t rowSize, int32_t minimumRows = 1)
    {
        Table t(id, rowSize);
        ASSERT_TRUE(t.IsLoaded()) << id;
        EXPECT_GE(t.RowCount(), minimumRows) << id;
        EXPECT_LE(t.RowCount() * rowSize, t.ByteSize()) << id;
        MMScriptFile* file = MMRecordTableDirectory().Find(0);
        EXPECT_EQ(file->ItemOfTable(int16_t(id)), int16_t(id)) << "identity map " << id;
        EXPECT_EQ(file->TableOfItem(int16_t(id)), int16_t(id)) << "identity map " << id;
    }

    static void ExpectPicture(MMResourceId id, int bits = 0)
    {
        ASSERT_NE(id, -1);
        MMPictureCollection* c = MMFindPictureCollection(id);
        ASSERT_NE(c, nullptr) << std::hex << id;
        int16_t index = int16_t(id & 0xFFFF);
        Pair size = c->PictureSize(index);
        EXPECT_GT(size.x, 0) << std::hex << id;
        EXPECT_GT(size.y, 0) << std::hex << id;
        if (bits) {
            EXPECT_EQ(c->BitsPerPixel(index), bits) << std::hex << id;
        }
        bool locked;
        if (c->IsBitmap(index)) {
            MMBitmap bitmap;
            locked = c->LockBitmap(index, bitmap, nullptr);
        } else {
            MMEncodedImage image;
            locked = c->LockEncodedImage(index, image, nullptr);
            EXPECT_LE(size.x, c->BitsPerPixel(index) == 8 ? 2048 : 512) << std::hex << id;
        }
        EXPECT_TRUE(locked) << std::hex << id;
        if (locked) c->Unlock(index);
    }

    // A script: 10-byte rows, at least one frame, every picture there.
    static void ExpectScript(MMResourceId id, std::set<int> labels = {1})
    {
        ASSERT_NE(id, -1);
        ExpectTable(id, 10);
        Table s(id, 10);
        std::set<int> found;
        for (int32_t r = 0; r < s.RowCount(); ++r) {
            if (s.ShortAt(r, 0) == 5) found.insert(s.ShortAt(r, 2));
            if (s.ShortAt(r, 0) == 7) ExpectPicture(s.LongAt(r, 2));
            if (s.ShortAt(r, 0) == 9) ExpectSound(s.LongAt(r, 2));
        }
        for (int label : labels) EXPECT_TRUE(found.count(label)) << id << " label " << label;
    }

    // A sound of the program's format: 22050 Hz, 16-bit, stereo.
    static int32_t ExpectSound(MMResourceId id)
    {
        MMSoundCollection* c = MMFindSoundCollection(id);
        EXPECT_NE(c, nullptr) << std::hex << id;
        if (!c) return 0;
        int16_t item = int16_t(id & 0xFFFF);
        EXPECT_EQ(c->Format(item), 26u) << std::hex << id;
        int32_t ms = c->Duration(item);
        EXPECT_GT(ms, 0) << std::hex << id;
        return ms;
    }

    // The table of 8-byte layout rows at offset 2 of a row: point and picture.
    static void ExpectLayoutTable(const MMRecordTable& t, int32_t row, int32_t minimumRows = 1,
                                  int32_t offset = 2)
    {
        ASSERT_GE(row, 0);
        MMResourceId sub = t.LongAt(row, offset);
        // The low half is the table number, the high half 0: the same as an item.
        EXPECT_EQ(sub, t.ItemIdAt(row, offset));
        ExpectTable(sub, 8, minimumRows);
        Table layout(sub, 8);
        for (int32_t r = 0; r < layout.RowCount(); ++r) ExpectPicture(layout.PictureIdAt(r));
    }
};

TEST_F(BuiltData, ScriptFileIsCollectionZeroWithoutConversionAndNumbersEveryTable)
{
    MMScriptFile* file = MMRecordTableDirectory().Find(0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->CollectionId(), 0);
    EXPECT_EQ(uint16_t(file->SourceCodePage()), 0xFFFF);
    EXPECT_GT(file->ItemCount(), 1294);
    for (int16_t item = 0; item < file->ItemCount(); ++item) {
        int16_t table = file->TableOfItem(item);
        if (table >= 0) {
            EXPECT_EQ(table, item);
        }
    }
}

TEST_F(BuiltData, PictureFilesCarryTheirCollections)
{
    for (uint16_t id : kPictureCollections) EXPECT_NE(MMFindPictureCollection(uint32_t(id) << 16), nullptr) << id;
    EXPECT_EQ(MMFindPictureCollection(9u << 16), nullptr);
    EXPECT_EQ(MMFindPictureCollection(50000u << 16), nullptr);
}

TEST_F(BuiltData, TextTable)
{
    ExpectTable(0, 10);
    Table t(0, 10);
    for (int key : {6, 14, 15, 16, 18, 44, 90}) EXPECT_GE(t.FindRowByKey(int16_t(key)), 0) << key;
    EXPECT_EQ(t.FindRowByKey(6), 6) << "row 6 is keyed 6";
    std::string folder = t.StringAt(t.FindRowByKey(6), 2);
    EXPECT_FALSE(folder.empty());
    EXPECT_LE(folder.size(), 64u);
    EXPECT_EQ(folder.find_first_of("\\/:*?\"<>|"), std::string::npos);
    std::string settings = std::string(t.StringAt(t.FindRowByKey(15), 2)) + t.StringAt(t.FindRowByKey(18), 2);
    EXPECT_FALSE(settings.empty());
    std::string face = t.StringAt(t.FindRowByKey(90), 2);
    EXPECT_EQ(face, "DejaVu Sans");
    // A TrueType face this machine has, as Windows has it too.
    LOGFONTA wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
    DWORD types = 0;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &wanted, CollectFontType, LPARAM(&types), 0);
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(types & TRUETYPE_FONTTYPE) << types;
}

TEST_F(BuiltData, CreationScreenLayout)
{
    ExpectTable(734, 10);
    Table t(734, 10);
    EXPECT_EQ(t.RectAt(0, 2), Box({144, 16, 784, 496}));
    EXPECT_EQ(t.FindRowByKey(66), 0) << "the canvas box is the first row and the row keyed 66";
    for (int row : {2, 3, 4, 5, 8, 14, 15, 18, 19, 31, 32, 38, 39, 40, 41, 55, 56, 57, 60, 63})
        EXPECT_EQ(t.ShortAt(row, 0), row) << "row " << row << " is keyed " << row;
    for (int key : {2, 3, 8, 15, 38, 39}) ExpectScript(t.LongAt(t.FindRowByKey(int16_t(key)), 2), {1, 3, 99});
    ExpectScript(t.LongAt(t.FindRowByKey(4), 2), {1, 3, 99});
    ExpectScript(t.LongAt(t.FindRowByKey(14), 2), {1, 3, 99});
    ExpectScript(t.LongAt(t.FindRowByKey(5), 2), {1, 3, 5, 6});
    for (int key : {40, 41}) ExpectScript(t.LongAt(t.FindRowByKey(int16_t(key)), 2), {1});
    for (int key : {18, 19, 31, 32}) ExpectPicture(t.LongAt(t.FindRowByKey(int16_t(key)), 2));
    for (int key : {48, 49, 50, 51, 52, 55, 57}) ExpectLayoutTable(t, t.FindRowByKey(int16_t(key)));
    ExpectLayoutTable(t, t.FindRowByKey(56), 2);
    ExpectLayoutTable(t, t.FindRowByKey(60));
    Pair zoom = t.PairAt(t.FindRowByKey(17), 2);
    EXPECT_TRUE(zoom.x >= 0 && zoom.x < 800 && zoom.y >= 0 && zoom.y < 600);
    MMResourceId undoSounds = t.LongAt(t.FindRowByKey(58), 2);
    ExpectTable(undoSounds, 4);
    Table sounds(undoSounds, 4);
    for (int32_t r = 0; r < sounds.RowCount(); ++r) ExpectSound(sounds.LongAt(r, 0));
    ExpectSound(t.LongAt(t.FindRowByKey(63), 2));
}

TEST_F(BuiltData, TexturesAreEightBitAtTheCanvasSize)
{
    Table layout(734, 10);
    Box canvas = layout.RectAt(0, 2);
    ExpectTable(759, 10);
    Table t(759, 10);
    int32_t first = t.FindRow(layout.ShortAt(layout.FindRowByKey(43), 2), 0, 0, 0);
    ASSERT_GE(first, 0);
    // Rows keyed 0 are the textures, rows keyed 1 the texture button's
    // previews of them, one each.
    EXPECT_EQ(t.CountRows(0, 0, 0), t.CountRows(0, 0, 1));
    for (int32_t r = 0; r < t.RowCount(); ++r) {
        MMResourceId id = t.LongAt(r, 2);
        ExpectPicture(id, 8);
        if (t.ShortAt(r, 0) != 0)
            continue;
        MMPictureCollection* c = MMFindPictureCollection(id);
        Pair size = c->PictureSize(int16_t(id & 0xFFFF));
        EXPECT_EQ(size.x, canvas.right - canvas.left);
        EXPECT_EQ(size.y, canvas.bottom - canvas.top);
        EXPECT_TRUE(c->IsBitmap(int16_t(id & 0xFFFF)));
    }
}

TEST_F(BuiltData, ClosingCredits)
{
    ExpectTable(310, 10);
    Table count(310, 10);
    int32_t pages = count.CountRows(0, 0, 0);
    EXPECT_EQ(pages, 7);
    for (int page = 0; page < 7; ++page) {
        ExpectTable(303 + page, 10);
        Table t(303 + page, 10);
        for (int32_t r = 0; r < t.RowCount(); ++r) {
            MMResourceId sub = t.LongAt(r, 2);
            if (t.ShortAt(r, 0) == 0) {
                ExpectTable(sub, 12);
                Table line(sub, 12);
                EXPECT_STRNE(line.StringAt(0, 0), "");
                for (int off : {4, 6, 8}) EXPECT_TRUE(line.ShortAt(0, off) >= 0 && line.ShortAt(0, off) <= 255);
                EXPECT_GT(line.ShortAt(0, 10), 0);
            } else {
                ExpectTable(sub, 2);
            }
        }
    }
    ExpectTable(311, 4);
    Table music(311, 4);
    EXPECT_GE(ExpectSound(music.LongAt(0, 0)), 7 * 3000) << "three seconds a page at least";
    ExpectSound(0x40000021);
    ExpectSound(0x40000022);
}

TEST_F(BuiltData, SoundsPlayedByNumber)
{
    for (MMResourceId id : {148, 456, 0x4000001F, 0x40000021, 0x40000022}) ExpectSound(id);
    MMSoundLoader* app = static_cast<MMSoundLoader*>(MMFindSoundCollection(0));
    ASSERT_NE(app, nullptr);
    EXPECT_GE(app->ItemCount(), 457);
}

TEST_F(BuiltData, SmallTablesOfSoundsAndButtons)
{
    ExpectTable(464, 10);
    ExpectSound(Table(464, 10).LongAt(Table(464, 10).FindRowByKey(1), 2));
    ExpectTable(1008, 10);
    Table stamp(1008, 10);
    for (int key : {4, 5}) ExpectSound(stamp.LongAt(stamp.FindRowByKey(int16_t(key)), 2));
    // The frame tab's drag sound: its loop is the sound of the same number.
    ExpectTable(456, 10);
    EXPECT_EQ(Table(456, 10).LongAt(Table(456, 10).FindRowByKey(1), 2), 456);
    ExpectTable(1007, 10);
    Table play(1007, 10);
    for (int key : {0, 1, 2, 3}) {
        EXPECT_EQ(play.FindRowByKey(int16_t(key)), key);
        ExpectScript(play.LongAt(key, 2), {1, 99});
    }
}

TEST_F(BuiltData, RadioAndItsStations)
{
    ExpectTable(1038, 10);
    Table t(1038, 10);
    for (int key : {0, 1, 2, 3, 4}) ExpectLayoutTable(t, t.FindRowByKey(int16_t(key)));
    for (int key : {5, 8}) ExpectScript(t.ItemIdAt(t.FindRowByKey(int16_t(key)), 2), {1, 3});
    ExpectScript(t.ItemIdAt(t.FindRowByKey(12), 2), {1});
    ExpectLayoutTable(t, t.FindRowByKey(11));
    Box closed = t.RectAt(t.FindRowByKey(13), 2);
    Box open = t.RectAt(t.FindRowByKey(14), 2);
    EXPECT_LT(closed.left, closed.right);
    EXPECT_LT(open.top, open.bottom);
    ExpectTable(1040, 8, 3);

    ExpectTable(996, 10);
    Table genres(996, 10);
    int32_t stations = genres.CountRows(0, 0, 2);
    EXPECT_GE(stations, 1);
    EXPECT_GE(genres.ShortAt(genres.FindRowByKey(0), 2), 1);
    for (int32_t s = 0; s < stations; ++s) {
        MMResourceId genre = genres.ItemIdAt(genres.FindRow(0, 0, s, 2), 2);
        ExpectTable(genre, 10);
        Table g(genre, 10);
        ExpectScript(g.ItemIdAt(g.FindRowByKey(0), 2), {1});
        MMResourceId tracks = g.ItemIdAt(g.FindRowByKey(1), 2);
        ExpectTable(tracks, 4);
        Table list(tracks, 4);
        for (int32_t r = 0; r < list.RowCount(); ++r) ExpectSound(list.LongAt(r, 0));
    }
}

// The stamp drawer's chain: genres, their pages, the pages' entries and the
// stamps each entry places, with their colour and line-art pictures and the
// animations, pre-scaled per size step.
TEST_F(BuiltData, StampGenresPagesAndEntries)
{
    Table genres(996, 10);
    int32_t genreCount = genres.CountRows(0, 0, 2);
    EXPECT_GE(genreCount, 5);
    EXPECT_LE(genreCount, 15) << "genre + 1 is a music choice";
    std::set<int> kinds;
    int grouped = 0;
    std::set<MMResourceId> animated;
    for (int32_t g = 0; g < genreCount; ++g) {
        Table genre(genres.ItemIdAt(genres.FindRow(0, 0, g, 2), 2), 10);
        int32_t pages = genre.CountRows(0, 0, 2);
        EXPECT_GE(pages, 2) << "genre " << g;
        for (int32_t p = 0; p < pages; ++p) {
            Table page(genre.ItemIdAt(genre.FindRow(0, 0, p, 2), 2), 10);
            int32_t entries = page.CountRows(0, 0, 0);
            EXPECT_GE(entries, 1);
            for (int32_t e = 0; e < entries; ++e) {
                Table entry(page.ItemIdAt(page.FindRow(0, 0, e, 0), 2), 10);
                ExpectScript(entry.ItemIdAt(entry.FindRowByKey(0), 2), {1, 5});
                int32_t stamps = entry.CountRows(0, 0, 1);
                EXPECT_GE(stamps, 1);
                grouped += stamps > 1;
                for (int32_t i = 0; i < stamps; ++i) {
                    Table stamp(entry.ItemIdAt(entry.FindRow(0, 0, i, 1), 2), 10);
                    int16_t layer = stamp.ShortAt(stamp.FindRowByKey(0), 2);
                    int32_t kind = stamp.LongAt(stamp.FindRowByKey(1), 2);
                    kinds.insert(layer == 0 ? 0 : layer == 1 ? 1 : layer == 3 ? 2 : kind == 3 ? 3 : 4);
                    MMResourceId line = stamp.LongAt(stamp.FindRowByKey(2), 2);
                    MMResourceId colour = stamp.LongAt(stamp.FindRowByKey(3), 2);
                    ExpectPicture(line, 32);
                    ExpectPicture(colour, 32);
                    Pair size = MMFindPictureCollection(colour)->PictureSize(int16_t(colour));
                    Pair lineSize = MMFindPictureCollection(line)->PictureSize(int16_t(line));
                    EXPECT_EQ(size, lineSize);
                    int32_t row = stamp.FindRowByKey(4);
                    if (row < 0)
                        continue;
                    MMResourceId steps = stamp.ItemIdAt(row, 2);
                    animated.insert(steps);
                    Table scripts(steps, 2);
                    ASSERT_EQ(11, scripts.RowCount());
                    for (int32_t s = 0; s < 11; ++s) {
                        MMResourceId script = scripts.ItemIdAt(s, 0);
                        ExpectScript(script, {1});
                        Table frames(script, 10);
                        MMResourceId first = frames.LongAt(frames.FindRowByKey(7), 2);
                        Pair scaled = MMFindPictureCollection(first)->PictureSize(int16_t(first));
                        EXPECT_EQ(size.x * (s < 1 ? 1 : s) / 10, scaled.x) << "size step " << s;
                    }
                }
            }
        }
    }
    EXPECT_EQ(std::set<int>({0, 1, 2, 3, 4}), kinds);
    EXPECT_GE(grouped, 1);
    EXPECT_GE(animated.size(), 2u);
}

TEST_F(BuiltData, ImportAndPrintPanels)
{
    ExpectTable(1273, 10);
    Table import(1273, 10);
    for (int row : {0, 2, 3}) ExpectScript(import.LongAt(row, 2), {1});
    ExpectScript(import.LongAt(import.FindRow(0, 0, 1, 1), 2), {1, 3});
    ExpectLayoutTable(import, 0, 1, 6);
    ExpectTable(1294, 10);
    Table print(1294, 10);
    for (int row = 0; row < 6; ++row) ExpectScript(print.LongAt(row, 2), {1, 3});
    ExpectLayoutTable(print, 0, 1, 6);
}

}  // namespace

TEST_F(BuiltData, CanvasZoomBars)
{
    Table t(734, 10);
    for (int key : {21, 22, 23, 24}) {
        MMResourceId sub = t.LongAt(t.FindRowByKey(int16_t(key)), 2);
        ExpectTable(sub, 12);
        Table bar(sub, 12);
        for (int offset : {0, 4, 8}) ExpectPicture(bar.LongAt(0, offset), 32);
    }
    for (int key : {25, 26, 27, 28, 29}) ExpectPicture(t.LongAt(t.FindRowByKey(int16_t(key)), 2), 32);
    auto size = [&](int key) {
        MMResourceId id = t.LongAt(t.FindRowByKey(int16_t(key)), 2);
        return MMFindPictureCollection(id)->PictureSize(int16_t(id & 0xFFFF));
    };
    Box canvas = t.RectAt(0, 2);
    EXPECT_EQ(size(28).y, size(27).x) << "both bars are as thick";
    EXPECT_EQ(size(26).x, canvas.right - canvas.left);
    EXPECT_EQ(size(25).y, canvas.bottom - canvas.top);
    // The bar's thumb takes clicks over a square as long as the bar is thick.
    int32_t thick = size(28).y;
    for (int key : {22, 24}) {
        MMResourceId thumb = Table(t.LongAt(t.FindRowByKey(int16_t(key)), 2), 12).LongAt(0, 4);
        Pair thumbSize = MMFindPictureCollection(thumb)->PictureSize(int16_t(thumb & 0xFFFF));
        EXPECT_EQ(16, thick);
        EXPECT_EQ(thick, thumbSize.x) << key;
        EXPECT_EQ(thick, thumbSize.y) << key;
    }
}

TEST_F(BuiltData, PhaserBurstsAreSquareEightBitFramesOnFlatGrey)
{
    int32_t previous = 0;
    for (int type = 0; type < 5; ++type) {
        ExpectTable(529 + type, 4);
        Table frames(529 + type, 4);
        int32_t side = 0;
        for (int32_t r = 0; r < frames.RowCount(); ++r) {
            MMResourceId id = frames.LongAt(r, 0);
            ExpectPicture(id, 8);
            MMPictureCollection* c = MMFindPictureCollection(id);
            int16_t index = int16_t(id & 0xFFFF);
            Pair size = c->PictureSize(index);
            EXPECT_EQ(size.x, size.y) << type;
            if (r == 0) side = size.x;
            EXPECT_EQ(side, size.x) << "every frame the size of the first";
            ASSERT_TRUE(c->IsBitmap(index)) << "the phaser locks its frames as plain pixels";
            MMBitmap bitmap;
            ASSERT_TRUE(c->LockBitmap(index, bitmap, nullptr));
            if (r == 0) {
                EXPECT_EQ(128, *bitmap.PixelAddress(bitmap.box.left, bitmap.box.top));
            }
            c->Unlock(index);
        }
        EXPECT_GT(side, previous) << "a larger size makes a larger burst";
        previous = side;
    }
}

// The settings rows of the painting tools: a square plain 8-bit nib, diameters
// that make a nib set, sliders in range, a prefix for the registry names.
TEST_F(BuiltData, PaintToolSettingsRows)
{
    for (int id : {498, 499, 500, 507, 508, 514, 515, 516, 517, 518, 522, 523, 524, 525, 526, 527, 528}) {
        ExpectTable(id, 48, 5);
        Table t(id, 48);
        for (int32_t r = 0; r < t.RowCount(); ++r) {
            SCOPED_TRACE(testing::Message() << "table " << id << " row " << r);
            for (int off = 0; off < 28; off += 2) {
                EXPECT_GE(t.ShortAt(r, off), 0);
                EXPECT_LE(t.ShortAt(r, off), 255);
            }
            EXPECT_LE(t.ShortAt(r, 16), t.ShortAt(r, 18)) << "diameter min above max";
            for (int off : {36, 38}) {
                EXPECT_GE(t.ShortAt(r, off), 0);
                EXPECT_LE(t.ShortAt(r, off), 510);
            }
            MMResourceId nib = t.LongAt(r, 40);
            ExpectPicture(nib, 8);
            MMPictureCollection* c = MMFindPictureCollection(nib);
            EXPECT_TRUE(c->IsBitmap(int16_t(nib))) << "nibs are locked as plain pixels";
            Pair size = c->PictureSize(int16_t(nib));
            EXPECT_EQ(size.x, size.y);
            if (id != 524) {
                EXPECT_STRNE("", t.StringAt(r, 44));
            }
        }
    }
    // The erasers keep the doubled depth of the height eraser below 256.
    for (int id : {524, 525, 527}) {
        Table t(id, 48);
        for (int32_t r = 0; r < t.RowCount(); ++r) EXPECT_LT(t.ShortAt(r, 26), 128) << id;
    }
    // Oil and the bundle: bristles, and a bundle never beyond its 20 colours.
    Table oil(514, 48), bundle(508, 48);
    for (int32_t r = 0; r < 5; ++r) {
        EXPECT_GT(oil.ShortAt(r, 28), 0);
        EXPECT_GT(oil.ShortAt(r, 32), 0);
        EXPECT_GT(bundle.ShortAt(r, 28), 0);
        EXPECT_LE(bundle.ShortAt(r, 28), 20);
        ExpectTable(509 + r, 10);
        Table offsets(509 + r, 10);
        EXPECT_EQ(offsets.CountRows(0, 0, 0), offsets.CountRows(0, 0, 1));
        EXPECT_EQ(offsets.CountRows(0, 0, 0), bundle.ShortAt(r, 28));
        EXPECT_EQ(offsets.CountRows(0, 0, 2), bundle.ShortAt(r, 28));
    }
}

TEST_F(BuiltData, PaintToolCursorsAndSounds)
{
    Table cursors(760, 10);
    for (int key : {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 15, 19, 21, 22, 23, 24}) {
        int32_t row = cursors.FindRowByKey(int16_t(key));
        ASSERT_GE(row, 0) << key;
        EXPECT_GE(cursors.LongAt(row, 2), 0);
        EXPECT_LT(cursors.LongAt(row, 2), 42) << "the application has 42 cursors";
    }
    std::vector<MMResourceId> tables = {456, 458, 459, 461, 462, 463, 465, 466, 467, 468, 470, 472,
                                        475, 476, 479, 480, 481, 484, 485, 486, 487, 488, 489};
    Table tube(542, 2);
    for (int32_t r = 0; r < tube.RowCount(); ++r) tables.push_back(tube.ItemIdAt(r, 0));
    for (MMResourceId id : tables) {
        ExpectTable(id, 10);
        Table t(id, 10);
        EXPECT_GE(t.FindRowByKey(1), 0) << id << " has its loop";
        for (int32_t r = 0; r < t.RowCount(); ++r) {
            EXPECT_GE(t.ShortAt(r, 0), 0);
            EXPECT_LE(t.ShortAt(r, 0), 2);
            ExpectSound(t.LongAt(r, 2));
        }
    }
    ExpectTable(497, 2);
    Table rope(497, 2);
    for (int32_t r = 0; r < rope.RowCount(); ++r) {
        Table pair(rope.ItemIdAt(r, 0), 10);
        for (int key : {0, 1}) ExpectSound(pair.LongAt(pair.FindRowByKey(int16_t(key)), 2));
    }
}

// The word lists of the picture tools: markers 0 and 1 never appear as data,
// every entry has its picture, the tube has its sixteen pieces.
TEST_F(BuiltData, PictureToolLists)
{
    struct Entry {
        MMResourceId animation;
        MMResourceId picture;
    };
    auto entries = [](MMResourceId list) {
        Table words(list, 2);
        std::vector<Entry> out;
        for (int32_t k = 0;; ++k) {
            int32_t zero = words.FindRow(0, 0, k, 0);
            int32_t one = words.FindRow(0, 0, k, 1);
            if (one < 0) break;
            EXPECT_LE(one + 2, words.RowCount() - 1);
            out.push_back({zero < 0 ? -2 : words.ItemIdAt(zero + 1, 0), words.LongAt(one + 1, 0)});
            for (int32_t w : {one + 1, one + 2}) {
                EXPECT_NE(0, words.ShortAt(w, 0)) << list;
                EXPECT_NE(1, words.ShortAt(w, 0)) << list;
            }
        }
        return out;
    };
    for (int id : {506, 539, 541}) ExpectTable(id, 8, id == 541 ? 2 : 5);
    Table cream(506, 8), spray(539, 8), tube(541, 8);
    for (int32_t r = 0; r < cream.RowCount(); ++r) {
        std::vector<Entry> e = entries(cream.ItemIdAt(r, 0));
        ASSERT_EQ(1u, e.size());
        ExpectPicture(e[0].picture, 32);
    }
    for (int32_t r = 0; r < spray.RowCount(); ++r) {
        MMResourceId list = spray.ItemIdAt(r, 0);
        std::vector<Entry> e = entries(list);
        EXPECT_EQ(int32_t(e.size()), Table(list, 2).CountRows(0, 0, 0)) << "one picture per entry";
        EXPECT_GE(e.size(), 1u);
        for (const Entry& x : e) {
            ExpectPicture(x.picture, 32);
            EXPECT_TRUE(MMFindPictureCollection(x.picture)->IsBitmap(int16_t(x.picture)));
            if (x.animation != -1) ExpectScript(x.animation, {1});
        }
    }
    Table sounds(542, 2);
    EXPECT_GE(sounds.RowCount(), tube.RowCount());
    for (int32_t r = 0; r < tube.RowCount(); ++r) {
        std::vector<Entry> e = entries(tube.ItemIdAt(r, 0));
        ASSERT_EQ(16u, e.size());
        for (const Entry& x : e) {
            EXPECT_EQ(-1, x.animation);
            ExpectPicture(x.picture, 32);
            EXPECT_EQ(Pair({100, 100}), MMFindPictureCollection(x.picture)->PictureSize(int16_t(x.picture)));
        }
    }
}

// The rope's controls and dab, the slate tray's layout and the chalk talk's
// lessons: every picture, sound and script there; the board lies on the
// painting canvas, so a chalk drawing pasted into the slate lands where drawn.
TEST_F(BuiltData, RopeSlateAndChalkTalk)
{
    ExpectTable(546, 4);
    ExpectPicture(Table(546, 4).LongAt(0, 0), 8);
    for (MMResourceId id : {997, 998, 999, 1000}) {
        ExpectTable(id, 8, 2);
        for (int32_t r = 0; r < 2; ++r) ExpectPicture(Table(id, 8).PictureIdAt(r));
    }
    for (MMResourceId id : {483, 491}) {
        Table t(id, 10);
        ASSERT_GE(t.FindRowByKey(1), 0) << id;
        for (int32_t r = 0; r < t.RowCount(); ++r) ExpectSound(t.LongAt(r, 2));
    }
    EXPECT_NE(Table(0, 10).FindRowByKey(22), -1) << "the selection's resize alert";
    Table cursors(760, 10);
    for (int key : {26, 27, 28}) ASSERT_GE(cursors.FindRowByKey(int16_t(key)), 0) << key;

    Table slate(772, 10);
    const int tabRows[2] = {5, 1};
    for (int key : {0, 1}) {
        MMResourceId id = slate.ItemIdAt(slate.FindRowByKey(int16_t(key)), 2);
        ExpectTable(id, 40, tabRows[key]);
        Table tabs(id, 40);
        for (int32_t r = 0; r < tabRows[key]; ++r)
            for (int offset : {4, 16, 28}) {
                ExpectPicture(tabs.LongAt(r, offset), 32);
                Box window = tabs.RectAt(r, offset + 4);
                EXPECT_LT(window.left, window.right);
                EXPECT_LT(window.top, window.bottom);
            }
    }
    for (int key : {5, 9, 10, 11, 12, 14}) ExpectPicture(slate.LongAt(slate.FindRowByKey(int16_t(key)), 2));
    ExpectSound(slate.LongAt(slate.FindRowByKey(7), 2));
    ExpectScript(slate.LongAt(slate.FindRowByKey(8), 2), {1, 5});
    Table loop(slate.ItemIdAt(slate.FindRowByKey(6), 2), 12);
    for (int offset : {4, 8}) ExpectPicture(loop.LongAt(0, offset));
    for (int key = 21; key <= 25; ++key) EXPECT_GT(slate.ShortAt(slate.FindRowByKey(int16_t(key)), 2), 0);

    Table chalk(1271, 10);
    Table layout(734, 10);
    EXPECT_EQ(chalk.RectAt(chalk.FindRowByKey(21), 2), layout.RectAt(layout.FindRowByKey(66), 2));
    for (int key : {0, 1, 9}) ExpectLayoutTable(chalk, chalk.FindRowByKey(int16_t(key)));
    for (int key : {2, 3, 18, 19}) ExpectScript(chalk.LongAt(chalk.FindRowByKey(int16_t(key)), 2));
    for (int key : {4, 20}) {
        Table list(chalk.ItemIdAt(chalk.FindRowByKey(int16_t(key)), 2), 2);
        ASSERT_GE(list.RowCount(), 1) << key;
        for (int32_t r = 0; r < list.RowCount(); ++r) ExpectScript(list.ItemIdAt(r, 0));
    }
    for (int key = 13; key <= 17; ++key) {
        Table light(chalk.ItemIdAt(chalk.FindRowByKey(int16_t(key)), 2), 12);
        for (int offset : {4, 8}) ExpectPicture(light.LongAt(0, offset));
    }
    EXPECT_GT(chalk.ShortAt(chalk.FindRowByKey(23), 2), 0);
    EXPECT_GT(chalk.ShortAt(chalk.FindRowByKey(24), 2), 0);
    Box board = chalk.RectAt(chalk.FindRowByKey(21), 2);
    Table lessons(chalk.ItemIdAt(chalk.FindRowByKey(7), 2), 10);
    ASSERT_GE(lessons.RowCount(), 3);
    bool circleAndSquare = false;
    for (int32_t i = 0; i < lessons.RowCount(); ++i) {
        Table lesson(lessons.ItemIdAt(i, 2), 10);
        ExpectScript(lesson.LongAt(lesson.FindRowByKey(0), 2));
        ExpectScript(lesson.LongAt(lesson.FindRowByKey(1), 2));
        for (int key : {4, 5}) ExpectSound(lesson.LongAt(lesson.FindRowByKey(int16_t(key)), 2));
        Table steps(lesson.ItemIdAt(lesson.FindRowByKey(2), 2), 10);
        ASSERT_GE(steps.RowCount(), 3) << i;
        std::set<int> kinds;
        for (int32_t s = 0; s < steps.RowCount(); ++s) {
            Table step(steps.ItemIdAt(s, 2), 10);
            ExpectScript(step.LongAt(step.FindRowByKey(1), 2), {1, 2, 12, 33});
            Table props(step.ItemIdAt(step.FindRowByKey(2), 2), 10);
            for (int key : {0, 1}) {
                EXPECT_GE(props.ShortAt(props.FindRowByKey(int16_t(key)), 2), 0);
                EXPECT_LE(props.ShortAt(props.FindRowByKey(int16_t(key)), 2), 4);
            }
            int32_t kindRow = props.FindRowByKey(5);
            kinds.insert(kindRow >= 0 ? props.ShortAt(kindRow, 2) : 0);
            Table points(props.ItemIdAt(props.FindRowByKey(4), 2), 6);
            ASSERT_GE(points.RowCount(), 2);
            EXPECT_LE(points.RowCount(), 512);
            for (int32_t p = 0; p < points.RowCount(); ++p) EXPECT_TRUE(board.Contains(points.PairAt(p, 2)));
        }
        circleAndSquare = circleAndSquare || (kinds.count(1) && kinds.count(2));
    }
    EXPECT_TRUE(circleAndSquare) << "a lesson draws a circle and a square";
}

// The drawer's brass knob, shown over everything in stamp mode, sits clear
// of the two mode buttons: no pixel of it covers a pixel of theirs.
TEST_F(BuiltData, DrawerKnobLeavesTheModeButtonsClear)
{
    Table knob(1020, 8);
    Pair at = knob.PairAt(0, 0);
    MMResourceId knobId = knob.PictureIdAt(0);
    MMPictureCollection* kc = MMFindPictureCollection(knobId);
    ASSERT_NE(nullptr, kc);
    int16_t ki = int16_t(knobId & 0xFFFF);
    Pair knobSize = kc->PictureSize(ki);
    Table layout(734, 10);
    for (int key : {38, 39}) {
        Table script(layout.LongAt(layout.FindRowByKey(int16_t(key)), 2), 10);
        int32_t place = script.FindRowByKey(6);
        int32_t picture = script.FindRowByKey(7);
        ASSERT_GE(place, 0) << key;
        ASSERT_GE(picture, 0) << key;
        Pair button = {script.ShortAt(place, 6), script.ShortAt(place, 8)};
        MMResourceId id = script.LongAt(picture, 2);
        MMPictureCollection* c = MMFindPictureCollection(id);
        ASSERT_NE(nullptr, c) << key;
        int16_t index = int16_t(id & 0xFFFF);
        Pair size = c->PictureSize(index);
        int covered = 0;
        for (int32_t y = 0; y < knobSize.y; ++y)
            for (int32_t x = 0; x < knobSize.x; ++x) {
                Pair over = {at.x + x - button.x, at.y + y - button.y};
                if (over.x < 0 || over.y < 0 || over.x >= size.x || over.y >= size.y)
                    continue;
                covered += kc->TransparencyAt(ki, Pair{x, y}) < 255 &&
                           c->TransparencyAt(index, over) < 255;
            }
        EXPECT_EQ(0, covered) << "mode button of row " << key;
    }
}

// A frame tab's window is glass over the frame's colour: its middle is clear,
// so the colour shows true, and a see-through shine and shade lie over the
// rest, so an empty frame's grey is not a plain box.
TEST_F(BuiltData, SlateFrameTabWindowsAreGlassWithAClearMiddle)
{
    Table slate(772, 10);
    Table tabs(slate.ItemIdAt(slate.FindRowByKey(0), 2), 40);
    ASSERT_EQ(5, tabs.RowCount());
    for (int32_t r = 0; r < tabs.RowCount(); ++r)
        for (int offset : {4, 16, 28}) {
            MMResourceId id = tabs.LongAt(r, offset);
            MMPictureCollection* c = MMFindPictureCollection(id);
            ASSERT_NE(nullptr, c) << std::hex << id;
            int16_t index = int16_t(id & 0xFFFF);
            Box window = tabs.RectAt(r, offset + 4);
            Pair middle = {(window.left + window.right) / 2, (window.top + window.bottom) / 2};
            EXPECT_EQ(255, c->TransparencyAt(index, middle)) << r << " " << offset;
            int glass = 0;
            for (int32_t y = window.top + 2; y < window.bottom - 2; ++y)
                for (int32_t x = window.left + 2; x < window.right - 2; ++x) {
                    int clear = c->TransparencyAt(index, Pair{x, y});
                    glass += clear > 0 && clear < 255;
                }
            EXPECT_GE(glass, 80) << r << " " << offset;
        }
}

// Small buttons framed tightly show being chosen by their body or a glow
// inside their frame, not by a glow the picture's edge would cut into a
// square: the corners of their chosen pictures stay clear. (Sizes and
// shapes: the pictures of labels 3 and 5 of each button's script; tools:
// the first picture of label 6; text styles: the chosen picture of each
// row of the text tray's table.)
TEST_F(BuiltData, SmallChosenButtonsKeepClearCorners)
{
    std::vector<MMResourceId> chosen;
    auto collect = [&](MMResourceId buttons, std::set<int> labels, bool firstOnly) {
        Table t(buttons, 10);
        for (int32_t row = 0; row < t.RowCount(); ++row) {
            Table s(t.LongAt(row, 2), 10);
            int label = 0;
            for (int32_t r = 0; r < s.RowCount(); ++r) {
                if (s.ShortAt(r, 0) == 5)
                    label = s.ShortAt(r, 2);
                if (s.ShortAt(r, 0) == 7 && labels.count(label)) {
                    chosen.push_back(s.LongAt(r, 2));
                    label = firstOnly ? 0 : label;
                }
            }
        }
    };
    for (MMResourceId buttons : {762, 763, 764}) collect(buttons, {3, 5}, false);
    collect(761, {6}, true);   // the button, not the bucket's paint over it
    Table text(665, 16);
    for (int16_t key : {1, 2, 3, 4})
        chosen.push_back(text.LongAt(text.FindRowByKey(key), 10));
    EXPECT_GE(chosen.size(), 44u);
    for (MMResourceId id : chosen) {
        MMPictureCollection* c = MMFindPictureCollection(id);
        ASSERT_NE(nullptr, c) << std::hex << id;
        int16_t index = int16_t(id & 0xFFFF);
        Pair size = c->PictureSize(index);
        for (Pair corner : {Pair{0, 0}, Pair{size.x - 1, 0}, Pair{0, size.y - 1}})
            EXPECT_EQ(255, c->TransparencyAt(index, corner))
                << std::hex << id << std::dec << " " << corner.x << "," << corner.y;
    }
}
