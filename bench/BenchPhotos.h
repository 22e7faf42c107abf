// Photo-like pictures for the image benchmarks: smooth gradients with some texture, as
// RGB pixels and as a JPEG of quality 90.
#pragma once

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace benchphotos {

using Bytes = std::vector<uint8_t>;

inline Bytes PhotoPixels(int width, int height) {
    Bytes rgb(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
            p[0] = uint8_t(x * 255 / width), p[1] = uint8_t(y * 255 / height), p[2] = uint8_t((x * y) >> 6);
        }
    return rgb;
}

inline Bytes EncodeJpeg(const Bytes& rgb, int width, int height, bool progressive = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width), info.image_height = JDIMENSION(height);
    info.input_components = 3, info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(info.next_scanline) * size_t(width) * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

} // namespace benchphotos
