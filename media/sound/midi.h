#pragma once
// A small MIDI toolkit: a reader of Standard MIDI Files that walks one or
// several tracks in time order and hands every event to a sink; sinks that
// write the events again as a Standard MIDI File track or as Windows MIDI
// stream events; and filters that drop, copy or measure events on the way.
#include <cstdint>
#include <memory>
#include <vector>

class FSRandomAccessStream;
class FSWriter;

// Each operation answers whether to go on.
class MidiSink {
public:
    virtual ~MidiSink() = default;
    virtual bool Begin(int32_t ticksPerQuarter);
    virtual bool Advance(int32_t deltaTicks) { return true; }
    // status | data1 << 8 | data2 << 16
    virtual bool ShortMessage(uint32_t message) { return true; }
    virtual bool SysEx(bool continuation, int32_t length, const uint8_t* data) { return true; }
    virtual bool MetaEvent(int32_t type, int32_t length, const uint8_t* data) { return true; }
    virtual bool End(bool abandoned) { return true; }

    int32_t Division() const { return division; }

protected:
    int32_t division = 0;
};

// Writes bytes to a stream through a 4096-byte buffer.
class MidiBufferedFileSink : public MidiSink {
public:
    explicit MidiBufferedFileSink(FSWriter* out) : out(out) {}
    bool Advance(int32_t deltaTicks) override;
    bool End(bool abandoned) override;

protected:
    bool PutByte(uint8_t byte);
    bool PutBytes(const uint8_t* bytes, int32_t n);
    bool PutQuantity(uint32_t value);
    bool PutLong(uint32_t value);  // in the machine's order
    bool Flush();
    // Ticks since the last written event; marks now as written.
    uint32_t TakeDelta();
    bool Healthy() const;

    FSWriter* out;
    uint8_t buffer[4096];
    int32_t fill = 0;
    uint32_t totalTicks = 0;
    uint32_t writtenTicks = 0;
};

// One Standard MIDI File track (the MTrk chunk's data).
class MidiFileSinkMidi : public MidiBufferedFileSink {
public:
    using MidiBufferedFileSink::MidiBufferedFileSink;
    bool Begin(int32_t ticksPerQuarter) override;
    bool ShortMessage(uint32_t message) override;
    bool SysEx(bool continuation, int32_t length, const uint8_t* data) override;
    bool MetaEvent(int32_t type, int32_t length, const uint8_t* data) override;
    bool End(bool abandoned) override;

private:
    uint8_t runningStatus = 0;
};

// Windows MIDI stream events: delta ticks, stream id 0, event word.
class MidiFileSinkWindows : public MidiBufferedFileSink {
public:
    using MidiBufferedFileSink::MidiBufferedFileSink;
    bool ShortMessage(uint32_t message) override;
    bool MetaEvent(int32_t type, int32_t length, const uint8_t* data) override;
    bool End(bool abandoned) override;

private:
    bool PutEvent(uint32_t event);
};

// Forwards everything to the next sink (true when there is none).
class MidiFilter : public MidiSink {
public:
    explicit MidiFilter(MidiSink* next = nullptr) : next(next) {}
    void SetNext(MidiSink* sink) { next = sink; }
    bool Begin(int32_t ticksPerQuarter) override;
    bool Advance(int32_t deltaTicks) override;
    bool ShortMessage(uint32_t message) override;
    bool SysEx(bool continuation, int32_t length, const uint8_t* data) override;
    bool MetaEvent(int32_t type, int32_t length, const uint8_t* data) override;
    bool End(bool abandoned) override;

protected:
    MidiSink* next;
};

class MidiSysExMsgFilter : public MidiFilter {
public:
    using MidiFilter::MidiFilter;
    bool SysEx(bool, int32_t, const uint8_t*) override { return true; }
};

// Only tempo meta events go on.
class MidiMetaEventFilter : public MidiFilter {
public:
    using MidiFilter::MidiFilter;
    bool MetaEvent(int32_t type, int32_t length, const uint8_t* data) override;
};

