// The table compiled into the program: complete, in order, and holding
// exactly the drawn pixels; and the builder writes the same bytes each run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/resource_table.h"
#include "tests/assets/reference_decoder.h"
#include "tools/assetgen/catalogue.h"

namespace {

TEST(EmbeddedTable, SortedByTypeThenIdWithoutDuplicates) {
    const resources::Entry* t = resources::Table();
    ASSERT_GT(resources::TableSize(), 0u);
    for (uint32_t i = 1; i < resources::TableSize(); ++i) {
        const int type = std::strcmp(t[i - 1].type, t[i].type);
        EXPECT_TRUE(type < 0 || (type == 0 && t[i - 1].id < t[i].id)) << i;
    }
}

TEST(EmbeddedTable, EveryPictureDecodesToExactlyItsPixels) {
    const resources::Entry* t = resources::Table();
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

TEST(EmbeddedTable, SoundsAreWaveFiles) {
    const resources::Entry* t = resources::Table();
    int sounds = 0;
    for (uint32_t i = 0; i < resources::TableSize(); ++i) {
        if (std::strcmp(t[i].type, "WAVE") != 0) continue;
        ++sounds;
        const uint8_t* b = resources::Blob() + t[i].offset;
        ASSERT_GE(t[i].size, 44u);
        EXPECT_EQ(std::memcmp(b, "RIFF", 4), 0) << t[i].id;
        EXPECT_EQ(std::memcmp(b + 8, "WAVE", 4), 0) << t[i].id;
    }
    EXPECT_EQ(sounds, 19);
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
