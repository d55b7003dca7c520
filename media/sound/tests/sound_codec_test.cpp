#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>
#include "media/sound/sound_codec.h"

namespace {

std::vector<int16_t> Decode(const std::vector<uint8_t>& codes, int channels)
{
    UUSoundBytesDecoder decoder(channels);
    std::vector<int16_t> samples(codes.size());
    decoder.Decode(codes.data(), int32_t(codes.size()), samples.data());
    return samples;
}

TEST(SoundCodec, TableHoldsLevelsDifferencesAndTheirNegatives)
{
    struct Entry { int code; int value; } entries[] = {
        {0, 1}, {1, 6}, {47, 30826}, {48, 2048}, {55, 3840}, {56, 1024}, {63, 1920},
        {112, 8}, {119, 15}, {120, 0}, {127, 7}, {128, -1}, {175, -30826}, {248, 0},
        {255, -7}};
    for (const Entry& e : entries) EXPECT_EQ(SoundBytesCodeTable[e.code], e.value) << e.code;
    for (int c = 0; c < 128; ++c) EXPECT_EQ(SoundBytesCodeTable[c + 128], -SoundBytesCodeTable[c]);
}

TEST(SoundCodec, DecodingFollowsLevelsAndDifferences)
{
    // Level 1000-ish, repeat (0x78), silence whatever came before, 0 and 128.
    EXPECT_EQ(Decode({12, 0x78, 248, 0, 128}, 1),
              (std::vector<int16_t>{942, 942, 0, 1, -1}));
    // Separate predictions per channel.
    EXPECT_EQ(Decode({47, 47 + 128, 0x79, 0x7A}, 2),
              (std::vector<int16_t>{30826, -30826, 30827, -30824}));
    // A difference past 16 bits wraps.
    EXPECT_EQ(Decode({47, 48}, 1), (std::vector<int16_t>{30826, int16_t(30826 + 2048 - 65536)}));
}

TEST(SoundCodec, TheChannelCarriesOverFromOneCallToTheNext)
{
    UUSoundBytesDecoder decoder(2);
    const uint8_t first[] = {10, 20, 0x79};  // ends inside a frame
    const uint8_t second[] = {0x79, 0x79};
    int16_t out[3];
    decoder.Decode(first, 3, out);
    decoder.Decode(second, 2, out);
    EXPECT_EQ(out[0], SoundBytesCodeTable[20] + 1);  // the right channel's turn
    EXPECT_EQ(out[1], SoundBytesCodeTable[10] + 2);
}

TEST(SoundCodec, EncoderPicksTheCodeWithTheSmallerError)
{
    EXPECT_EQ(LevelCode(0), 248);
    EXPECT_EQ(LevelCode(1), 0);
    EXPECT_EQ(LevelCode(-1), 128);
    EXPECT_EQ(LevelCode(32767), 47);
    EXPECT_EQ(LevelCode(-32768), 47 + 128);
    EXPECT_EQ(LevelCode(3000), 19);      // 2977 is nearer than 3391
    EXPECT_EQ(LevelCode(-150), 128 + 5); // tie between 120 and 180 takes the lower
    EXPECT_EQ(DeltaCode(3000), 51);      // 2816
    EXPECT_EQ(DeltaCode(-5), 0x80 | 0x7D);
    EXPECT_EQ(DeltaCode(4095), 55);
    EXPECT_EQ(DeltaCode(9), 113);

    UUSoundBytesEncoder encoder(1);
    const int16_t samples[] = {0, 3000, 3005};
    uint8_t codes[3];
    encoder.Encode(samples, 3, codes);
    EXPECT_EQ(codes[0], 248);
    EXPECT_EQ(codes[1], 19);         // 2977 beats the difference 2816
    EXPECT_EQ(codes[2], 110);        // the difference 28 is exact
}

TEST(SoundCodec, DecodingTheEncoderOutputGivesItsReconstruction)
{
    const int n = 22050;
    std::vector<int16_t> sine(n), noise(2 * n);
    srand(7);
    for (int i = 0; i < n; ++i) {
        sine[i] = int16_t(std::lround(10000 * std::sin(2 * std::numbers::pi * 440 * i / 22050.0)));
        noise[2 * i] = int16_t(rand() % 65536 - 32768);
        noise[2 * i + 1] = int16_t((rand() % 2001) - 1000);
    }
    for (auto [samples, channels] : {std::pair{&sine, 1}, std::pair{&noise, 2}}) {
        std::vector<uint8_t> codes(samples->size());
        std::vector<int16_t> reconstruction(samples->size());
        UUSoundBytesEncoder encoder(channels);
        encoder.Encode(samples->data(), int32_t(samples->size()), codes.data(),
                       reconstruction.data());
        EXPECT_EQ(Decode(codes, channels), reconstruction);
        int worst = 0;
        for (size_t i = 0; i < samples->size(); ++i)
            worst = std::max(worst, std::abs((*samples)[i] - reconstruction[i]));
        EXPECT_LE(worst, 1942);
    }

    std::vector<uint8_t> codes(n);
    std::vector<int16_t> out(n);
    UUSoundBytesEncoder encoder(1);
    encoder.Encode(sine.data(), n, codes.data(), out.data());
    double signal = 0, error = 0;
    int worst = 0;
    for (int i = 0; i < n; ++i) {
        signal += double(sine[i]) * sine[i];
        error += double(sine[i] - out[i]) * (sine[i] - out[i]);
        worst = std::max(worst, std::abs(sine[i] - out[i]));
    }
    EXPECT_LE(worst, 128);
    EXPECT_GE(10 * std::log10(signal / error), 40.0);
}

TEST(SoundCodec, FilterSeeksToHalfThePositionAndDecodesInParts)
{
    std::vector<uint8_t> codes = {47, 0x79, 0x7A, 0x7B, 248, 0x7F};
    auto* memory = new UUBufferedInputFromMemory(codes.data(), int32_t(codes.size()));
    UUSoundBytesUncompressFromBufferedInput filter(memory, 1);
    int16_t out[8];
    EXPECT_EQ(filter.Read(out, 5, true), 4);  // whole samples only
    EXPECT_EQ(out[1], 30827);
    EXPECT_EQ(filter.Read(out, 16, true), 8);
    EXPECT_EQ(out[0], 30829);
    EXPECT_EQ(out[3], 7);
    EXPECT_TRUE(filter.AtEnd());

    filter.Seek(1001);
    const uint8_t* at = nullptr;
    EXPECT_EQ(memory->Peek(&at), 0);  // 500 is past the 6 codes: the end
    filter.Seek(5);
    EXPECT_EQ(filter.Read(out, 2, false), 2);
    EXPECT_EQ(out[0], 2);  // predictions restart at 0
}

TEST(SoundCodec, CompressingFilterYieldsOneCodePerSample)
{
    const int16_t samples[] = {0, 3000, -3000, 20000};
    UUSoundBytesCompressFromInput filter(new UUBufferedInputFromMemory(samples, 8), 1);
    uint8_t codes[8];
    EXPECT_EQ(filter.Read(codes, 8, true), 4);
    UUSoundBytesEncoder encoder(1);
    uint8_t expected[4];
    encoder.Encode(samples, 4, expected);
    EXPECT_EQ(std::vector<uint8_t>(codes, codes + 4), std::vector<uint8_t>(expected, expected + 4));
}

}  // namespace
