#include "noisy_jpeg.h"

#include <cstdlib>
#include <jpeglib.h>
#include <random>
#include <stdexcept>
#include <vector>

namespace pagora::bench {

Bytes make_noisy_jpeg(int width, int height, unsigned seed)
{
    if (width <= 0 || height <= 0) throw std::invalid_argument("make_noisy_jpeg: empty size");
    std::mt19937 random(seed);
    // Noise strength sets the file size; vary it from page to page.
    const int amplitude = 6 + static_cast<int>(random() % 7); // 6 to 12
    std::uniform_int_distribution<int> noise(-amplitude, amplitude);

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
    jpeg_set_quality(&info, 75, TRUE);
    jpeg_start_compress(&info, TRUE);

    const int tint = static_cast<int>(seed * 37 % 256);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    auto clamp = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const int grain = noise(random);
            row[x * 3 + 0] = clamp(x * 255 / width + grain);
            row[x * 3 + 1] = clamp(y * 255 / height + grain);
            row[x * 3 + 2] = clamp(tint + grain);
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

} // namespace pagora::bench
