#pragma once
// Film resource files ("ZOVU Films"): a named-subfile resource file whose
// kind block gives per film its frame format, box, colour table, sound
// tracks and streaming figures, then the file's shared colour tables. Each
// item is one film: a big-endian stream of chunks (film_player.h).
#include <cstdint>
#include <vector>
#include "engine/resource_file.h"
#include "framework/color_table.h"
#include "framework/geometry.h"

const int MM_FILM_KIND_VERSION = 5;
const int MM_FILM_TRACKS = 4;

// Frame byte.
enum : uint8_t {
    MM_FILM_8_BITS = 0x01,        // else 32-bit frames
    MM_FILM_TRANSPARENCY = 0x06,  // bits 1-2
    MM_FILM_WRITER_VALUE = 0x38   // bits 3-5: only the writer sets them
};

// Track byte.
enum : uint8_t {
    MM_TRACK_RATE_CODE = 0x03,
    MM_TRACK_16_BIT = 0x04,
    MM_TRACK_STEREO = 0x08,
    MM_TRACK_COMPRESSED = 0x10,
    MM_TRACK_PRESENT = 0x40
};

class MMFilmResourceFile : public MMResourceFileWithNamedSubfiles {
public:
    MMFilmResourceFile();
    const char* FileTag() const override;    // "MMF"
    const char* FileTitle() const override;  // "ZOVU Films"
    bool ReadHeader() override;
    bool WriteHeader() override;
    bool InitTables(int16_t itemCount) override;
    void FreeTables(bool deleteFile, bool markUnusable) override;

    uint8_t FrameByte(int16_t film) const;
    int32_t PixelKind(int16_t film) const;  // 0 for 8-bit frames, 1 for 32-bit
    int32_t TransparencyKind(int16_t film) const;
    bool HasColorTable(int16_t film) const;
    const MMColorTable* ColorTable(int16_t film) const;
    Box FilmBox(int16_t film) const;
    uint8_t TrackByte(int16_t film, int32_t track) const;
    int32_t TrackCount(int16_t film) const;
    int32_t BufferTime(int16_t film) const;
    int32_t StartBytes(int16_t film) const;
    int32_t DataRate(int16_t film) const;
    // The data of one buffer time; 0 when the figures give none.
    int32_t ReadChunk(int16_t film) const;
    // The first part of the film kept in memory as its stream's ring; 0
    // when the figures give none.
    int32_t RingSize(int16_t film) const;
    // The sound-format word of a track.
    uint32_t TrackFormat(int16_t film, int32_t track) const;
    int16_t SharedColorTableCount() const { return int16_t(sharedTables.size()); }

    // Writer side. Shared tables take room in the header, so they must be
    // set before the first item is written.
    bool SetFrameByte(int16_t film, bool eightBits, int32_t transparencyKind, int32_t writerValue);
    bool SetColorTableNumber(int16_t film, int16_t number);  // -1: none
    bool SetFilmBox(int16_t film, const Box& box);
    // The first count tracks are present, with the given bytes (bit 6 is set).
    bool SetTracks(int16_t film, const uint8_t* trackBytes, int32_t count);
    // One track byte as it is stored.
    bool SetTrackByte(int16_t film, int32_t track, uint8_t byte);
    bool SetStreaming(int16_t film, int16_t bufferTime, int32_t startBytes, int16_t dataRate);
    bool SetSharedColorTables(const MMColorTable* tables, int16_t count);

private:
    bool CheckFilms();

    std::vector<uint8_t> frameBytes;
    std::vector<uint8_t> colorTableBytes;
    std::vector<Box> boxes;
    std::vector<uint8_t> trackBytes;  // four per film
    std::vector<int16_t> bufferTimes;
    std::vector<int32_t> startBytes;
    std::vector<int16_t> dataRates;
    std::vector<MMColorTable> sharedTables;
};
