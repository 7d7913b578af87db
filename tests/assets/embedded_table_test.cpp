// The table compiled into the program: complete, in order, and holding
// exactly the drawn pixels; and the builder writes the same bytes each run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "resources/picture_pack.h"
#include "resources/resource_table.h"
#include "resources/wave_pack.h"
#include "tests/assets/reference_decoder.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/resource_source.h"
#include "tools/assetgen/sound_source.h"

namespace {

// Sorted by type, then id, without duplicates; every picture decodes to
// exactly its drawn pixels.
TEST(EmbeddedTable, SortedAndEveryPictureDecodesToExactlyItsPixels) {
    const resources::Entry* t = resources::Table();
    for (uint32_t i = 1; i < resources::TableSize(); ++i) {
        const int type = std::strcmp(t[i - 1].type, t[i].type);
        EXPECT_TRUE(type < 0 || (type == 0 && t[i - 1].id < t[i].id)) << i;
    }
    size_t found = 0;
    for (const assetgen::Picture& p : assetgen::BuildPictures()) {
        const resources::Entry* e = nullptr;
        for (uint32_t i = 0; i < resources::TableSize(); ++i)
            if (std::strcmp(t[i].type, "PCT") == 0 && t[i].id == p.id) e = &t[i];
        ASSERT_NE(e, nullptr) << p.id;
        ++found;
        const uint8_t* bytes = resources::Blob() + e->offset;
        const uint32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
        EXPECT_TRUE(length + 4 == e->size || length + 5 == e->size) << p.id;
        const size_t capacity = p.pixels.size() * 2;
        const std::vector<uint8_t> raw = ReferenceDecode(bytes, e->size, capacity);
        ASSERT_EQ(raw.size(), capacity) << p.id;
        for (size_t i = 0; i < p.pixels.size(); ++i)
            ASSERT_EQ(raw[2 * i] | (raw[2 * i + 1] << 8), p.pixels[i]) << "picture " << p.id << " pixel " << i;
    }
    EXPECT_EQ(found, 308u);
}

// Packed in the table, every sound reaches the program as the very WAVE file
// the builder made, and takes well under its size in the program.
TEST(EmbeddedTable, EverySoundUnpacksToExactlyItsWaveFile) {
    size_t sounds = 0, raw = 0, packed = 0;
    for (const assetgen::Resource& s : assetgen::SoundResources()) {
        plat::ResourceData data{};
        ASSERT_TRUE(plat::FindResource("WAVE", s.id, data)) << s.id;
        ASSERT_EQ(data.size, s.bytes.size()) << s.id;
        EXPECT_EQ(std::memcmp(data.bytes, s.bytes.data(), data.size), 0) << s.id;
        for (uint32_t i = 0; i < resources::TableSize(); ++i) {
            const resources::Entry& e = resources::Table()[i];
            if (std::strcmp(e.type, "WAVE") == 0 && e.id == s.id) packed += e.size;
        }
        raw += s.bytes.size();
        ++sounds;
    }
    EXPECT_EQ(sounds, 19u);
    EXPECT_LT(packed * 2, raw);
    // A start-up cache walking the table sees the same unpacked bytes.
    size_t visited = 0;
    plat::ForEachResource(
        "WAVE",
        [](uint16_t id, const plat::ResourceData& data, void* count) {
            plat::ResourceData found{};
            ASSERT_TRUE(plat::FindResource("WAVE", id, found));
            EXPECT_EQ(data.bytes, found.bytes) << id;
            EXPECT_EQ(data.size, found.size) << id;
            ++*static_cast<size_t*>(count);
        },
        &visited);
    EXPECT_EQ(visited, 19u);
}

// Extremes round trip; cut short, unpacking says so and writes no further
// than asked.
TEST(WavePack, RoundTripsExtremesAndRefusesBadInput) {
    std::vector<uint8_t> jumps, ramp(700), silence(300, 0x80);
    for (int i = 0; i < 600; ++i) jumps.push_back(i % 2 == 0 ? 0 : 255);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i * 7);
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, jumps, ramp, silence}) {
        const std::vector<uint8_t> packed = resources::PackWave(bytes.data(), bytes.size());
        std::vector<uint8_t> out(bytes.size() + 1, 0xA5);
        ASSERT_TRUE(resources::UnpackWave(packed.data(), packed.size(), out.data(), bytes.size()));
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), out.begin()));
        EXPECT_EQ(out.back(), 0xA5);
        if (bytes.empty()) continue;
        EXPECT_FALSE(resources::UnpackWave(packed.data(), packed.size() / 2, out.data(), bytes.size()));
    }
}

