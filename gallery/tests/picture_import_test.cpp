#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "book_fixture.h"
#include "gallery/cdib.h"
#include "gallery/picture_decoding.h"
#include "gallery/picture_file.h"
#include "gallery/picture_import.h"
#include "media/offscreen_surface.h"

namespace {

std::string Corpus(const char* name)
{
    return std::string(PICTURE_CORPUS) + name;
}

std::string ReadAll(const std::string& path)
{
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

bool DecodeBytes(const std::string& bytes, DecodedPicture& out, const char** reason = nullptr)
{
    return DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, reason);
}

// Largest difference of any channel from the tools' RGB decode.
int Difference(const DecodedPicture& picture, const std::string& rgb)
{
    if (rgb.size() != picture.pixels.size() * 3)
        return 1000;
    int most = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        uint32_t p = picture.pixels[i];
        int channels[3] = {int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255)};
        for (int c = 0; c < 3; ++c)
            most = std::max(most, std::abs(channels[c] - int(uint8_t(rgb[i * 3 + c]))));
        if (p >> 24 != 0)
            return 1000;
    }
    return most;
}

int32_t Field(const std::string& b, size_t at)
{
    int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
void SetField(std::string& b, size_t at, int32_t v) { std::memcpy(&b[at], &v, 4); }
void SetShort(std::string& b, size_t at, int16_t v) { std::memcpy(&b[at], &v, 2); }

// An 8-bit RLE file of the given width, height and pixel stream.
std::string Rle8(int32_t width, int32_t height, const std::string& data, int colors = 4)
{
    std::string b(54 + colors * 4, '\0');
    b[0] = 'B', b[1] = 'M';
    SetField(b, 10, int32_t(b.size()));
    SetField(b, 14, 40);
    SetField(b, 18, width);
    SetField(b, 22, height);
    SetShort(b, 26, 1);
    SetShort(b, 28, 8);
    SetField(b, 30, 1);
    SetField(b, 34, int32_t(data.size()));
    SetField(b, 46, colors);
    for (int i = 0; i < colors; ++i)
        b[54 + 4 * i] = char(60 * i);
    return b + data;
}

}  // namespace

