#include <gtest/gtest.h>

#include <cstring>
#include "engine/engine_pulse_managers.h"
#include "framework/pending_error.h"
#include "media/sound/sound_codec.h"
#include "media/sound/sound_loader.h"
#include "sound_fixture.h"

namespace {

std::vector<int16_t> ReadSamples(MMSoundSource& source, int32_t part = 4096)
{
    std::vector<int16_t> out;
    std::vector<int16_t> buffer(part / 2);
    for (;;) {
        int32_t n = source.Read(buffer.data(), part, true);
        if (n <= 0) break;
        out.insert(out.end(), buffer.begin(), buffer.begin() + n / 2);
    }
    return out;
}

std::vector<int16_t> Decoded(const std::vector<int16_t>& samples, int channels)
{
    std::vector<uint8_t> codes(samples.size());
    std::vector<int16_t> out(samples.size());
    UUSoundBytesEncoder encoder(channels);
    encoder.Encode(samples.data(), int32_t(samples.size()), codes.data(), out.data());
    return out;
}

struct SoundLoaders : testing::Test {
    ScratchFolder scratch;
    AFPulseTaskManager pulses;
    std::vector<TestSound> sounds;
    MMSoundLoader* loader = nullptr;

    SoundLoaders()
    {
        ClearPendingError();
        pulses.Start();
        gSecondEnginePulseTaskManager = &pulses;
        sounds.resize(4);
        sounds[0].samples = Tone(700, 3000, false);  // in memory
        // 250,000 stereo frames: 1,000,000 bytes, streamed from a 131,072-byte head.
        sounds[1].samples = Tone(300, 250000, true);
        sounds[1].source.stereo = true;
        sounds[1].source.streamed = true;
        sounds[2].samples = Tone(900, 200000, true);
        sounds[2].source.stereo = true;
        sounds[2].source.streamed = true;
        sounds[2].source.compress = true;
        sounds[2].source.envelope = true;
        sounds[3].samples = Tone(100, 20, false);   // streamed, but its whole data fits its head
        sounds[3].source.streamed = true;
        EXPECT_TRUE(WriteSoundFile(scratch.folder, "App.MMA", sounds));
        loader = CreateSoundLoader("App.MMA", scratch.folder, false);
        EXPECT_NE(loader, nullptr);
    }
    ~SoundLoaders() override
    {
        DeleteAllSoundCollections();
        pulses.Stop();
        gSecondEnginePulseTaskManager = nullptr;
        ClearPendingError();
    }
};

TEST_F(SoundLoaders, ReferencesAnswerForTheirSounds)
{
    MMSoundReference reference;
    reference.Load(0x40000002);
    EXPECT_EQ(reference.Id(), 0x40000002);
    EXPECT_EQ(reference.Format(), 26u);
    EXPECT_EQ(reference.DecodedSize(), 800000);
    EXPECT_EQ(reference.Duration(), 200000 * 1000 / 22050);
    EXPECT_TRUE(reference.HasEnvelope());
    EXPECT_EQ(loader->ReferenceManager()->UseCount(2), 1);

    MMRetainSound(0x40000002);
    EXPECT_EQ(loader->ReferenceManager()->UseCount(2), 2);
    MMReleaseSound(0x40000002);
    reference.Load(MM_NO_RESOURCE);
    EXPECT_EQ(reference.Id(), MM_NO_RESOURCE);
    EXPECT_EQ(loader->ReferenceManager()->UseCount(2), 0);

    reference.Load(0x40000000);
    MMSoundReference copy(reference);
    EXPECT_EQ(loader->ReferenceManager()->UseCount(0), 2);
    DeleteAllSoundCollections();
    loader = nullptr;
    EXPECT_EQ(reference.Id(), MM_NO_RESOURCE);
    EXPECT_EQ(copy.OpenSource(), nullptr);
    reference.Load(0x40000000);
    EXPECT_EQ(reference.Id(), MM_NO_RESOURCE);
}

TEST_F(SoundLoaders, SoundsInMemoryServeAnyNumberOfSources)
{
    MMSoundItemLayout layout = loader->ItemLayout(0);
    EXPECT_EQ(layout.head, 6000);
    EXPECT_EQ(layout.SlotSize(), 6000);
    MMSoundSource* first = loader->OpenSource(0);
    MMSoundSource* second = loader->OpenSource(0);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->format, 10u);
    EXPECT_EQ(ReadSamples(*first, 1000), sounds[0].samples);
    second->Seek(2000);
    EXPECT_EQ(ReadSamples(*second)[0], sounds[0].samples[1000]);
    EXPECT_EQ(loader->ResourceHeap().LockCount(0), 2);
    delete first;
    delete second;
    EXPECT_EQ(loader->ResourceHeap().LockCount(0), 0);
    EXPECT_TRUE(loader->ResourceHeap().IsAllocated(0));

    // A streamed item whose data fits its head counts its memory sources.
    MMSoundSource* a = loader->OpenSource(3);
    MMSoundSource* b = loader->OpenSource(3);
    EXPECT_EQ(loader->UseCounter(3), 2);
    delete a;
    delete b;
    EXPECT_EQ(loader->UseCounter(3), 0);
    EXPECT_TRUE(loader->ResourceHeap().IsAllocated(3));
}

