#include "media/film_resource_file.h"

#include <algorithm>
#include "framework/pending_error.h"
#include "media/sound/sound_format.h"

MMFilmResourceFile::MMFilmResourceFile() : MMResourceFileWithNamedSubfiles(MM_FILM_FILE_ERRORS) {}

const char* MMFilmResourceFile::FileTag() const { return "MMF"; }

const char* MMFilmResourceFile::FileTitle() const { return "ZOVU Films"; }

bool MMFilmResourceFile::ReadHeader()
{
    if (!MMResourceFileWithNamedSubfiles::ReadHeader()) return false;
    FSRecoverableCDFile& in = Stream();
    int16_t n = ItemCount();
    int16_t version = 0;
    if (!Need(2) || !in.ReadShorts(&version)) return ReadFailed();
    if (version != MM_FILM_KIND_VERSION) return Fail(MM_FILE_BAD_VERSION_NUMBER);
    if (!Need(22 * n + 2)) return ReadFailed();
    in.ReadBytes(frameBytes.data(), n);
    in.ReadBytes(colorTableBytes.data(), n);
    in.ReadBoxes(boxes.data(), n);
    in.ReadBytes(trackBytes.data(), MM_FILM_TRACKS * n);
    in.ReadShorts(bufferTimes.data(), n);
    in.ReadLongs(startBytes.data(), n);
    in.ReadShorts(dataRates.data(), n);
    int16_t tableCount = 0;
    in.ReadShorts(&tableCount);
    if (in.GetError() != 0) return ReadFailed();
    if (tableCount < 0) return Fail(MM_FILE_BAD_HEADER);
    if (!Need(1024 * tableCount)) return ReadFailed();
    sharedTables.resize(tableCount);
    for (MMColorTable& table : sharedTables)
        if (!table.Read(in)) return ReadFailed();
    if (!CheckItemsAfterHeader()) return false;
    return CheckFilms();
}

// What a player would trust: colour-table numbers that name a table, and a
// box a frame bitmap can be made of.
bool MMFilmResourceFile::CheckFilms()
{
    for (int16_t i = 0; i < ItemCount(); ++i) {
        if (colorTableBytes[i] >= 2 && colorTableBytes[i] - 2 >= SharedColorTableCount())
            return Fail(MM_FILE_BAD_HEADER);
        const Box& box = boxes[i];
        if (box.right < box.left || box.bottom < box.top) return Fail(MM_FILE_BAD_HEADER);
    }
    return true;
}

bool MMFilmResourceFile::WriteHeader()
{
    if (!MMResourceFileWithNamedSubfiles::WriteHeader()) return false;
    FSRecoverableCDFile& out = Stream();
    int16_t n = ItemCount();
    int16_t version = MM_FILM_KIND_VERSION;
    int16_t tableCount = SharedColorTableCount();
    out.WriteShorts(&version);
    out.WriteBytes(frameBytes.data(), n);
    out.WriteBytes(colorTableBytes.data(), n);
    out.WriteBoxes(boxes.data(), n);
    out.WriteBytes(trackBytes.data(), MM_FILM_TRACKS * n);
    out.WriteShorts(bufferTimes.data(), n);
    out.WriteLongs(startBytes.data(), n);
    out.WriteShorts(dataRates.data(), n);
    out.WriteShorts(&tableCount);
    for (const MMColorTable& table : sharedTables) table.Write(out);
    if (out.GetError() != 0) return WriteFailed();
    return true;
}

bool MMFilmResourceFile::InitTables(int16_t count)
{
    if (!MMResourceFileWithNamedSubfiles::InitTables(count)) return false;
    frameBytes.assign(count, 0);
    colorTableBytes.assign(count, 0);
    boxes.assign(count, Box{0, 0, 0, 0});
    trackBytes.assign(size_t(count) * MM_FILM_TRACKS, 0);
    bufferTimes.assign(count, 0);
    startBytes.assign(count, 0);
    dataRates.assign(count, 0);
    sharedTables.clear();
    return true;
}

void MMFilmResourceFile::FreeTables(bool deleteFile, bool markUnusable)
{
    frameBytes.clear();
    colorTableBytes.clear();
    boxes.clear();
    trackBytes.clear();
    bufferTimes.clear();
    startBytes.clear();
    dataRates.clear();
    sharedTables.clear();
    MMResourceFileWithNamedSubfiles::FreeTables(deleteFile, markUnusable);
}

uint8_t MMFilmResourceFile::FrameByte(int16_t film) const
{
    return IsValidItem(film) && size_t(film) < frameBytes.size() ? frameBytes[film] : 0;
}

int32_t MMFilmResourceFile::PixelKind(int16_t film) const
{
    return FrameByte(film) & MM_FILM_8_BITS ? 0 : 1;
}

int32_t MMFilmResourceFile::TransparencyKind(int16_t film) const
{
    return (FrameByte(film) & MM_FILM_TRANSPARENCY) >> 1;
}

bool MMFilmResourceFile::HasColorTable(int16_t film) const
{
    return IsValidItem(film) && size_t(film) < colorTableBytes.size() &&
           colorTableBytes[film] >= 2 && colorTableBytes[film] - 2 < SharedColorTableCount();
}

