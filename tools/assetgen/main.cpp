// assetgen --table FILE.cpp   writes the embedded resource table
// assetgen --web-table FILE.cpp   the same with the pictures packed for the browser
// assetgen --sheet FILE.png   draws every picture as the player sees it
// assetgen --wav DIR          writes every sound as a .wav file
// assetgen --icons DIR        draws the desktop icons into a hicolor tree
// assetgen --web-icons DIR    draws the web page's favicon and manifest icons
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/contact_sheet.h"
#include "tools/assetgen/icons.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/resource_source.h"
#include "tools/assetgen/sound_source.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const void* data, size_t size) {
    std::ofstream f(path, std::ios::binary);
    f.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(f);
}

int WriteTable(const std::string& path, bool packPictures) {
    const assetgen::PictureList pictures = assetgen::BuildPictures();
    std::vector<assetgen::Resource> all = assetgen::PictureResources(pictures, packPictures);
    size_t raw = 0, stored = 0;
    for (const assetgen::Picture& p : pictures) raw += p.pixels.size() * 2;
    for (const assetgen::Resource& r : all) stored += r.bytes.size();
    size_t sounds = 0, packed = 0;
    for (assetgen::Resource& s : assetgen::PackedSoundResources()) {
        sounds += s.unpacked;
        packed += s.bytes.size();
        all.push_back(std::move(s));
    }
    assetgen::SortResources(all);
    const std::string source = assetgen::TableSource(all);
    // Writing to a temporary name first keeps a half-written table from
    // ever looking up to date.
    const std::string tmp = path + ".tmp";
    if (!WriteFile(tmp, source.data(), source.size())) return 1;
    std::filesystem::rename(tmp, path);
    auto percent = [](size_t part, size_t whole) {
        return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
    };
    std::printf("assetgen: %zu resources, pictures %zu bytes raw, %zu stored (%.1f %%), sounds %zu, packed %zu (%.1f %%)\n",
                all.size(), raw, stored, percent(stored, raw), sounds, packed, percent(packed, sounds));
    return 0;
}

int WriteWaves(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    for (const assetgen::Resource& s : assetgen::SoundResources()) {
        if (!WriteFile(dir / (std::to_string(s.id) + ".wav"), s.bytes.data(), s.bytes.size())) return 1;
    }
    return 0;
}

int Run(int argc, char** argv) {
    if (argc == 3) {
        const std::string option = argv[1];
        if (option == "--table" || option == "--web-table") return WriteTable(argv[2], option == "--web-table");
        if (option == "--sheet") return assetgen::WriteContactSheet(assetgen::BuildPictures(), argv[2]) ? 0 : 1;
        if (option == "--wav") return WriteWaves(argv[2]);
        if (option == "--icons") return assetgen::WriteIcons(argv[2]) ? 0 : 1;
        if (option == "--web-icons") return assetgen::WriteWebIcons(argv[2]) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: assetgen --table FILE.cpp | --web-table FILE.cpp | --sheet FILE.png | --wav DIR | --icons DIR | --web-icons DIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const int status = Run(argc, argv);
    assetgen::ReleaseFontCaches();
    return status;
}