// Channels 10 to 15 are dropped; channels 0 to 4 are copied onto 10 to 14
// and channel 9 onto 15.
class MidiBaseSynthFilter : public MidiFilter {
public:
    using MidiFilter::MidiFilter;
    bool ShortMessage(uint32_t message) override;
};

// Keeps the tempo and the ticks so far.
class MidiTimer : public MidiFilter {
public:
    using MidiFilter::MidiFilter;
    bool Begin(int32_t ticksPerQuarter) override;
    bool Advance(int32_t deltaTicks) override;
    bool MetaEvent(int32_t type, int32_t length, const uint8_t* data) override;
    int32_t ElapsedMilliseconds() const;
    int32_t Tempo() const { return tempo; }

private:
    int32_t tempo = 500000;  // microseconds per quarter
    int64_t ticks = 0;
};

// Records per channel which controls its events use.
class MidiInspector : public MidiFilter {
public:
    enum : uint32_t {
        kProgram = 0x0001, kVolume = 0x0002, kPan = 0x0004, kExpression = 0x0008,
        kModulation = 0x0010, kReverb = 0x0040, kChorus = 0x0080,
        kNrpnLow = 0x0100, kNrpnHigh = 0x0200, kDataEntry = 0x0400, kDataEntryLow = 0x0800,
        kNotes = 0x1000, kPitchBend = 0x2000
    };
    using MidiFilter::MidiFilter;
    bool Begin(int32_t ticksPerQuarter) override;
    bool ShortMessage(uint32_t message) override;
    uint32_t ChannelWord(int32_t channel) const { return channels[channel & 15]; }

private:
    uint32_t channels[16] = {};
};

// One track held in memory.
class MidiTrack {
public:
    MidiTrack(const uint8_t* data, int32_t length, int32_t ticksPerQuarter);
    // Back to the start; reads the first delta.
    void Reset();
    // Hands the next event to the sink; false when the sink says stop or
    // the event is damaged (the track then ends).
    bool ReadEvent(MidiSink& sink);
    int32_t NextTime() const { return nextTime; }
    int32_t Division() const { return division; }

private:
    bool ReadByte(uint8_t* byte);
    bool ReadQuantity(uint32_t* value);
    void ReadNextTime(int32_t now);
    bool Fail();

    const uint8_t* data;
    int32_t length;
    int32_t division;
    const uint8_t* at = nullptr;
    int32_t left = 0;
    uint8_t runningStatus = 0;
    int32_t nextTime = INT32_MAX;
};

enum MidiReadResult : int32_t {
    kMidiReadOk = 0,
    kMidiReadFailed = 1,
    kMidiBadHeader = 2,
    kMidiUnsupported = 3,
    kMidiChunkRefused = 4
};

// Reads a Standard MIDI File's header and hands every chunk to HandleChunk;
// this reader keeps the tracks.
class MidiFileReader {
public:
    virtual ~MidiFileReader() = default;
    MidiReadResult Read(FSRandomAccessStream& stream);
    // The chunk's data follows in the stream; false refuses it.
    virtual bool HandleChunk(uint32_t type, uint32_t length, FSRandomAccessStream& stream);

    int32_t Format() const { return format; }
    int32_t TrackCount() const { return trackCount; }
    int32_t Division() const { return division; }
    std::vector<std::unique_ptr<MidiTrack>>& Tracks() { return tracks; }

private:
    int32_t format = 0;
    int32_t trackCount = 0;
    int32_t division = 0;
    int32_t streamLength = 0;
    std::vector<std::vector<uint8_t>> trackData;
    std::vector<std::unique_ptr<MidiTrack>> tracks;
};

// Plays one track into a sink: Begin, its events, End.
bool MidiPlayTrack(MidiTrack& track, MidiSink& sink);
// Plays tracks merged in time order (the first in list order among equals).
bool MidiPlayTracks(const std::vector<MidiTrack*>& tracks, MidiSink& sink);
