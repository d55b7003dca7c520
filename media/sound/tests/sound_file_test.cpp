#include <gtest/gtest.h>

#include <cstring>
#include "framework/pending_error.h"
#include "media/sound/sound_codec.h"
#include "media/sound/sound_format.h"
#include "sound_fixture.h"

namespace {

struct SoundFiles : testing::Test {
    ScratchFolder scratch;
    const FSDirectory& folder = scratch.folder;
    SoundFiles() { ClearPendingError(); }
    ~SoundFiles() override { ClearPendingError(); }
};

std::vector<uint8_t> ItemBytes(MMSoundResourceFile& file, int16_t item)
{
    std::vector<uint8_t> bytes(file.ItemSize(item));
    EXPECT_TRUE(file.ReadItemBytes(item, bytes.data(), int32_t(bytes.size())));
    return bytes;
}

TEST_F(SoundFiles, WriterStoresPcmCodesAndEnvelopes)
{
    std::vector<TestSound> sounds(3);
    sounds[0].samples = Tone(1000, 2205, false);
    sounds[0].source.name = "beep";
    sounds[1].samples = Tone(500, 2000, true);
    sounds[1].source.stereo = true;
    sounds[1].source.envelope = true;
    sounds[1].source.compress = true;
    sounds[2].samples = Tone(250, 100, false);
    sounds[2].source.rateCode = 0;
    sounds[2].source.streamed = true;
    ASSERT_TRUE(WriteSoundFile(folder, "Test.MMA", sounds));

    MMSoundResourceFile file;
    ASSERT_TRUE(file.Open(folder, "Test.MMA", true, true));
    EXPECT_STREQ(file.ItemName(0), "beep");
    EXPECT_EQ(file.CollectionId(), kTestSoundCollection);

    EXPECT_EQ(file.Attributes(0), 0x05);
    EXPECT_EQ(file.Format(0), 10u);
    EXPECT_EQ(file.StoredSize(0), 4410);
    EXPECT_EQ(file.DecodedSize(0), 4410);
    EXPECT_EQ(file.Duration(0), 100);
    std::vector<uint8_t> pcm = ItemBytes(file, 0);
    EXPECT_EQ(std::memcmp(pcm.data(), sounds[0].samples.data(), 4410), 0);

    // 4000 samples: 3 envelope entries of 1764 samples (40 ms of stereo).
    EXPECT_EQ(file.Attributes(1), 0x4D);
    EXPECT_TRUE(file.IsCompressed(1));
    EXPECT_EQ(file.EnvelopeSize(1), 3);
    EXPECT_EQ(file.StoredSize(1), 4000);
    EXPECT_EQ(file.DecodedSize(1), 8000);
    EXPECT_EQ(file.Format(1), 26u);
    std::vector<uint8_t> item = ItemBytes(file, 1);
    std::vector<uint8_t> envelope;
    BuildLevelEnvelope(sounds[1].samples.data(), 8000, 1, true, true, envelope);
    EXPECT_EQ(std::vector<uint8_t>(item.begin(), item.begin() + 3), envelope);
    std::vector<uint8_t> codes(4000);
    UUSoundBytesEncoder encoder(2);
    encoder.Encode(sounds[1].samples.data(), 4000, codes.data());
    EXPECT_EQ(std::vector<uint8_t>(item.begin() + 3, item.end()), codes);

    EXPECT_EQ(file.StreamMode(2), 1);
    EXPECT_EQ(file.Format(2), 9u);
    EXPECT_EQ(file.Duration(2), 9);  // 100 frames at 11025 Hz, truncated
}

TEST_F(SoundFiles, BothByteOrdersReadAlike)
{
    std::vector<RawSound> sounds(2);
    sounds[0].attributes = 0x46;  // 44100 Hz 16-bit, envelope
    sounds[0].envelope = {1, 2, 3};
    sounds[0].pcm = {1, -2, 0x1234};
    sounds[1].attributes = 0x1D;  // 22050 Hz 16-bit stereo streamed, compressed
    sounds[1].compression = 1;
    sounds[1].decodedSize = 8;
    sounds[1].bytes = {47, 175, 0x79, 0x7A};
    for (bool big : {false, true}) {
        WriteBytes(folder, "order.MMA", SerializeSoundFile(sounds, big));
        MMSoundResourceFile file;
        ASSERT_TRUE(file.Open(folder, "order.MMA", true, true)) << big;
        EXPECT_EQ(file.IsBigEndian(), big);
        EXPECT_EQ(file.RateCode(0), 2);
        EXPECT_EQ(file.EnvelopeSize(0), 3);
        EXPECT_EQ(file.StoredSize(0), 6);
        EXPECT_EQ(file.Format(0), 12u);
        EXPECT_EQ(file.DecodedSize(1), 8);
        EXPECT_EQ(file.StoredSize(1), 4);
        EXPECT_EQ(file.ItemValue(1), 1);
    }
}

TEST_F(SoundFiles, SizeTablesAreSparseWhenFewItemsUseThem)
{
    struct Case { int envelopes; int compressed; bool sparseEnvelopes; bool sparseDecoded; } cases[] = {
        {2, 1, true, true},    // 12 < 16 and 6 < 16
        {3, 4, false, false},  // 18 and 24 are not below 16
        {0, 0, false, false},  // no item: nothing kept
    };
    for (const Case& c : cases) {
        std::vector<RawSound> sounds(4);
        for (int i = 0; i < 4; ++i) {
            sounds[i].attributes = 0x04;
            sounds[i].pcm = std::vector<int16_t>(i + 1, int16_t(i));
            if (i < c.envelopes) {
                sounds[i].attributes |= 0x40;
                sounds[i].envelope = std::vector<uint8_t>(i + 2, 9);
            }
            if (i >= 4 - c.compressed) {
                sounds[i].compression = 1;
                sounds[i].decodedSize = 100 + i;
            }
        }
        // An envelope size given to an item without the flag is ignored.
        if (c.envelopes < 4) sounds[3].envelopeSize = 1;
        WriteBytes(folder, "sizes.MMA", SerializeSoundFile(sounds, false));
        MMSoundResourceFile file;
        ASSERT_TRUE(file.Open(folder, "sizes.MMA", false, false));
        EXPECT_EQ(file.EnvelopeSizes().IsSparse(), c.sparseEnvelopes);
        EXPECT_EQ(file.DecodedSizes().IsSparse(), c.sparseDecoded);
        if (c.envelopes == 0) {
            EXPECT_EQ(file.EnvelopeSizes().Count(), 0);
        }
        for (int16_t i = 0; i < 4; ++i) {
            EXPECT_EQ(file.EnvelopeSize(i), i < c.envelopes ? i + 2 : 0);
            EXPECT_EQ(file.StoredSize(i), 2 * (i + 1));
            EXPECT_EQ(file.DecodedSize(i), i >= 4 - c.compressed ? 100 + i : 2 * (i + 1));
        }
    }
}

TEST_F(SoundFiles, DamagedKindBlocksFailTheOpen)
{
    auto sound = [] {
        RawSound s;
        s.attributes = 0x44;
        s.envelope = {5, 5};
        s.pcm = {1, 2, 3};
        return s;
    };
    struct Case { const char* what; int32_t code; } cases[] = {
        {"kind version 6", MME_SOUND_RESOURCE_FILE_BAD_VERSION_NUMBER},
        {"negative envelope", MME_SOUND_RESOURCE_FILE_BAD_READ},
        {"envelope beyond the item", MME_SOUND_RESOURCE_FILE_BAD_READ},
        {"negative decoded size", MME_SOUND_RESOURCE_FILE_BAD_READ},
        {"cut inside the kind block", MME_SOUND_RESOURCE_FILE_BAD_READ},
    };
    for (int k = 0; k < 5; ++k) {
        std::vector<RawSound> sounds = {sound(), sound()};
        int16_t version = 7;
        if (k == 0) version = 6;
        if (k == 1) sounds[1].envelopeSize = -4;
        if (k == 2) sounds[1].envelopeSize = 9;
        if (k == 3) { sounds[0].compression = 1; sounds[0].decodedSize = -2; }
        std::vector<uint8_t> bytes = SerializeSoundFile(sounds, k % 2 == 1, kTestSoundCollection, version);
        if (k == 4) {
            // Items are dropped too: the block then runs past the file's end.
            bytes.resize(42 + 40 * 2 + 2 + 4 + 4);
            for (int i = 0; i <= 2; ++i) std::memset(&bytes[36 + 4 * i], 0, 4);
            std::memset(&bytes[36], 122, 1);
            std::memset(&bytes[40], 122, 1);
            std::memset(&bytes[44], 122, 1);
        }
        WriteBytes(folder, "bad.MMA", bytes);
        ClearPendingError();
        MMSoundResourceFile file;
        EXPECT_FALSE(file.Open(folder, "bad.MMA", false, false)) << cases[k].what;
        EXPECT_EQ(gPendingError.code, cases[k].code) << cases[k].what;
        EXPECT_STREQ(gPendingError.name, "bad.MMA");
    }
}

TEST(SoundFormats, DurationsLevelsAndSizes)
{
    EXPECT_EQ(StreamingBufferSize(26), 131072);
    EXPECT_EQ(StreamingBufferSize(10), 65536);
    EXPECT_EQ(StreamingBufferSize(1), 16384);
    EXPECT_EQ(SoundFormatOf(1, true, true), 26u);
    EXPECT_EQ(SoundFormatOf(3, false, false), 1u);

    EXPECT_EQ(MMSoundResourceFile::BytesForDuration(1, true, true, 1000), 88200);
    EXPECT_EQ(MMSoundResourceFile::BytesForDuration(0, false, false, 1000), 11025);
    EXPECT_EQ(MMSoundResourceFile::BytesForDuration(2, true, false, 10), 882);

    MMLevelEnvelope envelope;
    envelope.bytes = {10, 20, 30};
    envelope.size = 3;
    EXPECT_EQ(envelope.LevelAt(79), 20);
    EXPECT_EQ(envelope.LevelAt(-1), 10);
    EXPECT_EQ(envelope.LevelAt(-40), 0);
    EXPECT_EQ(envelope.LevelAt(120), 0);

    // 16-bit: mean of |s| >> 8; 8-bit: mean of |s - 128|; 441 samples a block at 11025 Hz mono.
    std::vector<int16_t> loud(500, -25600);
    std::vector<uint8_t> levels;
    EXPECT_EQ(BuildLevelEnvelope(loud.data(), 1000, 0, false, true, levels), 2);
    EXPECT_EQ(levels, (std::vector<uint8_t>{100, 100}));
    std::vector<uint8_t> quiet(441, 128 + 7);
    levels.clear();
    EXPECT_EQ(BuildLevelEnvelope(quiet.data(), 441, 0, false, false, levels), 1);
    EXPECT_EQ(levels, (std::vector<uint8_t>{7}));
    std::vector<int16_t> full(882 * 2, -32768);
    levels.clear();
    EXPECT_EQ(BuildLevelEnvelope(full.data(), 882 * 4, 1, false, true, levels), 2);
    EXPECT_EQ(levels, (std::vector<uint8_t>{128, 128}));
}

}  // namespace
