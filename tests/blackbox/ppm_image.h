#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace pagora::blackbox {

// A screenshot read from a binary PPM (P6, 8 bits a sample) file.
struct PpmImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    // Pixels in the rectangle darker than a middle grey: the ink of text.
    int dark_pixels(int left, int top, int w, int h) const
    {
        int count = 0;
        for (int y = top; y < top + h && y < height; ++y)
            for (int x = left; x < left + w && x < width; ++x) {
                const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                if (p[0] + p[1] + p[2] < 3 * 128) ++count;
            }
        return count;
    }
};

inline std::optional<PpmImage> read_ppm(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int max_value = 0;
    PpmImage image;
    if (!(file >> magic >> image.width >> image.height >> max_value) || magic != "P6" || max_value != 255)
        return std::nullopt;
    file.get(); // the one white-space byte before the samples
    image.rgb.assign(std::istreambuf_iterator<char>(file), {});
    if (image.rgb.size() < static_cast<std::size_t>(image.width) * image.height * 3) return std::nullopt;
    return image;
}

} // namespace pagora::blackbox
