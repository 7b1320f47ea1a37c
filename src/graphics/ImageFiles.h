#pragma once
// Reading and writing PNG images (any format stb_image reads, in fact) as
// plain RGBA pixels, top row first.

#include <cstdint>
#include <string>
#include <vector>

namespace Flurr {

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba; // width * height * 4 bytes, top row first
};

// False (and `image` untouched) when the file is missing or not an image.
bool LoadImageFile(const std::string& path, Image& image);

// Writes `image` as a PNG; false when the file could not be written.
bool WritePngFile(const std::string& path, const Image& image);

} // namespace Flurr
