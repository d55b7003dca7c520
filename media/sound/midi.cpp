#include "media/sound/midi.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include "framework/byte_order_streams.h"

namespace {

const uint32_t kMThd = 0x4D546864;
const uint32_t kMTrk = 0x4D54726B;
const int32_t kLongestMetaOrSysEx = 32766;
const uint8_t kTempo = 0x51;
const uint8_t kEndOfTrack = 0x2F;

bool HasSecondDataByte(uint8_t status) { return status < 0xC0 || status >= 0xE0; }

}  // namespace

bool MidiSink::Begin(int32_t ticksPerQuarter)
{
    division = ticksPerQuarter;
    return true;
}

bool MidiBufferedFileSink::Healthy() const { return out && out->GetError() == 0; }

bool MidiBufferedFileSink::Flush()
{
    if (fill > 0 && out) out->WriteBytes(buffer, fill);
    fill = 0;
    return Healthy();
}

bool MidiBufferedFileSink::PutByte(uint8_t byte)
{
    buffer[fill++] = byte;
    if (fill == int32_t(sizeof buffer)) return Flush();
    return Healthy();
}

bool MidiBufferedFileSink::PutBytes(const uint8_t* bytes, int32_t n)
{
    if (n <= 0) return Healthy();
    if (fill + n > 2 * int32_t(sizeof buffer)) {
        Flush();
        if (out) out->WriteBytes(bytes, n);
        return Healthy();
    }
    while (n > 0) {
        int32_t k = std::min(n, int32_t(sizeof buffer) - fill);
        std::memcpy(buffer + fill, bytes, size_t(k));
        fill += k;
        bytes += k;
        n -= k;
        if (fill == int32_t(sizeof buffer)) Flush();
    }
    return Healthy();
}

bool MidiBufferedFileSink::PutQuantity(uint32_t value)
{
    value = std::min<uint32_t>(value, 0x0FFFFFFF);
    uint8_t groups[4];
    int n = 0;
    do {
        groups[n++] = uint8_t(value & 0x7F);
        value >>= 7;
    } while (value);
    while (n > 1) PutByte(uint8_t(groups[--n] | 0x80));
    return PutByte(groups[0]);
}

bool MidiBufferedFileSink::PutLong(uint32_t value)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    return PutBytes(bytes, 4);
}

uint32_t MidiBufferedFileSink::TakeDelta()
{
    uint32_t delta = totalTicks - writtenTicks;
    writtenTicks = totalTicks;
    return delta;
}

bool MidiBufferedFileSink::Advance(int32_t deltaTicks)
{
    totalTicks += uint32_t(std::max(deltaTicks, int32_t(0)));
    return Healthy();
}

bool MidiBufferedFileSink::End(bool) { return Flush(); }

bool MidiFileSinkMidi::Begin(int32_t ticksPerQuarter)
{
    runningStatus = 0;
    return MidiBufferedFileSink::Begin(ticksPerQuarter);
}

bool MidiFileSinkMidi::ShortMessage(uint32_t message)
{
    uint8_t status = uint8_t(message);
    PutQuantity(TakeDelta());
    if (status != runningStatus) {
        PutByte(status);
        runningStatus = status;
    }
    PutByte(uint8_t(message >> 8) & 0x7F);
    if (HasSecondDataByte(status)) PutByte(uint8_t(message >> 16) & 0x7F);
    return Healthy();
}

// A system-exclusive or meta event cancels running status for readers that
// follow the file format, so the next message writes its status again.
bool MidiFileSinkMidi::SysEx(bool continuation, int32_t length, const uint8_t* data)
{
    length = std::max(length, int32_t(0));
    PutQuantity(TakeDelta());
    PutByte(continuation ? 0xF7 : 0xF0);
    PutQuantity(uint32_t(length));
    PutBytes(data, length);
    runningStatus = 0;
    return Healthy();
}

bool MidiFileSinkMidi::MetaEvent(int32_t type, int32_t length, const uint8_t* data)
{
    if (type == kEndOfTrack) return Healthy();
    length = std::max(length, int32_t(0));
    PutQuantity(TakeDelta());
    PutByte(0xFF);
    PutByte(uint8_t(type));
    PutQuantity(uint32_t(length));
    PutBytes(data, length);
    runningStatus = 0;
    return Healthy();
}

bool MidiFileSinkMidi::End(bool abandoned)
{
    if (!abandoned) {
        PutQuantity(TakeDelta());
        const uint8_t end[] = {0xFF, kEndOfTrack, 0x00};
        PutBytes(end, 3);
    }
    return Flush();
}

bool MidiFileSinkWindows::PutEvent(uint32_t event)
{
    PutLong(TakeDelta());
    PutLong(0);
    return PutLong(event);
}

bool MidiFileSinkWindows::ShortMessage(uint32_t message) { return PutEvent(message); }

bool MidiFileSinkWindows::MetaEvent(int32_t type, int32_t length, const uint8_t* data)
{
    if (type != kTempo || length < 3) return Healthy();
    return PutEvent(0x01000000u | uint32_t(data[0]) << 16 | uint32_t(data[1]) << 8 | data[2]);
}

