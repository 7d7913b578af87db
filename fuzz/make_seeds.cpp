// make_seeds DIR: writes the seed corpora for the fuzz targets from the
// program's own pictures and sounds and from stores the program writes.
// Scripts are kept by hand in DIR/script.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/store_session.h"
#include "graphics/lz77.h"
#include "platform/platform.h"
#include "resources/resource_table.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr size_t kMaxSeed = 4096;
constexpr int kPerKind = 6;

bool Write(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

// The resources of one type, smallest first.
std::vector<const resources::Entry*> Smallest(const char* type) {
    std::vector<const resources::Entry*> found;
    for (uint32_t i = 0; i < resources::TableSize(); ++i) {
        if (std::string(resources::Table()[i].type) == type) found.push_back(&resources::Table()[i]);
    }
    std::sort(found.begin(), found.end(), [](auto* a, auto* b) { return a->size < b->size; });
    return found;
}

Bytes BytesOf(const resources::Entry& e) { return Bytes(resources::Blob() + e.offset, resources::Blob() + e.offset + e.size); }

Bytes Decoded(const Bytes& resource, size_t capacity) {
    Bytes out(capacity);
    out.resize(gfx::DecodeResource(plat::ResourceData{resource.data(), static_cast<uint32_t>(resource.size())},
                                   out.data(), static_cast<uint32_t>(capacity)));
    return out;
}

bool Pictures(const fs::path& dir) {
    bool ok = true;
    int n = 0;
    for (const resources::Entry* e : Smallest("PCT")) {
        if (n == kPerKind || e->size + 2 > kMaxSeed) break;
        const Bytes resource = BytesOf(*e);
        const Bytes raw = Decoded(resource, kMaxSeed / 2);
        // The decoder's input: buffer size, then the resource.
        Bytes seed = {static_cast<uint8_t>(raw.size()), static_cast<uint8_t>(raw.size() >> 8)};
        seed.insert(seed.end(), resource.begin(), resource.end());
        const std::string name = "pct" + std::to_string(e->id);
        ok = Write(dir / "picture_decode" / name, seed) && Write(dir / "picture_roundtrip" / name, raw) && ok;
        ++n;
    }
    return ok;
}

// A real sound, its data chunk cut short so that the seed stays small.
Bytes Shortened(Bytes wave) {
    for (size_t at = 12; at + 8 <= wave.size();) {
        const uint32_t size = wave[at + 4] | wave[at + 5] << 8 | wave[at + 6] << 16 | uint32_t{wave[at + 7]} << 24;
        if (std::equal(wave.begin() + static_cast<long>(at), wave.begin() + static_cast<long>(at) + 4, "data")) {
            const uint32_t kept = std::min<uint32_t>(size, 1500);
            wave.resize(std::min(wave.size(), at + 8 + kept));
            for (int b = 0; b < 4; ++b) wave[at + 4 + static_cast<size_t>(b)] = static_cast<uint8_t>(kept >> (8 * b));
            const auto riff = static_cast<uint32_t>(wave.size() - 8);
            for (int b = 0; b < 4; ++b) wave[4 + static_cast<size_t>(b)] = static_cast<uint8_t>(riff >> (8 * b));
            return wave;
        }
        at += 8 + size;
    }
    return wave;
}

bool Sounds(const fs::path& dir) {
    bool ok = true;
    int n = 0;
    for (const resources::Entry* e : Smallest("WAVE")) {
        if (n == kPerKind) break;
        Bytes seed = {static_cast<uint8_t>(n * 43 + 1)};  // output rate, stereo and volume
        plat::ResourceData sound{};
        if (!plat::FindResource("WAVE", e->id, sound)) return false;
        const Bytes wave = Shortened(Bytes(sound.bytes, sound.bytes + sound.size));
        seed.insert(seed.end(), wave.begin(), wave.end());
        ok = Write(dir / "wave_mix" / ("wave" + std::to_string(e->id)), seed) && ok;
        ++n;
    }
    return ok;
}

// Small pages keep a whole store within a few KB; only a file without its
// write-ahead log can change them.
Bytes CompactImage() {
    plat::testing::ExecuteInStore("PRAGMA journal_mode = DELETE; PRAGMA page_size = 512; VACUUM");
    return plat::testing::StoreImage();
}

bool Stores(const fs::path& dir) {
    const fs::path scratch = fs::temp_directory_path() / ("reedshot_seeds_" + std::to_string(getpid()));
    fs::remove_all(scratch);
    setenv("REEDSHOT_DATA_DIR", scratch.c_str(), 1);
    plat::testing::CloseStore();
    plat::SilentWaveOut device;
    snd::SoundManager sound(device);
    { Settings first(sound); }
    const Bytes fresh = CompactImage();
    {
        Settings played(sound);
        played.SoundVol = 20;
        played.PersentageSuccess = 87;
        std::snprintf(played.UserName, kNameSize, "%s", "ROBIN");
        for (int32_t i = 1; i <= 7; ++i) {
            HighScoreEntry entry{i == 7, i * 130, 0, 0, "WREN"};
            played.highScores->Insert(entry);
        }
    }
    const Bytes played = CompactImage();
    plat::testing::CloseStore();
    fs::remove_all(scratch);
    bool ok = Write(dir / "store_file" / "fresh", fresh) && Write(dir / "store_file" / "played", played);
    // Hostile-row programs: one of each statement kind, then a mixed run.
    for (uint8_t kind = 0; kind < 8; ++kind) {
        Bytes program;
        for (uint8_t k = 0; k < 24; ++k) program.push_back(static_cast<uint8_t>(kind + k * 8 + (k == 0 ? 0 : k * 3)));
        program[0] = kind;
        ok = Write(dir / "store_rows" / ("kind" + std::to_string(kind)), program) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    const bool ok = Pictures(dir) && Sounds(dir) && Stores(dir);
    if (!ok) std::fprintf(stderr, "make_seeds: could not write every seed under %s\n", argv[1]);
    return ok ? 0 : 1;
}