TEST(PictureImport, CorpusDecodesAsTheToolsDo)
{
    struct Case {
        const char* name;
        int tolerance;
    } cases[] = {
        {"one.bmp", 0}, {"four.bmp", 0}, {"rle8.bmp", 0}, {"565.bmp", 0}, {"rgb24.bmp", 0},
        {"v5.bmp", 0}, {"baseline.jpg", 2}, {"progressive.jpg", 2}, {"grey.jpg", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Corpus(c.name);
        DecodedPicture picture;
        const char* reason = nullptr;
        bool decoded = std::strstr(c.name, ".jpg") != nullptr
                           ? DecodeJpeg(path.c_str(), picture, &reason)
                           : DecodeBytes(ReadAll(path), picture, &reason);
        ASSERT_TRUE(decoded) << (reason ? reason : "");
        EXPECT_EQ(37, picture.width);
        EXPECT_EQ(23, picture.height);
        std::string stem(c.name, std::strchr(c.name, '.') - c.name);
        std::string rgb = ReadAll(Corpus((stem + ".rgb").c_str()));
        EXPECT_LE(Difference(picture, rgb), c.tolerance);
    }
}

TEST(PictureImport, TopDownAndRle4DecodeAlike)
{
    DecodedPicture expected, picture;
    // Top-down: rows reversed, height negated.
    std::string bottomUp = ReadAll(Corpus("rgb24.bmp"));
    ASSERT_TRUE(DecodeBytes(bottomUp, expected));
    std::string topDown = bottomUp;
    int32_t offset = Field(bottomUp, 10), stride = (37 * 3 + 3) / 4 * 4;
    for (int r = 0; r < 23; ++r)
        topDown.replace(offset + r * stride, stride, bottomUp.substr(offset + (22 - r) * stride, stride));
    SetField(topDown, 22, -23);
    ASSERT_TRUE(DecodeBytes(topDown, picture));
    EXPECT_EQ(expected.pixels, picture.pixels);

    // A 108-byte header: the 124-byte one without its last 16 bytes.
    std::string v5 = ReadAll(Corpus("v5.bmp"));
    ASSERT_TRUE(DecodeBytes(v5, expected));
    std::string v4 = v5.substr(0, 14 + 108) + v5.substr(14 + 124);
    SetField(v4, 14, 108);
    SetField(v4, 10, Field(v5, 10) - 16);
    ASSERT_TRUE(DecodeBytes(v4, picture));
    EXPECT_EQ(expected.pixels, picture.pixels);

    // RLE4 of the 4-bit file: every row as runs of equal pixels (encoded
    // mode) and one absolute run, with an end of line each.
    std::string four = ReadAll(Corpus("four.bmp"));
    ASSERT_TRUE(DecodeBytes(four, expected));
    offset = Field(four, 10);
    stride = (37 * 4 + 31) / 32 * 4;
    std::string data;
    for (int r = 0; r < 23; ++r) {
        auto nibble = [&](int x) { uint8_t b = uint8_t(four[offset + r * stride + x / 2]); return x % 2 ? b & 15 : b >> 4; };
        data += char(3), data += char(nibble(0) << 4 | nibble(1));
        data += char(0), data += char(34);
        for (int x = 3; x < 37; x += 2)
            data += char(nibble(x) << 4 | (x + 1 < 37 ? nibble(x + 1) : 0));
        while ((data.size() % 2) != 0)
            data += char(0);
        data += char(0), data += char(0);
    }
    data += char(0), data += char(1);
    std::string rle4 = four.substr(0, offset) + data;
    SetField(rle4, 30, 2);
    SetField(rle4, 34, int32_t(data.size()));
    ASSERT_TRUE(DecodeBytes(rle4, picture));
    for (int y = 0; y < 23; ++y) {
        for (int x : {0, 1, 3, 4, 20, 35, 36})
            ASSERT_EQ(expected.pixels[y * 37 + x], picture.pixels[y * 37 + x]) << x << "," << y;
    }
}

TEST(PictureImport, RefusalTable)
{
    std::string rgb24 = ReadAll(Corpus("rgb24.bmp"));
    std::string four = ReadAll(Corpus("four.bmp"));
    ASSERT_FALSE(rgb24.empty());
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    auto with = [](std::string b, size_t at, int32_t v) { SetField(b, at, v); return b; };
    std::string notBm = rgb24;
    notBm[1] = 'N';
    std::vector<Case> cases = {
        {"no BM", notBm, "not a BMP file"},
        {"core header", with(rgb24, 14, 12), "bad header"},
        {"header 56", with(rgb24, 14, 56), "bad header"},
        {"width 0", with(rgb24, 18, 0), "bad size"},
        {"height 0", with(rgb24, 22, 0), "bad size"},
        {"width 16385", with(rgb24, 18, 16385), "bad size"},
        {"height past the side", with(rgb24, 22, -16385), "bad size"},
        {"RLE8 of 24 bits", with(rgb24, 30, 1), "bad header"},
        {"rows past the end", rgb24.substr(0, rgb24.size() - 10), "data past the end"},
        {"pixels far away", with(rgb24, 10, 0x7FFFFFF0), "data past the end"},
        {"palette of 2 for 16 colours", with(four, 46, 2), "palette index past the palette"},
        {"palette of 17", with(four, 46, 17), "bad header"},
        {"RLE run past the row", Rle8(4, 2, std::string("\x05\x01\x00\x01", 4)), "run past the row"},
        {"RLE absolute past the row", Rle8(4, 2, std::string("\x00\x05\x01\x01\x01\x01\x01\x00\x00\x01", 10)), "run past the row"},
        {"RLE delta past the image", Rle8(4, 2, std::string("\x00\x02\x01\x02\x00\x01", 6)), "delta past the image"},
        {"RLE rows past the image", Rle8(4, 1, std::string("\x00\x00\x02\x01\x00\x01", 6)), "run past the image"},
        {"RLE without an end", Rle8(4, 2, std::string("\x02\x01", 2)), "data past the end"},
        {"RLE index past the palette", Rle8(4, 2, std::string("\x02\x07\x00\x01", 4)), "palette index past the palette"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedPicture picture;
        const char* reason = nullptr;
        EXPECT_FALSE(DecodeBytes(c.bytes, picture, &reason));
        EXPECT_STREQ(c.reason, reason);
        EXPECT_TRUE(picture.pixels.empty());
    }
    DecodedPicture picture;
    ASSERT_TRUE(DecodeBytes(Rle8(4, 2, std::string("\x02\x01\x00\x02\x01\x01\x01\x03\x00\x01", 10)), picture));
    EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 0xB4, 0x3C, 0x3C, 0, 0}), picture.pixels);

    const char* reason = nullptr;
    EXPECT_FALSE(DecodeJpeg(Corpus("cut.jpg").c_str(), picture, &reason));
    EXPECT_STREQ("corrupt JPEG", reason);
    std::string corrupt = ReadAll(Corpus("baseline.jpg"));
    // Bytes that belong to nothing before the end marker: libjpeg only warns.
    corrupt.insert(corrupt.size() - 2, std::string(20, '\x42'));
    ScratchFolder scratch;
    scratch.WriteFile("corrupt.jpg", corrupt);
    EXPECT_FALSE(DecodeJpeg((std::string(scratch.folder.Path()) + "corrupt.jpg").c_str(), picture, &reason));
    EXPECT_STREQ("corrupt JPEG", reason);
}

