#include "gallery/movie_export.h"

#include <cstring>
#include <memory>

#include "canvas/plane.h"
#include "canvas/resample.h"
#include "gallery/page_picture.h"
#include "media/bitmap.h"
#include "media/offscreen_surface.h"
#include "media/sound/sound_collection.h"
#include "selection/slate_store.h"

namespace {

constexpr DWORD kVideoForWindows110 = 0x010A0000;
constexpr DWORD kAudioStreamFlags = 0x10000;

struct SurfaceDeleter {
    void operator()(WinMMOffscreenSurface* surface) const
    {
        if (surface)
            surface->Dispose();
    }
};
using OwnedSurface = std::unique_ptr<WinMMOffscreenSurface, SurfaceDeleter>;

// Everything the library hands out, released in reverse whatever happens.
struct MovieFile {
    ~MovieFile()
    {
        if (audio)
            AVIStreamRelease(audio);
        if (compressed)
            AVIStreamRelease(compressed);
        if (video)
            AVIStreamRelease(video);
        if (file)
            AVIFileRelease(file);
        AVIFileExit();
    }
    PAVIFILE file = nullptr;
    PAVISTREAM video = nullptr;
    PAVISTREAM compressed = nullptr;
    PAVISTREAM audio = nullptr;
};

BITMAPINFOHEADER FrameHeader(int32_t width, int32_t height)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(width) * DWORD(height) * 4;
    return header;
}

// The surface's rows bottom row first, as the frame header says.
void CopyBottomUp(MMSurface& surface, std::vector<uint8_t>& frame)
{
    surface.Lock();
    MMBitmap bitmap;
    if (surface.GetBitmap(bitmap)) {
        int32_t rowBytes = bitmap.box.Width() * 4;
        int32_t height = bitmap.box.Height();
        for (int32_t y = 0; y < height; ++y)
            std::memcpy(frame.data() + size_t(height - 1 - y) * size_t(rowBytes),
                        bitmap.PixelAddress(bitmap.box.left, bitmap.box.top + y),
                        size_t(rowBytes));
    }
    surface.Unlock();
}

bool Shrink(MMSurface& full, MMSurface& half)
{
    full.Lock();
    half.Lock();
    MMBitmap source;
    MMBitmap target;
    bool ok = full.GetBitmap(source) && half.GetBitmap(target);
    if (ok)
        ResampleBitmap(source, target);
    half.Unlock();
    full.Unlock();
    return ok;
}

bool AddAudio(MovieFile& movie, const MovieSound& sound, const Box& frame)
{
    WAVEFORMATEX wave = MovieWaveFormat(sound.format);
    AVISTREAMINFOA info = {};
    info.fccType = streamtypeAUDIO;
    info.dwFlags = kAudioStreamFlags;
    info.dwScale = wave.nBlockAlign;
    info.dwRate = wave.nAvgBytesPerSec;
    info.dwInitialFrames = 0;
    info.dwSuggestedBufferSize = 0;
    info.dwQuality = DWORD(-1);
    info.dwSampleSize = wave.nBlockAlign;
    SetRect(&info.rcFrame, frame.left, frame.top, frame.right, frame.bottom);
    LONG samples = LONG(sound.samples.size() / wave.nBlockAlign);
    return AVIFileCreateStreamA(movie.file, &movie.audio, &info) == 0 &&
           AVIStreamSetFormat(movie.audio, 0, &wave, sizeof wave) == 0 &&
           AVIStreamWrite(movie.audio, 0, samples, const_cast<uint8_t*>(sound.samples.data()),
                          LONG(samples * wave.nBlockAlign), AVIIF_KEYFRAME, nullptr,
                          nullptr) == 0;
}

}  // namespace

bool MovieOptionsDialog::Ask(PAVISTREAM stream, AVICOMPRESSOPTIONS* options)
{
    AVICOMPRESSOPTIONS* list[1] = {options};
    PAVISTREAM streams[1] = {stream};
    return AVISaveOptions(nullptr, 0, 1, streams, list) != FALSE;
}

WAVEFORMATEX MovieWaveFormat(uint32_t format)
{
    WAVEFORMATEX wave = {};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = (format & 0x10) ? 2 : 1;
    wave.nSamplesPerSec = (format & 7) * 11025;
    wave.nBlockAlign = WORD(wave.nChannels * ((format & 0x08) ? 2 : 1));
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
    wave.wBitsPerSample = (format & 0x08) ? 16 : 8;
    wave.cbSize = 0;
    return wave;
}