bool MidiFileSinkWindows::End(bool abandoned)
{
    if (!abandoned) PutEvent(0x2FFF);
    return Flush();
}

bool MidiFilter::Begin(int32_t ticksPerQuarter)
{
    MidiSink::Begin(ticksPerQuarter);
    return !next || next->Begin(ticksPerQuarter);
}

bool MidiFilter::Advance(int32_t deltaTicks) { return !next || next->Advance(deltaTicks); }

bool MidiFilter::ShortMessage(uint32_t message) { return !next || next->ShortMessage(message); }

bool MidiFilter::SysEx(bool continuation, int32_t length, const uint8_t* data)
{
    return !next || next->SysEx(continuation, length, data);
}

bool MidiFilter::MetaEvent(int32_t type, int32_t length, const uint8_t* data)
{
    return !next || next->MetaEvent(type, length, data);
}

bool MidiFilter::End(bool abandoned) { return !next || next->End(abandoned); }

bool MidiMetaEventFilter::MetaEvent(int32_t type, int32_t length, const uint8_t* data)
{
    if (type != kTempo || length != 3) return true;
    return MidiFilter::MetaEvent(type, length, data);
}

bool MidiBaseSynthFilter::ShortMessage(uint32_t message)
{
    int32_t channel = message & 0x0F;
    if (channel >= 10) return true;
    if (!MidiFilter::ShortMessage(message)) return false;
    if (channel <= 4) return MidiFilter::ShortMessage(message + 10);
    if (channel == 9) return MidiFilter::ShortMessage(message + 6);
    return true;
}

bool MidiTimer::Begin(int32_t ticksPerQuarter)
{
    tempo = 500000;
    ticks = 0;
    return MidiFilter::Begin(ticksPerQuarter);
}

bool MidiTimer::Advance(int32_t deltaTicks)
{
    ticks += deltaTicks;
    return MidiFilter::Advance(deltaTicks);
}

bool MidiTimer::MetaEvent(int32_t type, int32_t length, const uint8_t* data)
{
    if (type == kTempo && length >= 3) tempo = data[0] << 16 | data[1] << 8 | data[2];
    return MidiFilter::MetaEvent(type, length, data);
}

int32_t MidiTimer::ElapsedMilliseconds() const
{
    if (division <= 0) return 0;
    double ms = double(ticks) / division * tempo * 0.001;
    return int32_t(std::min(ms, double(INT32_MAX)));
}

bool MidiInspector::Begin(int32_t ticksPerQuarter)
{
    std::fill(std::begin(channels), std::end(channels), 0u);
    return MidiFilter::Begin(ticksPerQuarter);
}

bool MidiInspector::ShortMessage(uint32_t message)
{
    uint32_t& word = channels[message & 0x0F];
    uint8_t kind = message & 0xF0;
    int32_t controller = (message >> 8) & 0x7F;
    switch (kind) {
    case 0x80:
    case 0x90:
        word |= kNotes;
        break;
    case 0xB0:
        switch (controller) {
        case 1: word |= kModulation; break;
        case 6: word |= kDataEntry; break;
        case 7: word |= kVolume; break;
        case 10: word |= kPan; break;
        case 11: word |= kExpression; break;
        case 38: word |= kDataEntryLow; break;
        case 91: word |= kReverb; break;
        case 93: word |= kChorus; break;
        case 100: word |= kNrpnLow; break;
        case 101: word |= kNrpnHigh; break;
        default: break;
        }
        break;
    case 0xC0:
        word |= kProgram;
        break;
    case 0xE0:
        word |= kPitchBend;
        break;
    default:
        break;
    }
    return MidiFilter::ShortMessage(message);
}

MidiTrack::MidiTrack(const uint8_t* data, int32_t length, int32_t ticksPerQuarter)
    : data(data), length(std::max(length, int32_t(0))), division(ticksPerQuarter)
{
    Reset();
}

void MidiTrack::Reset()
{
    at = data;
    left = length;
    runningStatus = 0;
    nextTime = INT32_MAX;
    ReadNextTime(0);
}

bool MidiTrack::ReadByte(uint8_t* byte)
{
    if (left <= 0) return false;
    *byte = *at++;
    --left;
    return true;
}

bool MidiTrack::ReadQuantity(uint32_t* value)
{
    uint32_t result = 0;
    uint8_t byte = 0x80;
    for (int i = 0; i < 4 && (byte & 0x80); ++i) {
        if (!ReadByte(&byte)) return false;
        result = result << 7 | (byte & 0x7F);
    }
    if (byte & 0x80) return false;
    *value = result;
    return true;
}

void MidiTrack::ReadNextTime(int32_t now)
{
    uint32_t delta = 0;
    if (left <= 0 || !ReadQuantity(&delta)) {
        nextTime = INT32_MAX;
        return;
    }
    int64_t next = int64_t(now) + delta;
    nextTime = next >= INT32_MAX ? INT32_MAX : int32_t(next);
}