TEST(PictureImport, SeededMutationsAreRefusedOrDecodedWhole)
{
    std::mt19937 random(99);
    for (const char* name : {"one.bmp", "four.bmp", "rle8.bmp", "565.bmp", "v5.bmp"}) {
        std::string good = ReadAll(Corpus(name));
        ASSERT_FALSE(good.empty()) << name;
        for (int round = 0; round < 300; ++round) {
            std::string bytes = good;
            for (int k = 1 + int(random() % 6); k > 0; --k)
                bytes[random() % std::min<size_t>(bytes.size(), random() % 2 ? 160 : bytes.size())] = char(random());
            if (random() % 5 == 0)
                bytes.resize(random() % bytes.size());
            DecodedPicture picture;
            if (DecodeBytes(bytes, picture))
                ASSERT_EQ(size_t(picture.width) * picture.height, picture.pixels.size());
            else
                ASSERT_TRUE(picture.pixels.empty());
        }
    }
}

TEST(PictureImport, LoadPictureFileMatchesExtensionsAtTheEndInAnyCase)
{
    SetGalleryTextSource(&TestTexts);
    SetGalleryAlertShow(&SilentAlert);
    ScratchFolder scratch;
    scratch.WriteFile("PHOTO.JPG", ReadAll(Corpus("baseline.jpg")));
    scratch.WriteFile("dessin.Bmp", ReadAll(Corpus("rgb24.bmp")));
    scratch.WriteFile("a.jpg.txt", ReadAll(Corpus("baseline.jpg")));
    std::string folder = scratch.folder.Path();
    std::unique_ptr<CDib> jpeg(LoadPictureFile((folder + "PHOTO.JPG").c_str()));
    ASSERT_NE(nullptr, jpeg);
    EXPECT_EQ(37, jpeg->Width());
    EXPECT_EQ(32, jpeg->BitsPerPixel());
    std::unique_ptr<CDib> bmp(LoadPictureFile((folder + "dessin.Bmp").c_str()));
    ASSERT_NE(nullptr, bmp);
    DecodedPicture expected;
    ASSERT_TRUE(DecodeBytes(ReadAll(Corpus("rgb24.bmp")), expected));
    EXPECT_EQ(expected.pixels[5 * 37 + 9], bmp->PixelAt(9, 5));
    ClearGalleryAlert();
    EXPECT_EQ(nullptr, LoadPictureFile((folder + "a.jpg.txt").c_str()));
    EXPECT_EQ(kAlertPictureRefused, LastGalleryAlert());
    EXPECT_STREQ("not a BMP or JPEG file", LastGalleryReason());
    SetGalleryTextSource(nullptr);
    SetGalleryAlertShow(nullptr);
}