bool LoadMovieSound(int32_t soundId, MovieSound& sound)
{
    MMSoundCollection* collection = soundId == -1 ? nullptr : MMFindSoundCollection(soundId);
    if (collection == nullptr)
        return false;
    int16_t item = int16_t(soundId & 0xFFFF);
    int32_t size = collection->DecodedSize(item);
    uint32_t format = collection->Format(item);
    if (size <= 0 || MovieWaveFormat(format).nBlockAlign == 0 || (format & 7) == 0)
        return false;
    std::unique_ptr<MMSoundSource> source(collection->OpenSource(item));
    if (!source)
        return false;
    sound.format = format;
    sound.durationMs = collection->Duration(item);
    sound.samples.assign(size_t(size), 0);
    int32_t read = 0;
    while (read < size) {
        int32_t n = source->Read(sound.samples.data() + read, size - read, true);
        if (n <= 0)
            break;
        read += n;
    }
    sound.samples.resize(size_t(read));
    return read > 0;
}

MovieResult WriteMovie(PagePicture& page, const MovieSound& sound, const FSDirectory& folder,
                       const char* name, MovieOptionsDialog& dialog)
{
    KVXPlaneComponent& plane = page.Plane();
    Box canvas = {0, 0, plane.width, plane.height};
    Box halfBox = {0, 0, plane.width / 2, plane.height / 2};
    OwnedSurface full(MMSurface::CreateBitmapDC(32, canvas, nullptr));
    OwnedSurface half(MMSurface::CreateBitmapDC(32, halfBox, nullptr));
    char path[FS_PATH_SIZE];
    if (!full || !half || halfBox.Width() <= 0 || halfBox.Height() <= 0 ||
        !FSJoinPath(path, folder, name))
        return MovieResult::kFailed;
    if (HIWORD(VideoForWindowsVersion()) < HIWORD(kVideoForWindows110) ||
        VideoForWindowsVersion() < kVideoForWindows110)
        return MovieResult::kFailed;

    AVIFileInit();
    MovieFile movie;
    FSDeleteFile(folder, name);
    BITMAPINFOHEADER header = FrameHeader(halfBox.Width(), halfBox.Height());
    AVISTREAMINFOA video = {};
    video.fccType = streamtypeVIDEO;
    video.fccHandler = 0;
    video.dwScale = 1;
    video.dwRate = kMovieFramesPerSecond;
    video.dwSuggestedBufferSize = header.biSizeImage;
    SetRect(&video.rcFrame, 0, 0, halfBox.Width(), halfBox.Height());
    if (AVIFileOpenA(&movie.file, path, OF_WRITE | OF_CREATE, nullptr) != 0 ||
        AVIFileCreateStreamA(movie.file, &movie.video, &video) != 0)
        return MovieResult::kFailed;

    AVICOMPRESSOPTIONS options = {};
    if (!dialog.Ask(movie.video, &options))
        return MovieResult::kCancelled;
    if (AVIMakeCompressedStream(&movie.compressed, movie.video, &options, nullptr) != 0 ||
        AVIStreamSetFormat(movie.compressed, 0, &header, header.biSize) != 0)
        return MovieResult::kFailed;
    if (!sound.samples.empty() && !AddAudio(movie, sound, halfBox))
        return MovieResult::kFailed;

    int32_t frames = int32_t(int64_t(sound.durationMs) * kMovieFramesPerSecond / 1000);
    bool mark = page.IsModified() || page.HasPlacedStamps();
    std::vector<uint8_t> frame(header.biSizeImage);
    for (int32_t k = 0; k < frames; ++k) {
        int32_t step = k % kMovieAnimationSteps;
        full->FillBox(canvas, MakeMMColorFromRgb(0xFFFFFF));
        page.Render(full.get(), step, false);
        half->FillBox(halfBox, MakeMMColorFromRgb(0xFFFFFF));
        if (!Shrink(*full, *half))
            return MovieResult::kFailed;
        if (mark)
            DrawExportMark(half.get());
        CopyBottomUp(*half, frame);
        if (AVIStreamWrite(movie.compressed, k, 1, frame.data(), LONG(frame.size()),
                           AVIIF_KEYFRAME, nullptr, nullptr) != 0)
            return MovieResult::kFailed;
    }
    return MovieResult::kWritten;
}
