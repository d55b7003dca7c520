#pragma once
// A small canvas with its slate and stamps, a scratch folder and fixed
// texts, for the sketchbook tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "canvas/component_pixel.h"
#include "canvas/plane.h"
#include "framework/byte_order_streams.h"
#include "framework/files.h"
#include "framework/tests/scratch_folder.h"
#include "gallery/canvas_page_content.h"
#include "gallery/gallery_messages.h"
#include "gallery/sketchbook_file.h"
#include "stamps/stamps_block.h"

// The slate's stored bytes as a plain block; a fresh slate stores `fresh`.
class TestSlate : public SketchbookSlatePart {
public:
    TestSlate() : bytes(kSlateStoredSize, 0) {}
    bool Write(FSWriter& writer) override { return writer.WriteBytes(bytes.data(), kSlateStoredSize); }
    bool WriteFresh(FSWriter& writer) override
    {
        std::vector<uint8_t> fresh(kSlateStoredSize, 0);
        fresh[0] = 0x5A;  // recognisable in the file
        return writer.WriteBytes(fresh.data(), kSlateStoredSize);
    }
    bool Read(FSReader& reader) override { return reader.ReadBytes(bytes.data(), kSlateStoredSize); }
    KVXSlateRecording* Recording() override { return nullptr; }
    std::vector<uint8_t> bytes;
};

struct TestCanvas {
    TestCanvas(int32_t width, int32_t height)
        : pixels(size_t(width) * height, kBlankPixel),
          plane({width, height}, width, pixels.data(), &dirty, &dirtyFlag),
          content(plane, slate, stamps, nullptr)
    {
    }
    void Paint(uint32_t seed)
    {
        for (size_t i = 0; i < pixels.size(); ++i) {
            uint32_t v = seed * 2654435761u + uint32_t(i) * 40503u;
            pixels[i] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24 & 3),
                         uint16_t(v >> 4), 0};
        }
        for (size_t i = 0; i < slate.bytes.size(); ++i)
            slate.bytes[i] = uint8_t(seed + i * 7);
        stamps = KVXStampsBlock();
        stamps.places[3].kind = kStampCharacter;
        stamps.places[3].genre = 2;
        stamps.places[3].colourPicture = int32_t(seed);
        stamps.places[3].bounds = {10, 20, 30, 40};
        stamps.places[3].size = {20, 20};
        stamps.sceneData[1] = int16_t(seed);
    }
    // Equal colour, type and height everywhere, equal slate and stamps.
    bool SameAs(const TestCanvas& other) const
    {
        for (size_t i = 0; i < pixels.size(); ++i) {
            if (pixels[i].ColorWord() != other.pixels[i].ColorWord() ||
                pixels[i].height != other.pixels[i].height)
                return false;
        }
        bool sameStamps = std::memcmp(stamps.sceneData, other.stamps.sceneData, 8) == 0;
        for (int i = 0; i < kStampPlaces; ++i)
            sameStamps = sameStamps && stamps.places[i] == other.stamps.places[i];
        return slate.bytes == other.slate.bytes && sameStamps;
    }

    std::vector<KVXComponentPixel> pixels;
    Box dirty = {0, 0, 0, 0};
    uint8_t dirtyFlag = 0;
    KVXPlaneComponent plane;
    TestSlate slate;
    KVXStampsBlock stamps;
    CanvasPageContent content;
};

inline const char* TestTexts(int16_t key)
{
    switch (key) {
    case kTextPageName: return "Page";
    case kTextBookName: return "Carnet";
    case kTextBookFileName: return "carnet";
    case kTextTrashFolder: return "Corbeille";
    case kTextBmpExtension: return ".bmp";
    case kTextJpegExtension: return ".jpg";
    default: return "";
    }
}

inline void SilentAlert(int32_t, int16_t, const char*) {}

class BookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetGalleryTextSource(&TestTexts);
        SetGalleryAlertShow(&SilentAlert);
        ClearGalleryAlert();
        SketchbookStream::FailWrite(0);
    }
    void TearDown() override
    {
        SketchbookStream::FailWrite(0);
        SetGalleryTextSource(nullptr);
        SetGalleryAlertShow(nullptr);
    }

    std::string Path(const char* name) const { return std::string(scratch.folder.Path()) + name; }
    std::string Bytes(const char* name) const
    {
        std::string bytes;
        FILE* file = std::fopen(Path(name).c_str(), "rb");
        if (file == nullptr)
            return bytes;
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        std::fclose(file);
        return bytes;
    }
    void Put(const char* name, const std::string& bytes) { scratch.WriteFile(name, bytes); }

    ScratchFolder scratch;
};

inline int32_t Long(const std::string& bytes, size_t at)
{
    int32_t v = 0;
    if (at + 4 <= bytes.size())
        std::memcpy(&v, bytes.data() + at, 4);
    return v;
}
inline int16_t Short(const std::string& bytes, size_t at)
{
    int16_t v = 0;
    if (at + 2 <= bytes.size())
        std::memcpy(&v, bytes.data() + at, 2);
    return v;
}
inline void PutLong(std::string& bytes, size_t at, int32_t v)
{
    std::memcpy(&bytes[at], &v, 4);
}
inline size_t SlotAt(int32_t i)
{
    return size_t(kBookHeaderSize + i * kPageSlotSize);
}