TEST(PictureImport, FitBoxTable)
{
    struct Case {
        Box image, target, fitted;
    } cases[] = {
        {{0, 0, 1280, 480}, {0, 0, 640, 480}, {0, 120, 640, 360}},
        {{0, 0, 100, 400}, {0, 0, 640, 480}, {260, 0, 380, 480}},
        {{0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}},
        {{0, 0, 400, 300}, {10, 20, 1010, 1020}, {10, 145, 1010, 895}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fitted, FitBox(c.image, c.target));
}

namespace {

std::string gChosen;
std::string gFilter, gTitle;
DWORD gFlags = 0;

BOOL WINAPI AnswerWithChosen(OPENFILENAMEA* record)
{
    gFilter.assign(record->lpstrFilter, 24);
    gTitle = record->lpstrTitle;
    gFlags = record->Flags;
    if (gChosen.empty())
        return FALSE;
    std::snprintf(record->lpstrFile, record->nMaxFile, "%s", gChosen.c_str());
    return TRUE;
}

uint32_t SurfacePixel(WinMMOffscreenSurface* surface, int32_t x, int32_t y)
{
    MMBitmap bitmap;
    surface->Lock();
    uint32_t pixel = 0;
    if (surface->GetBitmap(bitmap))
        std::memcpy(&pixel, bitmap.PixelAddress(x, y), 4);
    surface->Unlock();
    return pixel & 0x00FFFFFF;
}

}  // namespace

TEST(PictureImport, ImportsAtItsOwnSizeOrFittedIntoTheCanvas)
{
    SetGalleryTextSource(&TestTexts);
    SetGalleryAlertShow(&SilentAlert);
    SetPictureOpenDialog(&AnswerWithChosen);
    ScratchFolder scratch;
    scratch.WriteFile("dessin.bmp", ReadAll(Corpus("rgb24.bmp")));
    DecodedPicture expected;
    ASSERT_TRUE(DecodeBytes(ReadAll(Corpus("rgb24.bmp")), expected));
    FSDirectory folder("C:\\");
    gChosen = std::string(scratch.folder.Path()) + "dessin.bmp";

    WinMMOffscreenSurface* surface = ImportPictureFile({0, 0, 640, 480}, nullptr, folder);
    ASSERT_NE(nullptr, surface);
    EXPECT_EQ(Box({0, 0, 37, 23}), surface->GetBounds());
    EXPECT_EQ(expected.pixels[4 * 37 + 6] & 0x00FFFFFF, SurfacePixel(surface, 6, 4));
    surface->Dispose();
    EXPECT_EQ(std::string(scratch.folder.Path()), folder.Path());
    EXPECT_EQ("Ouvrir fichier Bitmap", gTitle);
    EXPECT_EQ(DWORD(0x201804), gFlags);
    EXPECT_EQ(std::string("*.bmp,*.jpg\0*.bmp;*.jpg\0", 24), gFilter);

    // Twice the canvas's width at its height: the canvas's width, centred.
    surface = ImportPictureFile({100, 50, 118, 73}, nullptr, folder);
    ASSERT_NE(nullptr, surface);
    EXPECT_EQ(FitBox({0, 0, 37, 23}, {0, 0, 18, 23}), surface->GetBounds());
    EXPECT_EQ(0, surface->GetBounds().left);
    EXPECT_EQ(18, surface->GetBounds().right);
    surface->Dispose();

    ClearGalleryAlert();
    gChosen.clear();
    EXPECT_EQ(nullptr, ImportPictureFile({0, 0, 640, 480}, nullptr, folder));
    EXPECT_EQ(0, LastGalleryAlert());
    gChosen = std::string(scratch.folder.Path()) + "missing.jpg";
    EXPECT_EQ(nullptr, ImportPictureFile({0, 0, 640, 480}, nullptr, folder));
    EXPECT_EQ(kAlertPictureRefused, LastGalleryAlert());
    SetPictureOpenDialog(nullptr);
    SetGalleryTextSource(nullptr);
    SetGalleryAlertShow(nullptr);
}
