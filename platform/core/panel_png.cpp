// The PNG half of the panel image, apart so that a build without libpng (the
// browser) can use the rest.
#include <png.h>

#include <vector>

#include "platform/core/panel_image.h"

namespace plat {

bool WriteViewPng(const std::string& path, const uint16_t* panel) {
    std::vector<uint16_t> view(size_t{kViewWidth} * kViewHeight);
    RotatePanelToView(panel, view.data());
    std::vector<uint8_t> rgb(view.size() * 3);
    for (size_t i = 0; i < view.size(); ++i) {
        const uint32_t c = view[i];
        const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
        // Repeat the top bits so that white stays white.
        rgb[i * 3] = static_cast<uint8_t>((r << 3) | (r >> 2));
        rgb[i * 3 + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
        rgb[i * 3 + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kViewWidth;
    image.height = kViewHeight;
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), kViewWidth * 3, nullptr) != 0;
    png_image_free(&image);
    return written;
}

}  // namespace plat
