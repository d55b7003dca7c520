#include <gtest/gtest.h>

#include <cstring>
#include <vector>
#include "framework/async_file_input.h"
#include "framework/buffered_input.h"
#include "framework/files.h"

namespace {

std::vector<uint8_t> Counting(int n)
{
    std::vector<uint8_t> bytes(n);
    for (int i = 0; i < n; ++i) bytes[i] = uint8_t(i * 7 + 3);
    return bytes;
}

// Reads everything through Read with wait in parts of `part` bytes.
std::vector<uint8_t> ReadAll(UUInputStream& input, int part)
{
    std::vector<uint8_t> out;
    std::vector<uint8_t> buffer(part);
    for (;;) {
        int32_t n = input.Read(buffer.data(), part, true);
        if (n <= 0) break;
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    }
    return out;
}

// A stream whose reads fail from a given offset on.
class FailingMemory : public FSMemory {
public:
    FailingMemory(void* buffer, uint32_t size, int32_t failFrom)
        : FSMemory(buffer, size), failFrom(failFrom) {}
    bool ReadBytes(void* destination, int32_t count) override
    {
        if (Tell() + count > failFrom) {
            SetError(FS_ERROR_END_OF_FILE);
            return false;
        }
        return FSMemory::ReadBytes(destination, count);
    }
    int32_t failFrom;
};

TEST(BufferedInputs, ReaderFillsBlockByBlockAndSeeksInsideTheStream)
{
    std::vector<uint8_t> file = Counting(100);
    FSMemory stream(file.data(), 100);
    uint8_t block[16];
    // Bytes 10 to 59 of the stream.
    UUInputFromBufferedInput input(
        new UUBufferedInputFromRandomAccessStream(&stream, block, 16, 10, 50));
    std::vector<uint8_t> all = ReadAll(input, 7);
    EXPECT_EQ(all, std::vector<uint8_t>(file.begin() + 10, file.begin() + 60));
    EXPECT_TRUE(input.AtEnd());

    // Seeking lands on the block boundary and consumes up to the position.
    input.Seek(37);
    auto* buffered = static_cast<UUBufferedInputFromRandomAccessStream*>(input.Input());
    EXPECT_EQ(buffered->FillPosition(), 48);
    EXPECT_EQ(buffered->ReadPosition(), 37);
    uint8_t byte = 0;
    EXPECT_EQ(input.Read(&byte, 1, false), 1);
    EXPECT_EQ(byte, file[47]);

    // Past the end is the end.
    input.Seek(500);
    EXPECT_TRUE(input.AtEnd());
    EXPECT_EQ(input.Read(&byte, 1, true), 0);
}

TEST(BufferedInputs, AFailedReadEndsTheInputInsteadOfWaitingForEver)
{
    std::vector<uint8_t> file = Counting(64);
    FailingMemory stream(file.data(), 64, 20);
    uint8_t block[8];
    UUInputFromBufferedInput input(
        new UUBufferedInputFromRandomAccessStream(&stream, block, 8, 0, 64));
    std::vector<uint8_t> got = ReadAll(input, 5);
    EXPECT_EQ(got, std::vector<uint8_t>(file.begin(), file.begin() + 16));
    EXPECT_TRUE(input.AtEnd());
}

TEST(BufferedInputs, MemoryInputAndSwappedWords)
{
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7};
    UUSwapWordsFromBufferedInput swapped(new UUBufferedInputFromMemory(bytes, 7));
    uint8_t out[8] = {};
    EXPECT_EQ(swapped.Read(out, 5, true), 4);  // whole 16-bit values only
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{2, 1, 4, 3}));
    EXPECT_EQ(swapped.Read(out, 8, true), 3);  // the odd last byte at the end
    EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{6, 5, 7}));
    EXPECT_TRUE(swapped.AtEnd());

    UUInputFromBufferedInput plain(new UUBufferedInputFromMemory(bytes, 7));
    plain.Seek(9);
    EXPECT_TRUE(plain.AtEnd());
    plain.Seek(2);
    EXPECT_EQ(plain.Read(out, 2, false), 2);
    EXPECT_EQ(out[0], 3);
}