bool MidiTrack::Fail()
{
    left = 0;
    nextTime = INT32_MAX;
    return false;
}

bool MidiTrack::ReadEvent(MidiSink& sink)
{
    int32_t now = nextTime;
    uint8_t status = 0;
    if (!ReadByte(&status)) return Fail();
    bool goOn;
    if (status >= 0xF0) {
        uint8_t type = 0;
        uint32_t size = 0;
        if (status == 0xFF && !ReadByte(&type)) return Fail();
        if (!ReadQuantity(&size) || size > uint32_t(kLongestMetaOrSysEx) ||
            size > uint32_t(left))
            return Fail();
        const uint8_t* bytes = at;
        at += size;
        left -= int32_t(size);
        goOn = status == 0xFF ? sink.MetaEvent(type, int32_t(size), bytes)
                              : sink.SysEx(status == 0xF7, int32_t(size), bytes);
    } else {
        uint8_t first = 0, second = 0;
        if (status & 0x80) {
            runningStatus = status;
            if (!ReadByte(&first)) return Fail();
        } else {
            // A data byte needs a status to run on.
            if (!runningStatus) return Fail();
            first = status;
            status = runningStatus;
        }
        if (HasSecondDataByte(status) && !ReadByte(&second)) return Fail();
        goOn = sink.ShortMessage(uint32_t(status) | uint32_t(first) << 8 | uint32_t(second) << 16);
    }
    ReadNextTime(now);
    return goOn;
}

MidiReadResult MidiFileReader::Read(FSRandomAccessStream& stream)
{
    auto readLong = [&](uint32_t* value) {
        uint8_t b[4];
        if (!stream.ReadBytes(b, 4)) return false;
        *value = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
        return true;
    };
    auto readShort = [&](int32_t* value) {
        uint8_t b[2];
        if (!stream.ReadBytes(b, 2)) return false;
        *value = b[0] << 8 | b[1];
        return true;
    };
    int32_t start = stream.Tell();
    int32_t end = -1;
    if (start < 0 || !stream.Seek(0, FS_SEEK_FROM_END, &end) ||
        !stream.Seek(start, FS_SEEK_FROM_START, nullptr))
        return kMidiReadFailed;
    streamLength = end;
    uint32_t type = 0, size = 0;
    if (!readLong(&type) || !readLong(&size)) return kMidiReadFailed;
    if (type != kMThd || size != 6) return kMidiBadHeader;
    if (!readShort(&format) || !readShort(&trackCount) || !readShort(&division))
        return kMidiReadFailed;
    if (format > 2 || division == 0) return kMidiBadHeader;
    if (format == 2) return kMidiUnsupported;
    while (stream.Tell() < end) {
        if (!readLong(&type) || !readLong(&size)) return kMidiReadFailed;
        if (!HandleChunk(type, size, stream)) return kMidiChunkRefused;
        if (stream.GetError() != 0) return kMidiReadFailed;
    }
    return kMidiReadOk;
}

bool MidiFileReader::HandleChunk(uint32_t type, uint32_t length, FSRandomAccessStream& stream)
{
    int32_t position = stream.Tell();
    if (position < 0 || int64_t(length) > int64_t(streamLength) - position) {
        stream.SetError(FS_ERROR_END_OF_FILE);
        return true;
    }
    if (type != kMTrk) return stream.Seek(int32_t(length), FS_SEEK_FROM_CURRENT, nullptr);
    trackData.emplace_back(length);
    if (length > 0 && !stream.ReadBytes(trackData.back().data(), int32_t(length))) return true;
    tracks.push_back(std::make_unique<MidiTrack>(trackData.back().data(), int32_t(length),
                                                 division));
    return true;
}

bool MidiPlayTrack(MidiTrack& track, MidiSink& sink)
{
    if (!sink.Begin(track.Division())) {
        sink.End(true);
        return false;
    }
    track.Reset();
    int32_t previous = 0;
    while (track.NextTime() != INT32_MAX) {
        int32_t next = track.NextTime();
        if (!sink.Advance(next - previous) || !track.ReadEvent(sink)) {
            sink.End(true);
            return false;
        }
        previous = next;
    }
    return sink.End(false);
}

bool MidiPlayTracks(const std::vector<MidiTrack*>& tracks, MidiSink& sink)
{
    if (!sink.Begin(tracks.empty() ? 0 : tracks[0]->Division())) {
        sink.End(true);
        return false;
    }
    for (MidiTrack* track : tracks) track->Reset();
    int32_t previous = 0;
    for (;;) {
        MidiTrack* soonest = nullptr;
        for (MidiTrack* track : tracks)
            if (track->NextTime() != INT32_MAX &&
                (!soonest || track->NextTime() < soonest->NextTime()))
                soonest = track;
        if (!soonest) break;
        int32_t next = soonest->NextTime();
        if (!sink.Advance(next - previous) || !soonest->ReadEvent(sink)) {
            sink.End(true);
            return false;
        }
        previous = next;
    }
    return sink.End(false);
}