TEST_F(SoundLoaders, OneSourceStreamsALongSoundAndASecondIsRefused)
{
    MMSoundItemLayout layout = loader->ItemLayout(1);
    EXPECT_EQ(layout.head, 131072);
    EXPECT_EQ(layout.SlotSize(), 4 + 131072);
    EXPECT_EQ(loader->ItemLayout(2).head, 65536);  // compressed: half the streaming size
    EXPECT_EQ(loader->ItemLayout(2).SlotSize(), 4 + 65536 + 227);

    MMSoundSource* stream = loader->OpenSource(1);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(loader->UseCounter(1), -1);
    std::vector<int16_t> start(50000);
    EXPECT_EQ(stream->Read(start.data(), 100000, true), 100000);
    EXPECT_EQ(start, std::vector<int16_t>(sounds[1].samples.begin(), sounds[1].samples.begin() + 50000));

    // The refused source gives back only its own lock: the ring stays.
    EXPECT_EQ(loader->OpenSource(1), nullptr);
    EXPECT_EQ(loader->ResourceHeap().LockCount(1), 1);
    EXPECT_EQ(loader->UseCounter(1), -1);
    std::vector<int16_t> rest = ReadSamples(*stream, 30000);
    EXPECT_EQ(rest, std::vector<int16_t>(sounds[1].samples.begin() + 50000, sounds[1].samples.end()));

    // Seeks back into the head's bytes and past the ring's wrap.
    stream->Seek(4);
    int16_t sample = 0;
    EXPECT_EQ(stream->Read(&sample, 2, true), 2);
    EXPECT_EQ(sample, sounds[1].samples[2]);
    stream->Seek(700000);
    EXPECT_EQ(stream->Read(&sample, 2, true), 2);
    EXPECT_EQ(sample, sounds[1].samples[350000]);

    // Once the stream is gone the ring's memory goes too; the next source
    // reads the head again.
    delete stream;
    EXPECT_FALSE(loader->ResourceHeap().IsAllocated(1));
    MMSoundSource* again = loader->OpenSource(1);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ReadSamples(*again, 65536), sounds[1].samples);
    delete again;
}

TEST_F(SoundLoaders, CompressedStreamsDecodeAndEnvelopesLoad)
{
    MMSoundSource* stream = loader->OpenSource(2);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(ReadSamples(*stream, 6000), Decoded(sounds[2].samples, 2));
    stream->Seek(400001);  // code 200000: a left sample again
    int16_t pair[2];
    EXPECT_EQ(stream->Read(pair, 4, true), 4);
    delete stream;

    MMLevelEnvelope envelope;
    loader->LoadEnvelope(2, envelope, false);
    EXPECT_EQ(envelope.size, 227);
    EXPECT_TRUE(envelope.bytes.empty());
    loader->LoadEnvelope(2, envelope, true);
    std::vector<uint8_t> expected;
    BuildLevelEnvelope(sounds[2].samples.data(), 800000, 1, true, true, expected);
    EXPECT_EQ(envelope.bytes, expected);
    loader->LoadEnvelope(0, envelope, true);
    EXPECT_EQ(envelope.size, 0);
}

TEST_F(SoundLoaders, BigEndianSamplesArriveInTheMachineOrder)
{
    std::vector<RawSound> raw(2);
    raw[0].attributes = 0x05;
    raw[0].pcm = {1, -2, 0x1234, 300};
    raw[1].attributes = 0x01;  // 8-bit: bytes stay as they are
    raw[1].bytes = {1, 2, 3};
    for (bool big : {false, true}) {
        WriteBytes(scratch.folder, "order.MMA", SerializeSoundFile(raw, big, 0x10));
        MMSoundLoader* own = CreateSoundLoader("order.MMA", scratch.folder, false);
        ASSERT_NE(own, nullptr);
        MMSoundReference reference;
        reference.Load(0x00100000);
        MMSoundSource* source = reference.OpenSource();
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(ReadSamples(*source), raw[0].pcm) << big;
        delete source;
        reference.Load(0x00100001);
        source = reference.OpenSource();
        uint8_t bytes[4] = {};
        EXPECT_EQ(source->Read(bytes, 4, true), 3);
        EXPECT_EQ(bytes[2], 3);
        delete source;
        reference.Clear();
        delete own;
    }
}

TEST_F(SoundLoaders, MissingOrDamagedFilesGiveNoLoader)
{
    EXPECT_EQ(CreateSoundLoader("none.MMA", scratch.folder, false), nullptr);
    EXPECT_EQ(gPendingError.code, MME_SOUND_RESOURCE_FILE_BAD_OPEN_FOR_READ);
    ClearPendingError();
    std::vector<uint8_t> bytes = SerializeSoundFile({RawSound{}}, false, 0x11, 8);
    WriteBytes(scratch.folder, "old.MMA", bytes);
    EXPECT_EQ(CreateSoundLoader("old.MMA", scratch.folder, false), nullptr);
    EXPECT_EQ(gPendingError.code, MME_SOUND_RESOURCE_FILE_BAD_VERSION_NUMBER);
    EXPECT_EQ(MMSoundDirectory().Find(0x11), nullptr);

    // A streamed, compressed sound without bytes: its layout divides by nothing.
    RawSound empty;
    empty.attributes = 0x15;
    empty.compression = 1;
    empty.decodedSize = 100;
    WriteBytes(scratch.folder, "empty.MMA", SerializeSoundFile({empty}, false, 0x12));
    MMSoundLoader* own = CreateSoundLoader("empty.MMA", scratch.folder, false);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->ItemLayout(0).head, 0);
    MMSoundSource* source = own->OpenSource(0);
    ASSERT_NE(source, nullptr);
    int16_t sample;
    EXPECT_EQ(source->Read(&sample, 2, true), 0);
    EXPECT_TRUE(source->AtEnd());
    delete source;
    delete own;
}

}  // namespace