struct AsyncInput : testing::Test {
    std::vector<uint8_t> file = Counting(1000);
    FSMemory stream{file.data(), 1000};
    Lock fileLock;
    AFPulseTaskManager manager;  // never started: the test pulses it
    uint8_t ring[64] = {};
    AsyncInput() { InitLock(&fileLock); }
    ~AsyncInput() override { DeleteLock(&fileLock); }
};

TEST_F(AsyncInput, AlreadyFilledSmallSourceIsWholeAtOnce)
{
    std::memcpy(ring, file.data() + 100, 40);
    AFBufferedInputFromAsyncFile input(&manager, ring, 64, 16, &stream, 100, 40, &fileLock, true);
    EXPECT_EQ(input.FillPosition(), 40);
    EXPECT_EQ(input.Pulse(), kNever);
    const uint8_t* bytes = nullptr;
    EXPECT_EQ(input.Peek(&bytes), 40);
    EXPECT_EQ(bytes[39], file[139]);
    input.Close();
}

TEST_F(AsyncInput, PulsesFillTheRingInBoundedReadsThatNeverWrap)
{
    auto* input = new AFBufferedInputFromAsyncFile(&manager, ring, 64, 24, &stream, 0, 1000,
                                                   &fileLock, false);
    UUInputFromBufferedInput reader(input);
    uint8_t out[64];
    EXPECT_EQ(reader.Read(out, 10, false), 0);  // nothing read yet, no wait
    EXPECT_EQ(input->Pulse(), 0);               // 24
    EXPECT_EQ(input->Pulse(), 0);               // 48
    EXPECT_EQ(input->Pulse(), 250);             // 64: the ring is full
    EXPECT_EQ(input->FillPosition(), 64);

    // Read up to just before the ring's end: Peek stops at the end.
    EXPECT_EQ(reader.Read(out, 60, false), 60);
    EXPECT_EQ(input->Pulse(), 0);  // 60 free, but only 24 per read
    EXPECT_EQ(input->FillPosition(), 88);
    const uint8_t* bytes = nullptr;
    EXPECT_EQ(input->Peek(&bytes), 4);
    input->Consume(4);
    EXPECT_EQ(input->Peek(&bytes), 24);
    EXPECT_EQ(bytes, ring);
    EXPECT_EQ(bytes[0], file[64]);

    // Inside the window the bytes stay; behind it they are read again.
    input->Seek(70);
    EXPECT_EQ(input->FillPosition(), 88);
    input->Seek(10);
    EXPECT_EQ(input->FillPosition(), 10);
    EXPECT_EQ(reader.Read(out, 30, true), 30);
    EXPECT_EQ(std::memcmp(out, file.data() + 10, 30), 0);

    // The whole input through waiting reads.
    input->Seek(0);
    std::vector<uint8_t> all = ReadAll(reader, 50);
    EXPECT_EQ(all, file);
    EXPECT_EQ(input->Pulse(), kNever);
}

TEST_F(AsyncInput, AFailedReadEndsTheInput)
{
    FailingMemory failing(file.data(), 1000, 100);
    auto* input = new AFBufferedInputFromAsyncFile(&manager, ring, 64, 32, &failing, 0, 1000,
                                                   &fileLock, false);
    UUInputFromBufferedInput reader(input);
    std::vector<uint8_t> all = ReadAll(reader, 40);
    EXPECT_EQ(all.size(), 96u);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(input->Pulse(), kNever);
}

TEST_F(AsyncInput, ThePulseThreadFillsWhileTheReaderConsumes)
{
    manager.Start();
    auto* input = new AFBufferedInputFromAsyncFile(&manager, ring, 64, 16, &stream, 0, 1000,
                                                   &fileLock, false);
    UUInputFromBufferedInput reader(input);
    std::vector<uint8_t> got;
    uint8_t out[37];
    while (!reader.AtEnd()) {
        int32_t n = reader.Read(out, 37, false);
        got.insert(got.end(), out, out + n);
        if (n == 0) Sleep(1);
    }
    EXPECT_EQ(got, file);
    manager.Stop();
}

}  // namespace