// Packed for the browser, the pictures take under half their stored size, and
// each unpacks to a PCT resource whose whole stream decodes to exactly its
// pixels; cut short, unpacking says so.
TEST(PicturePack, EveryPictureUnpacksToExactlyItsPixels) {
    const assetgen::PictureList pictures = assetgen::BuildPictures();
    const std::vector<assetgen::Resource> packed = assetgen::PictureResources(pictures, true);
    ASSERT_EQ(packed.size(), pictures.size());
    size_t stored = 0;
    for (const assetgen::Resource& r : assetgen::PictureResources(pictures, false)) stored += r.bytes.size();
    const std::vector<uint8_t>& pack = packed[0].bytes;
    EXPECT_LT(pack.size() * 2, stored);
    std::vector<resources::PictureBytes> out;
    ASSERT_TRUE(resources::UnpackPictures(pack.data(), pack.size(), out));
    ASSERT_EQ(out.size(), pictures.size());
    for (size_t i = 0; i < out.size(); ++i) {
        const assetgen::Picture& p = pictures[i];
        EXPECT_EQ(out[i].id, p.id);
        const std::vector<uint8_t> raw = ReferenceDecode(out[i].bytes.data(), out[i].bytes.size(), 1u << 24);
        ASSERT_EQ(raw.size(), p.pixels.size() * 2) << p.id;
        for (size_t k = 0; k < p.pixels.size(); ++k)
            ASSERT_EQ(raw[2 * k] | (raw[2 * k + 1] << 8), p.pixels[k]) << "picture " << p.id << " pixel " << k;
    }
    std::vector<resources::PictureBytes> cut;
    EXPECT_FALSE(resources::UnpackPictures(pack.data(), pack.size() - 8, cut));
}

// Streams ending on a byte boundary and inside one, runs overlapping what
// they copy, and rows repeating from the one above all decode exactly.
TEST(PicturePack, RunsDecodeToExactlyTheirBytes) {
    std::vector<uint8_t> rows(300);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i % 20 < 10 ? i % 7 : i * 13);
    const std::vector<std::pair<std::vector<uint8_t>, uint32_t>> cases = {
        {{}, 1}, {{7}, 1}, {{1, 2, 3, 4, 5, 6, 7, 8}, 2}, {std::vector<uint8_t>(100, 0x5A), 4}, {rows, 10}};
    for (const auto& [bytes, width] : cases) {
        const std::vector<uint8_t> pct = resources::EncodeRuns(bytes.data(), bytes.size(), width);
        EXPECT_EQ(ReferenceDecode(pct.data(), pct.size(), 1u << 16), bytes) << bytes.size();
    }
}

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(AssetBuilder, WritesTheSameTableTwice) {
    const auto dir = std::filesystem::temp_directory_path() / ("assetgen_repro_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string first = (dir / "a.cpp").string(), second = (dir / "b.cpp").string();
    ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " --table " + first + " > /dev/null").c_str()), 0);
    ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " --table " + second + " > /dev/null").c_str()), 0);
    const std::string a = ReadAll(first), b = ReadAll(second);
    EXPECT_GT(a.size(), 1000000u);
    EXPECT_TRUE(a == b) << "two runs of the builder differ";
    std::filesystem::remove_all(dir);
}

}  // namespace
