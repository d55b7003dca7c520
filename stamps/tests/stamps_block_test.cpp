// The stamps block of a page: what the writer stores, what the reader gives
// back, and what it makes of damaged blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/pending_error.h"
#include "stamps/stamps_block.h"

namespace {

KVXStampRecord Stamp(int32_t kind, int16_t depth, int16_t x, int16_t y, int16_t w, int16_t h)
{
    KVXStampRecord record;
    record.kind = kind;
    record.genre = 2;
    record.depth = depth;
    record.bwPicture = 0x69780010 + kind * 2;
    record.colourPicture = record.bwPicture + 1;
    record.animationTable = kind >= kStampCharacter ? 300 : -1;
    record.sizeStep = kind >= kStampCharacter ? 7 : 0;
    record.bounds = {x, y, int16_t(x + w), int16_t(y + h)};
    record.size = {w, h};
    return record;
}

std::vector<uint8_t> Bytes(const KVXStampsBlock& block)
{
    std::vector<uint8_t> bytes(kStampsBlockSize + 8, 0xCD);
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    EXPECT_TRUE(block.Write(memory));
    EXPECT_EQ(kStampsBlockSize, memory.Tell());
    bytes.resize(kStampsBlockSize);
    return bytes;
}

bool ReadBlock(std::vector<uint8_t> bytes, KVXStampsBlock* block, KVXPictureCheck check = nullptr)
{
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    return block->Read(memory, check, nullptr);
}

struct StampsBlockTest : ::testing::Test {
    void SetUp() override { ClearPendingError(); }
    void TearDown() override { ClearPendingError(); }
};

struct Page {
    const char* name;
    void (*fill)(KVXStampsBlock&);
};

const Page kPages[] = {
    {"empty", [](KVXStampsBlock&) {}},
    {"foreground and character",
     [](KVXStampsBlock& b) {
         b.places[2] = Stamp(kStampForeground, 18, 144, 300, 640, 196);
         b.places[3] = Stamp(kStampCharacter, 0, 300, 120, 112, 140);
     }},
    {"mirrored both ways",
     [](KVXStampsBlock& b) {
         b.places[3] = Stamp(kStampProp, 0, 10, 20, 30, 40);
         b.places[3].mirroredX = b.places[3].mirroredY = 1;
         b.places[3].animated = 1;
     }},
    {"every layer and 15 listed",
     [](KVXStampsBlock& b) {
         b.places[0] = Stamp(kStampBackground, 0, 144, 16, 640, 480);
         b.places[1] = Stamp(kStampMidground, 1, 144, 200, 640, 296);
         b.places[2] = Stamp(kStampForeground, 18, 144, 300, 640, 196);
         for (int i = 0; i < kListedStampLimit; ++i)
             b.places[3 + i] = Stamp(i % 2 ? kStampProp : kStampCharacter, int16_t(i),
                                     int16_t(150 + 20 * i), int16_t(30 + 10 * i), 60, 70);
     }},
    {"radio state",
     [](KVXStampsBlock& b) {
         b.sceneData[0] = 2;
         b.sceneData[1] = 5;
         b.sceneData[2] = 896;
         b.sceneData[3] = 2;
         b.places[0] = Stamp(kStampBackground, 0, 144, 16, 640, 480);
     }},
};

TEST_F(StampsBlockTest, PagesRoundTripToEqualStampsAndBytes)
{
    for (const Page& page : kPages) {
        SCOPED_TRACE(page.name);
        KVXStampsBlock written;
        written.SetDefaultSceneData(4);
        page.fill(written);
        std::vector<uint8_t> bytes = Bytes(written);
        ASSERT_EQ(size_t(kStampsBlockSize), bytes.size());
        int16_t count = 0;
        std::memcpy(&count, bytes.data(), 2);
        EXPECT_EQ(written.Count(), count);

        KVXStampsBlock read;
        ASSERT_TRUE(ReadBlock(bytes, &read));
        EXPECT_FALSE(IsErrorPending());
        for (int i = 0; i < kStampPlaces; ++i)
            EXPECT_TRUE(read.places[i] == written.places[i]) << "place " << i;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(written.sceneData[i], read.sceneData[i]);
        EXPECT_EQ(bytes, Bytes(read));
    }
}

TEST_F(StampsBlockTest, AnEmptyPageStoresCountZeroTheDefaultSceneWordsAndEmptyRecords)
{
    KVXStampsBlock block;
    block.SetDefaultSceneData(7);
    std::vector<uint8_t> bytes = Bytes(block);
    const uint8_t head[] = {0, 0, 0, 0, 7, 0, 0, 4, 3, 0};
    EXPECT_EQ(0, std::memcmp(head, bytes.data(), sizeof head));
    const uint8_t empty[kStampRecordSize] = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 1, 0, 0xFF, 0xFF,
                                             0xFF, 0xFF, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < kStampPlaces; ++i)
        EXPECT_EQ(0, std::memcmp(empty, bytes.data() + 10 + i * kStampRecordSize, kStampRecordSize))
            << "record " << i;
}

