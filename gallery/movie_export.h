#pragma once
// A page's animation as an AVI movie through the platform's AVIFile
// library: half the canvas at 12 frames a second, the slate and the
// stamps stepping 0 to 59 and over again, with the page's music as PCM.
#include <windows.h>
#include <vfw.h>

#include <cstdint>
#include <vector>

#include "framework/folders.h"

class PagePicture;

constexpr int32_t kMovieFramesPerSecond = 12;
constexpr int32_t kMovieAnimationSteps = 60;

// The sound track: the format word (rate index, 16-bit, stereo) and the
// decoded samples; no samples means a silent movie of durationMs.
struct MovieSound {
    uint32_t format = 0;
    int32_t durationMs = 0;
    std::vector<uint8_t> samples;
};

// Reads a sound resource whole, decoded; false when it is missing.
bool LoadMovieSound(int32_t soundId, MovieSound& sound);

// The compression options dialog; tests answer it themselves.
class MovieOptionsDialog {
public:
    virtual ~MovieOptionsDialog() = default;
    // False when cancelled.
    virtual bool Ask(PAVISTREAM stream, AVICOMPRESSOPTIONS* options);
};

enum class MovieResult { kWritten, kCancelled, kFailed };

// The 18-byte wave header of a sound-format word.
WAVEFORMATEX MovieWaveFormat(uint32_t format);

// Writes the movie to folder\name (which must end in the movie extension,
// for the library to know its kind); a file of that name is replaced.
MovieResult WriteMovie(PagePicture& page, const MovieSound& sound, const FSDirectory& folder,
                       const char* name, MovieOptionsDialog& dialog);
