#include <stdio.h>
#include <jpeglib.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 8;

// libjpeg would end the process on an error; the jump returns to the caller.
struct JumpErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
};

void JumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JumpErrorManager*>(info->err)->back, 1);
}

unsigned char Red(int x, int y) { return static_cast<unsigned char>(x * 16); }
unsigned char Green(int x, int y) { return static_cast<unsigned char>(y * 32); }

void WriteJpeg(const char* path)
{
    FILE* file = fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    // Full-resolution colour, so every pixel comes back close to what was written.
    info.comp_info[0].h_samp_factor = 1;
    info.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(kWidth * 3);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            row[x * 3] = Red(x, y);
            row[x * 3 + 1] = Green(x, y);
            row[x * 3 + 2] = 128;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    fclose(file);
}

// Decodes the file as the picture import does; false when libjpeg gave up.
bool ReadJpeg(const char* path, int& width, int& height, std::vector<unsigned char>& pixels)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    jpeg_decompress_struct info;
    JumpErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        fclose(file);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = info.output_width;
    height = info.output_height;
    pixels.assign(width * height * 3, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {pixels.data() + info.output_scanline * width * 3};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    fclose(file);
    return true;
}

TEST(JpegDependency, DecodesWhatItWroteAndJumpsBackOnBadData)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "jpeg-dependency.jpg";
    WriteJpeg(path.string().c_str());

    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    ASSERT_TRUE(ReadJpeg(path.string().c_str(), width, height, pixels));
    ASSERT_EQ(width, kWidth);
    ASSERT_EQ(height, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const unsigned char* p = &pixels[(y * kWidth + x) * 3];
            EXPECT_NEAR(p[0], Red(x, y), 8) << x << "," << y;
            EXPECT_NEAR(p[1], Green(x, y), 8) << x << "," << y;
            EXPECT_NEAR(p[2], 128, 8) << x << "," << y;
        }

    // A file that is no JPEG ends in the error exit, which must come back here.
    FILE* file = fopen(path.string().c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fputs("not a picture", file);
    fclose(file);
    EXPECT_FALSE(ReadJpeg(path.string().c_str(), width, height, pixels));
    std::filesystem::remove(path);
}

} // namespace