// The block of an earlier build, kept as it was written: this build must read
// it and write the same bytes back.
TEST_F(StampsBlockTest, TheKeptBlockReadsAndRewritesByteForByte)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(10));  // RCDATA
    ASSERT_NE(nullptr, found);
    ASSERT_EQ(DWORD(kStampsBlockSize), SizeofResource(nullptr, found));
    const uint8_t* kept = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, found)));
    std::vector<uint8_t> bytes(kept, kept + kStampsBlockSize);

    KVXStampsBlock block;
    ASSERT_TRUE(ReadBlock(bytes, &block));
    EXPECT_EQ(4, block.Count());
    EXPECT_EQ(5, block.sceneData[1]);
    EXPECT_EQ(kStampBackground, block.places[0].kind);
    EXPECT_TRUE(block.places[1].IsEmpty());
    EXPECT_EQ(18, block.places[2].depth);
    const KVXStampRecord& character = block.places[3];
    EXPECT_EQ(kStampCharacter, character.kind);
    EXPECT_EQ(int32_t(0xDEA80004), character.bwPicture);
    EXPECT_EQ(300, character.bounds.left);
    EXPECT_EQ(140, character.size.y);
    EXPECT_EQ(7, character.sizeStep);
    EXPECT_EQ(1, character.mirroredX);
    EXPECT_EQ(1, block.places[4].mirroredY);
    EXPECT_EQ(bytes, Bytes(block));
}

// Offsets of a record's fields within the block, from the first record.
const int kFirstRecord = 10;
const int kListed = kFirstRecord + 3 * kStampRecordSize;

struct Damage {
    const char* name;
    int offset;          // into the block
    std::vector<uint8_t> bytes;
    int good;            // stamps that survive of the four below
};

// Background, foreground and two listed stamps, then each damage alone.
KVXStampsBlock FourStamps()
{
    KVXStampsBlock block;
    block.places[0] = Stamp(kStampBackground, 0, 144, 16, 640, 480);
    block.places[2] = Stamp(kStampForeground, 18, 144, 300, 640, 196);
    block.places[3] = Stamp(kStampCharacter, 0, 300, 120, 112, 140);
    block.places[4] = Stamp(kStampProp, 1, 500, 200, 80, 50);
    return block;
}

TEST_F(StampsBlockTest, DamagedRecordsAreSkippedAndTheGoodStampsStay)
{
    const int character = kListed;
    const Damage damages[] = {
        {"character kind in the background place", kFirstRecord, {3, 0, 0, 0}, 3},
        {"background kind in a listed place", character, {0, 0, 0, 0}, 3},
        {"kind 5", character, {5, 0, 0, 0}, 3},
        {"mirror byte 2", character + 22, {2}, 3},
        {"animated byte 0xFF", character + 24, {0xFF}, 3},
        {"size step 11", character + 20, {11, 0}, 3},
        {"size step -1", character + 20, {0xFF, 0xFF}, 3},
        {"width 0", character + 33, {0, 0}, 3},
        {"negative height", character + 35, {0x00, 0x80}, 3},
        {"count 5, four stored", 0, {5, 0}, 4},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        ClearPendingError();
        std::vector<uint8_t> bytes = Bytes(FourStamps());
        std::memcpy(bytes.data() + damage.offset, damage.bytes.data(), damage.bytes.size());
        KVXStampsBlock read;
        EXPECT_FALSE(ReadBlock(bytes, &read));
        EXPECT_EQ(AFE_USER_ERROR, gPendingError.code);
        EXPECT_EQ(damage.good, read.Count());
        EXPECT_FALSE(read.MissedPictures());
    }
}

TEST_F(StampsBlockTest, ACountOutOfRangeOrAShortBlockRefusesTheWholeBlock)
{
    for (int16_t count : {int16_t(-1), int16_t(19), int16_t(0x7FFF)}) {
        ClearPendingError();
        std::vector<uint8_t> bytes = Bytes(FourStamps());
        std::memcpy(bytes.data(), &count, 2);
        KVXStampsBlock read;
        EXPECT_FALSE(ReadBlock(bytes, &read)) << count;
        EXPECT_TRUE(IsErrorPending());
        EXPECT_EQ(0, read.Count());
    }
    ClearPendingError();
    std::vector<uint8_t> bytes = Bytes(FourStamps());
    bytes.resize(kStampsBlockSize - 1);
    KVXStampsBlock read;
    EXPECT_FALSE(ReadBlock(bytes, &read));
    EXPECT_TRUE(IsErrorPending());
    EXPECT_EQ(0, read.Count());
}

TEST_F(StampsBlockTest, AStampWhosePictureDoesNotLoadIsSkippedAndReported)
{
    KVXStampsBlock read;
    KVXPictureCheck check = [](int32_t id, void*) { return id != 0x69780010 + 2 * kStampProp; };
    EXPECT_FALSE(ReadBlock(Bytes(FourStamps()), &read, check));
    EXPECT_TRUE(IsErrorPending());
    EXPECT_TRUE(read.MissedPictures());
    EXPECT_EQ(3, read.Count());
    EXPECT_TRUE(read.places[4].IsEmpty());
}

TEST_F(StampsBlockTest, SeededFuzzingNeverCrashesAndKeepsOnlyFittingStamps)
{
    std::mt19937 random(24);
    const std::vector<uint8_t> good = Bytes(FourStamps());
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = good;
        int changes = 1 + int(random() % 6);
        for (int i = 0; i < changes; ++i)
            bytes[random() % bytes.size()] = uint8_t(random());
        ClearPendingError();
        KVXStampsBlock read;
        bool ok = ReadBlock(bytes, &read);
        EXPECT_EQ(!ok, IsErrorPending()) << "round " << round;
        for (int place = 0; place < kStampPlaces; ++place) {
            const KVXStampRecord& record = read.places[place];
            if (!record.IsEmpty()) {
                EXPECT_TRUE(StampRecordFitsPlace(record, place)) << "round " << round;
            }
        }
        if (bytes == good) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(4, read.Count());
        }
    }
}

}  // namespace
