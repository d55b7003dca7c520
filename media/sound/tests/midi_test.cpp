#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include "framework/files.h"
#include "media/sound/midi.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes Chunk(const char* type, const Bytes& data)
{
    Bytes chunk(type, type + 4);
    uint32_t n = uint32_t(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(uint8_t(n >> shift));
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

const Bytes kTempo = {0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0};  // 600,000 us a quarter
const Bytes kSysEx = {0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7};
const Bytes kName = {0x00, 0xFF, 0x03, 0x02, 'h', 'i'};

// Track A: tempo and SysEx at 0, a note on channel 0 at 96, its end by
// running status at 192. Track B: a name at 0, channel 9's program at 48
// and volume at 96, a pitch bend on channel 11 at 144.
Bytes TwoTrackFile()
{
    Bytes a = Cat({kTempo, kSysEx, {0x60, 0x90, 0x3C, 0x40}, {0x60, 0x3C, 0x00},
                   {0x00, 0xFF, 0x2F, 0x00}});
    Bytes b = Cat({kName, {0x30, 0xC9, 0x05}, {0x30, 0xB9, 0x07, 0x64}, {0x30, 0xEB, 0x00, 0x40},
                   {0x00, 0xFF, 0x2F, 0x00}});
    return Cat({Chunk("MThd", {0, 1, 0, 2, 0, 96}), Chunk("MTrk", a), Chunk("XTRA", {1, 2}),
                Chunk("MTrk", b)});
}

struct Midi : testing::Test {
    Bytes file = TwoTrackFile();
    FSMemory in{file.data(), uint32_t(file.size())};
    MidiFileReader reader;
    uint8_t output[256] = {};
    FSMemory out{output, sizeof output};

    Midi() { EXPECT_EQ(reader.Read(in), kMidiReadOk); }
    std::vector<MidiTrack*> Tracks()
    {
        std::vector<MidiTrack*> tracks;
        for (auto& track : reader.Tracks()) tracks.push_back(track.get());
        return tracks;
    }
    Bytes Written() { return Bytes(output, output + out.Tell()); }
};

TEST_F(Midi, TheReaderKeepsTheTracks)
{
    EXPECT_EQ(reader.Format(), 1);
    EXPECT_EQ(reader.TrackCount(), 2);
    EXPECT_EQ(reader.Division(), 96);
    ASSERT_EQ(reader.Tracks().size(), 2u);  // the unknown chunk is skipped
    EXPECT_EQ(reader.Tracks()[1]->NextTime(), 0);
}

TEST_F(Midi, EachFilterWritesItsTrack)
{
    const Bytes notes = {0x30, 0xC9, 0x05, 0x30, 0x90, 0x3C, 0x40, 0x00, 0xB9, 0x07, 0x64};
    const Bytes end = {0x30, 0x90, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
    const Bytes bend = {0x30, 0xEB, 0x00, 0x40};
    struct Case {
        const char* what;
        MidiFilter* filter;
        Bytes expected;
    } cases[] = {
        {"no filter", new MidiFilter, Cat({kTempo, kSysEx, kName, notes, bend, end})},
        {"SysEx dropped", new MidiSysExMsgFilter, Cat({kTempo, kName, notes, bend, end})},
        {"tempo only", new MidiMetaEventFilter, Cat({kTempo, kSysEx, notes, bend, end})},
        {"base synth", new MidiBaseSynthFilter,
         Cat({kTempo, kSysEx, kName, {0x30, 0xC9, 0x05, 0x00, 0xCF, 0x05},
              {0x30, 0x90, 0x3C, 0x40, 0x00, 0x9A, 0x3C, 0x40},
              {0x00, 0xB9, 0x07, 0x64, 0x00, 0xBF, 0x07, 0x64},
              {0x60, 0x90, 0x3C, 0x00, 0x00, 0x9A, 0x3C, 0x00}, {0x00, 0xFF, 0x2F, 0x00}})},
    };
    for (Case& c : cases) {
        out.Seek(0, FS_SEEK_FROM_START, nullptr);
        MidiFileSinkMidi sink(&out);
        std::unique_ptr<MidiFilter> filter(c.filter);
        filter->SetNext(&sink);
        EXPECT_TRUE(MidiPlayTracks(Tracks(), *filter)) << c.what;
        EXPECT_EQ(Written(), c.expected) << c.what;
    }
}

TEST_F(Midi, WindowsEventsTimeAndInspection)
{
    MidiFileSinkWindows windows(&out);
    MidiInspector inspector(&windows);
    MidiTimer timer(&inspector);
    EXPECT_TRUE(MidiPlayTracks(Tracks(), timer));
    EXPECT_EQ(timer.Tempo(), 600000);
    EXPECT_EQ(timer.ElapsedMilliseconds(), 1200);
    EXPECT_EQ(inspector.ChannelWord(0), MidiInspector::kNotes);
    EXPECT_EQ(inspector.ChannelWord(9), MidiInspector::kProgram | MidiInspector::kVolume);
    EXPECT_EQ(inspector.ChannelWord(11), MidiInspector::kPitchBend);
    const uint32_t expected[] = {0, 0, 0x010927C0, 48, 0, 0x05C9,   48, 0, 0x403C90,
                                 0, 0, 0x6407B9,   48, 0, 0x4000EB, 48, 0, 0x003C90,
                                 0, 0, 0x2FFF};
    Bytes words = Written();
    ASSERT_EQ(words.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(words.data(), expected, sizeof expected), 0);
}

class Recording : public MidiSink {
public:
    bool ShortMessage(uint32_t message) override
    {
        log += "short;";
        return true;
    }
    bool End(bool abandoned) override
    {
        log += abandoned ? "abandoned" : "end";
        return true;
    }
    std::string log;
};

TEST(MidiTracks, DamagedEventsEndTheTrack)
{
    struct Case { const char* what; Bytes data; const char* log; } cases[] = {
        {"data byte without a status", {0x00, 0x3C, 0x40}, "abandoned"},
        {"cut inside a message", {0x00, 0x90, 0x3C, 0x40, 0x00, 0x90, 0x3C}, "short;abandoned"},
        {"meta longer than the track", {0x00, 0xFF, 0x01, 0x10, 'a'}, "abandoned"},
        {"meta longer than allowed", {0x00, 0xFF, 0x01, 0x81, 0x80, 0x00}, "abandoned"},
        {"running status", {0x00, 0xC0, 0x01, 0x10, 0x02}, "short;short;end"},
    };
    for (const Case& c : cases) {
        MidiTrack track(c.data.data(), int32_t(c.data.size()), 96);
        Recording sink;
        bool ok = MidiPlayTrack(track, sink);
        EXPECT_EQ(ok, std::string(c.log).find("abandoned") == std::string::npos) << c.what;
        EXPECT_EQ(sink.log, c.log) << c.what;
    }
}

class RefusingReader : public MidiFileReader {
public:
    bool HandleChunk(uint32_t, uint32_t, FSRandomAccessStream&) override { return false; }
};

TEST(MidiFiles, HeaderResults)
{
    struct Case { const char* what; Bytes bytes; MidiReadResult result; } cases[] = {
        {"not a MIDI file", Chunk("MThx", {0, 0, 0, 1, 0, 96}), kMidiBadHeader},
        {"format 3", Chunk("MThd", {0, 3, 0, 1, 0, 96}), kMidiBadHeader},
        {"format 2", Chunk("MThd", {0, 2, 0, 1, 0, 96}), kMidiUnsupported},
        {"division 0", Chunk("MThd", {0, 0, 0, 1, 0, 0}), kMidiBadHeader},
        {"cut header", Bytes{'M', 'T', 'h', 'd', 0, 0}, kMidiReadFailed},
        {"track past the end", Cat({Chunk("MThd", {0, 0, 0, 1, 0, 96}),
                                    Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 9, 1}}),
         kMidiReadFailed},
    };
    for (Case& c : cases) {
        FSMemory memory(c.bytes.data(), uint32_t(c.bytes.size()));
        MidiFileReader reader;
        EXPECT_EQ(reader.Read(memory), c.result) << c.what;
    }
    Bytes good = TwoTrackFile();
    FSMemory memory(good.data(), uint32_t(good.size()));
    RefusingReader refusing;
    EXPECT_EQ(refusing.Read(memory), kMidiChunkRefused);
}

}  // namespace
