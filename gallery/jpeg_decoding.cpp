#include <stdio.h>
#include <jpeglib.h>

#include <csetjmp>

#include "gallery/picture_decoding.h"

namespace {

// libjpeg ends the process on an error and only counts its warnings (a
// corrupt or short file); both come back here and refuse the file.
struct RefusingErrors {
    jpeg_error_mgr base;
    std::jmp_buf back;
    int warnings;
};

void JumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<RefusingErrors*>(info->err)->back, 1);
}

void CountWarning(j_common_ptr info, int level)
{
    if (level < 0)
        ++reinterpret_cast<RefusingErrors*>(info->err)->warnings;
}

}  // namespace

bool DecodeJpeg(const char* path, DecodedPicture& out, const char** reason)
{
    out = DecodedPicture();
    const char* refused = nullptr;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        if (reason != nullptr)
            *reason = "file not opened";
        return false;
    }
    jpeg_decompress_struct info;
    RefusingErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.emit_message = CountWarning;
    errors.warnings = 0;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        fclose(file);
        out = DecodedPicture();
        if (reason != nullptr)
            *reason = "corrupt JPEG";
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        refused = "CMYK JPEG";
    } else if (info.image_width == 0 || info.image_height == 0 ||
               info.image_width > uint32_t(kLargestPictureSide) ||
               info.image_height > uint32_t(kLargestPictureSide)) {
        refused = "bad size";
    }
    if (refused == nullptr) {
        info.out_color_space = info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
        jpeg_start_decompress(&info);
        out.width = int32_t(info.output_width);
        out.height = int32_t(info.output_height);
        out.pixels.assign(size_t(out.width) * out.height, 0);
        int components = info.output_components;
        JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                   JPOOL_IMAGE, info.output_width * components, 1);
        while (info.output_scanline < info.output_height) {
            uint32_t* target = out.pixels.data() + size_t(info.output_scanline) * out.width;
            jpeg_read_scanlines(&info, row, 1);
            const JSAMPLE* s = row[0];
            for (int32_t x = 0; x < out.width; ++x, s += components) {
                uint32_t red = s[0], green = components == 3 ? s[1] : s[0],
                         blue = components == 3 ? s[2] : s[0];
                target[x] = blue | green << 8 | red << 16;
            }
        }
        jpeg_finish_decompress(&info);
        if (errors.warnings > 0)
            refused = "corrupt JPEG";
    }
    jpeg_destroy_decompress(&info);
    fclose(file);
    if (refused != nullptr)
        out = DecodedPicture();
    if (reason != nullptr)
        *reason = refused;
    return refused == nullptr;
}