const MMColorTable* MMFilmResourceFile::ColorTable(int16_t film) const
{
    return HasColorTable(film) ? &sharedTables[colorTableBytes[film] - 2] : nullptr;
}

Box MMFilmResourceFile::FilmBox(int16_t film) const
{
    return IsValidItem(film) && size_t(film) < boxes.size() ? boxes[film] : Box{0, 0, 0, 0};
}

uint8_t MMFilmResourceFile::TrackByte(int16_t film, int32_t track) const
{
    if (!IsValidItem(film) || track < 0 || track >= MM_FILM_TRACKS ||
        trackBytes.size() < size_t(film + 1) * MM_FILM_TRACKS)
        return 0;
    return trackBytes[size_t(film) * MM_FILM_TRACKS + track];
}

int32_t MMFilmResourceFile::TrackCount(int16_t film) const
{
    int32_t count = 0;
    while (count < MM_FILM_TRACKS && (TrackByte(film, count) & MM_TRACK_PRESENT)) ++count;
    return count;
}

int32_t MMFilmResourceFile::BufferTime(int16_t film) const
{
    return IsValidItem(film) && size_t(film) < bufferTimes.size() ? bufferTimes[film] : 0;
}

int32_t MMFilmResourceFile::StartBytes(int16_t film) const
{
    return IsValidItem(film) && size_t(film) < startBytes.size() ? startBytes[film] : 0;
}

int32_t MMFilmResourceFile::DataRate(int16_t film) const
{
    return IsValidItem(film) && size_t(film) < dataRates.size() ? dataRates[film] : 0;
}

int32_t MMFilmResourceFile::ReadChunk(int16_t film) const
{
    int64_t chunk = int64_t(DataRate(film)) * BufferTime(film) * 16 / 125;
    return chunk > 0 && chunk <= INT32_MAX ? int32_t(chunk) : 0;
}

int32_t MMFilmResourceFile::RingSize(int16_t film) const
{
    int32_t chunk = ReadChunk(film);
    int64_t start = StartBytes(film);
    if (chunk <= 0 || start < 0) return 0;
    int64_t ring = (start + chunk + 4095) / 4096 * 4096;
    ring = std::min<int64_t>(ring, ItemSize(film));
    return ring > 0 ? int32_t(ring) : 0;
}

uint32_t MMFilmResourceFile::TrackFormat(int16_t film, int32_t track) const
{
    uint8_t byte = TrackByte(film, track);
    return SoundFormatOf(byte & MM_TRACK_RATE_CODE, byte & MM_TRACK_16_BIT, byte & MM_TRACK_STEREO);
}

bool MMFilmResourceFile::SetFrameByte(int16_t film, bool eightBits, int32_t transparencyKind,
                                      int32_t writerValue)
{
    if (Stream().GetError() != 0 || !IsValidItem(film)) return FailWithoutError();
    frameBytes[film] = uint8_t((eightBits ? MM_FILM_8_BITS : 0) | ((transparencyKind & 3) << 1) |
                               ((writerValue & 7) << 3));
    return true;
}

bool MMFilmResourceFile::SetColorTableNumber(int16_t film, int16_t number)
{
    if (Stream().GetError() != 0 || !IsValidItem(film) || number > 253) return FailWithoutError();
    colorTableBytes[film] = number < 0 ? 0 : uint8_t(number + 2);
    return true;
}

bool MMFilmResourceFile::SetFilmBox(int16_t film, const Box& box)
{
    if (Stream().GetError() != 0 || !IsValidItem(film)) return FailWithoutError();
    boxes[film] = box;
    return true;
}

bool MMFilmResourceFile::SetTracks(int16_t film, const uint8_t* bytes, int32_t count)
{
    if (Stream().GetError() != 0 || !IsValidItem(film) || count < 0 || count > MM_FILM_TRACKS)
        return FailWithoutError();
    for (int32_t k = 0; k < MM_FILM_TRACKS; ++k)
        trackBytes[size_t(film) * MM_FILM_TRACKS + k] =
            k < count ? uint8_t(bytes[k] | MM_TRACK_PRESENT) : 0;
    return true;
}

bool MMFilmResourceFile::SetTrackByte(int16_t film, int32_t track, uint8_t byte)
{
    if (Stream().GetError() != 0 || !IsValidItem(film) || track < 0 || track >= MM_FILM_TRACKS)
        return FailWithoutError();
    trackBytes[size_t(film) * MM_FILM_TRACKS + track] = byte;
    return true;
}

bool MMFilmResourceFile::SetStreaming(int16_t film, int16_t bufferTime, int32_t start,
                                      int16_t dataRate)
{
    if (Stream().GetError() != 0 || !IsValidItem(film)) return FailWithoutError();
    bufferTimes[film] = bufferTime;
    startBytes[film] = start;
    dataRates[film] = dataRate;
    return true;
}

bool MMFilmResourceFile::SetSharedColorTables(const MMColorTable* tables, int16_t count)
{
    if (Stream().GetError() != 0 || ItemsWritten() != 0 || count < 0) return FailWithoutError();
    sharedTables.assign(tables, tables + count);
    return WriteHeader();
}
