// Reading and writing 8-bit RGB PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pct {

struct RgbImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;  // 3 bytes a pixel, row after row
};

// Any PNG, expanded to 8-bit RGB (alpha dropped). False with `error` set
// when the file cannot be read.
bool ReadPng(const std::string& path, RgbImage& image, std::string& error);
bool WritePng(const std::string& path, const RgbImage& image, std::string& error);

}  // namespace pct
