#include "jpeg_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <random>
#include <stdexcept>
#include <vector>

namespace pagora::testing {

Bytes make_jpeg(int width, int height, int seed, int grain)
{
    if (width <= 0 || height <= 0) throw std::invalid_argument("make_jpeg: empty size");
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    // Grainy pages are the benchmark's, which wants a scanner's usual quality.
    jpeg_set_quality(&info, grain > 0 ? 75 : 60, TRUE);
    jpeg_start_compress(&info, TRUE);

    std::mt19937 random(static_cast<unsigned>(seed));
    std::uniform_int_distribution<int> noise(-grain, grain);
    auto clamp = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
    const int tint = seed * 37 % 256;
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const int g = grain > 0 ? noise(random) : 0;
            row[x * 3 + 0] = clamp(x * 255 / width + g);
            row[x * 3 + 1] = clamp(y * 255 / height + g);
            row[x * 3 + 2] = clamp(tint + g);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return jpeg;
}

} // namespace pagora::testing
