#include <gtest/gtest.h>

#include <vector>

#include "framework/checksum.h"
#include "framework/files.h"

TEST(Checksum, TableIsTheUnreducedShiftedPolynomial)
{
    UUChecksum sum;
    EXPECT_EQ(0u, sum.TableEntry(0));
    EXPECT_EQ(0x04C11DB7u, sum.TableEntry(1));
    EXPECT_EQ(0x30476DC0u, sum.TableEntry(0x40));
    EXPECT_EQ(0x608EDB80u, sum.TableEntry(0x80));
    EXPECT_EQ(0xBCB4666Du, sum.TableEntry(0xFF));
}

TEST(Checksum, KnownVectors)
{
    UUChecksum sum;
    EXPECT_EQ(0u, sum.Update("", 0, true));
    EXPECT_EQ(0x56A6F1B6u, sum.Update("abc", 3, true));
    EXPECT_EQ(0x96FC4B4Bu, sum.Update("123456789", 9, true));
    EXPECT_EQ(0x96FC4B4Bu, sum.Value());

    sum.Update("ab", 2, true);
    EXPECT_EQ(0x56A6F1B6u, sum.Update("c", 1, false));
}

TEST(Checksum, ComputeFromAReaderDoesNotDependOnTheChunkSize)
{
    std::vector<uint8_t> bytes(20000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    for (uint32_t count : {20000u, 5121u, 512u, 300u}) {
        UUChecksum whole;
        uint32_t expected = whole.Update(bytes.data(), count, true);

        UUChecksum chunked;
        chunked.Update("stale", 5, true);
        FSMemory stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(expected, chunked.Compute(stream, count, true)) << count;
        EXPECT_EQ(static_cast<int32_t>(count), stream.Tell());
    }
}

TEST(Checksum, ComputeStopsAtAFailedReadAndLeavesItToTheCaller)
{
    uint8_t bytes[100] = {};
    FSMemory stream(bytes, sizeof bytes);
    UUChecksum sum;
    sum.Update("stale", 5, true);
    EXPECT_EQ(0u, sum.Compute(stream, 1000, true));
    EXPECT_EQ(FS_ERROR_OUT_OF_RANGE, stream.GetError());

    // The second chunk fails: only the first chunk's bytes count, never what
    // the failed read left in the buffer.
    std::vector<uint8_t> file(6000);
    for (size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<uint8_t>(i * 13 + 1);
    UUChecksum whole;
    uint32_t firstChunk = whole.Update(file.data(), 5120, true);
    FSMemory shortFile(file.data(), static_cast<uint32_t>(file.size()));
    EXPECT_EQ(firstChunk, sum.Compute(shortFile, 8000, true));
    EXPECT_EQ(FS_ERROR_OUT_OF_RANGE, shortFile.GetError());
}
