// The slate recording inside a sketchbook page: 51,750 bytes, little-endian.
#include <cstring>
#include <memory>
#include <vector>

#include "framework/byte_order_streams.h"
#include "framework/files.h"
#include "framework/pending_error.h"
#include "selection/slate_store.h"

namespace {

const char kDamagedSlate[] = "The slate drawing of this page could not be read (%s).";
constexpr int32_t kFrameBytes = kSlatePoints * 4 + 2 + 4 + 2 + 8 + 4;
constexpr int32_t kChannelBytes = kSlateFrames * kFrameBytes + 8;
static_assert(kFrameBytes == 2068, "a stored slate frame is 2,068 bytes");
static_assert(kSlateChannels * kChannelBytes + 8 + 2 == MagicSlateStore::StoredSize(),
              "the stored slate is 51,750 bytes");

bool WriteBox16(FSWriter& writer, const Box& box)
{
    int16_t v[4] = {int16_t(box.left), int16_t(box.top), int16_t(box.right),
                    int16_t(box.bottom)};
    return writer.WriteShorts(v, 4);
}

bool ReadBox16(FSReader& reader, Box* box)
{
    int16_t v[4];
    if (!reader.ReadShorts(v, 4))
        return false;
    *box = {v[0], v[1], v[2], v[3]};
    return true;
}

bool WriteFrame(FSWriter& writer, const SlateFrame& frame)
{
    uint32_t slots[kSlatePoints];
    for (int32_t i = 0; i < kSlatePoints; ++i) {
        slots[i] = uint32_t(uint16_t(frame.points[i].x)) |
                   uint32_t(uint16_t(frame.points[i].y)) << 16;
    }
    return writer.WriteLongs(slots, kSlatePoints) && writer.WriteShorts(&frame.count) &&
           writer.WriteLongs(&frame.colour) && writer.WriteShorts(&frame.width) &&
           WriteBox16(writer, frame.bounds) && writer.WriteLongs(&frame.state);
}

bool ReadFrame(FSReader& reader, SlateFrame* frame)
{
    uint32_t slots[kSlatePoints];
    if (!reader.ReadLongs(slots, kSlatePoints))
        return false;
    for (int32_t i = 0; i < kSlatePoints; ++i)
        frame->points[i] = {int16_t(slots[i] & 0xFFFF), int16_t(slots[i] >> 16)};
    return reader.ReadShorts(&frame->count) && reader.ReadLongs(&frame->colour) &&
           reader.ReadShorts(&frame->width) && ReadBox16(reader, &frame->bounds) &&
           reader.ReadLongs(&frame->state);
}

// Counts in range, known states, and one count for every non-empty frame.
bool ChannelIsSound(const SlateChannel& channel)
{
    int16_t shared = 0;
    for (const SlateFrame& frame : channel.frames) {
        if (frame.count < 0 || frame.count > kSlatePoints)
            return false;
        if (frame.state < kSlateEmpty || frame.state > kSlateInBetween)
            return false;
        if (frame.count == 0)
            continue;
        if (shared != 0 && frame.count != shared)
            return false;
        shared = frame.count;
    }
    return true;
}

void TakeChannel(const SlateChannel& read, SlateChannel* into)
{
    for (int32_t f = 0; f < kSlateFrames; ++f) {
        uint32_t ghost = into->frames[f].ghostColour;
        into->frames[f] = read.frames[f];
        into->frames[f].ghostColour = ghost;
    }
    into->bounds = read.bounds;
}

bool ReadFlag(FSReader& reader, bool* flag)
{
    uint8_t byte = 0;
    if (!reader.ReadBytes(&byte, 1))
        return false;
    *flag = byte != 0;
    return true;
}

}  // namespace

bool MagicSlateStore::Write(FSWriter& writer) const
{
    // Made in memory first, so the page gets the whole recording or none.
    std::vector<uint8_t> bytes(StoredSize());
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    for (const SlateChannel& channel : channels) {
        for (const SlateFrame& frame : channel.frames) {
            if (!WriteFrame(memory, frame))
                return FailWithoutError();
        }
        if (!WriteBox16(memory, channel.bounds))
            return FailWithoutError();
    }
    uint8_t flags[2] = {uint8_t(playing ? 1 : 0), uint8_t(paused ? 1 : 0)};
    if (!WriteBox16(memory, reserved) || !memory.WriteBytes(flags, 2))
        return FailWithoutError();
    return writer.WriteBytes(bytes.data(), int32_t(bytes.size()));
}

bool MagicSlateStore::Read(FSReader& reader)
{
    for (int16_t c = 0; c < kSlateChannels; ++c)
        ClearKeyFrames(c);
    reserved = {0, 0, 0, 0};
    playing = paused = false;
    std::vector<uint8_t> bytes(StoredSize());
    if (!reader.ReadBytes(bytes.data(), int32_t(bytes.size())))
        return SetPendingErrorText(kDamagedSlate, FSDirectory(), "short recording", 0);
    FSMemory memory(bytes.data(), uint32_t(bytes.size()));
    auto read = std::make_unique<SlateChannel>();
    bool damaged = false;
    for (SlateChannel& channel : channels) {
        for (SlateFrame& frame : read->frames)
            ReadFrame(memory, &frame);
        ReadBox16(memory, &read->bounds);
        if (ChannelIsSound(*read))
            TakeChannel(*read, &channel);
        else
            damaged = true;
    }
    bool wasPlaying = false;
    bool wasPaused = false;
    ReadBox16(memory, &reserved);
    ReadFlag(memory, &wasPlaying);
    ReadFlag(memory, &wasPaused);
    if (damaged)
        return SetPendingErrorText(kDamagedSlate, FSDirectory(), "damaged channel", 0);
    paused = wasPaused;
    if (wasPlaying)
        Start();
    return true;
}
