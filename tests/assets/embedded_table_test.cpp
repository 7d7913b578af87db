// The table compiled into the program: complete, in order, and holding
// exactly the drawn pixels and sounds; and the builder writes the same bytes each run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// Whether a PCT resource decodes to exactly the picture's pixels (the whole
// stream, unless the room is cut to the picture's size).
::testing::AssertionResult DecodesTo(const uint8_t* bytes, size_t size, const assetgen::Picture& p, size_t room = 1u << 24) {
    const std::vector<uint8_t> raw = ReferenceDecode(bytes, size, room);
    bool same = raw.size() == p.pixels.size() * 2;
    for (size_t i = 0; same && i < p.pixels.size(); ++i) same = (raw[2 * i] | (raw[2 * i + 1] << 8)) == p.pixels[i];
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "picture " << p.id;
}

uint32_t TablePlace(const char* type, uint16_t id, uint32_t* size) {
    for (uint32_t i = 0; i < resources::TableSize(); ++i) {
        const resources::Entry& e = resources::Table()[i];
        if (std::strcmp(e.type, type) == 0 && e.id == id) return *size = e.size, e.offset;
    }
    ADD_FAILURE() << type << " " << id << " is not in the table";
    return *size = 0, 0;
}

// At most one trailing byte after a picture's stream.
TEST(EmbeddedTable, SortedAndEveryPictureDecodesToExactlyItsPixels) {
    const resources::Entry* t = resources::Table();
    for (uint32_t i = 1; i < resources::TableSize(); ++i) {
        const int type = std::strcmp(t[i - 1].type, t[i].type);
        EXPECT_TRUE(type < 0 || (type == 0 && t[i - 1].id < t[i].id)) << i;
    }
    const assetgen::PictureList pictures = assetgen::BuildPictures();
    for (const assetgen::Picture& p : pictures) {
        uint32_t size = 0;
        const uint8_t* bytes = resources::Blob() + TablePlace("PCT", p.id, &size);
        const uint32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
        EXPECT_TRUE((length + 4 == size || length + 5 == size) && DecodesTo(bytes, size, p, p.pixels.size() * 2)) << p.id;
    }
    // Packed for the browser, the pictures take under half their stored size,
    // in two packs, the first screen's (request, Skip) a small one of
    // its own; each unpacks from the pack its resource names to a resource
    // that decodes to exactly its pixels; cut short, unpacking says so.
    std::map<uint16_t, std::vector<resources::PictureBytes>> unpacked;  // by the id holding the pack
    std::map<uint16_t, uint16_t> holder;
    size_t stored = 0, packs = 0;
    for (const assetgen::Resource& r : assetgen::PictureResources(pictures, false)) stored += r.bytes.size();
    for (const assetgen::Resource& r : assetgen::PictureResources(pictures, true)) {
        holder[r.id] = r.packedWith.value_or(r.id);
        if (r.packedWith) continue;
        packs += r.bytes.size();
        std::vector<resources::PictureBytes> cut;
        ASSERT_TRUE(resources::UnpackPictures(r.bytes.data(), r.bytes.size(), unpacked[r.id]));
        EXPECT_FALSE(resources::UnpackPictures(r.bytes.data(), r.bytes.size() - 8, cut));
    }
    EXPECT_TRUE(packs * 2 < stored && unpacked.size() == 2 && unpacked[351].size() == 3);
    for (const assetgen::Picture& p : pictures) {
        const std::vector<resources::PictureBytes>& pack = unpacked[holder[p.id]];
        const auto hit = std::find_if(pack.begin(), pack.end(), [&](const auto& u) { return u.id == p.id; });
        ASSERT_NE(hit, pack.end()) << p.id;
        EXPECT_TRUE(DecodesTo(hit->bytes.data(), hit->bytes.size(), p));
    }
}

// Found or walked, under half its size in the table.
TEST(EmbeddedTable, EverySoundUnpacksToExactlyItsWaveFile) {
    size_t sounds = 0, raw = 0, packed = 0;
    for (const assetgen::Resource& s : assetgen::SoundResources()) {
        plat::ResourceData data{};
        ASSERT_TRUE(plat::FindResource("WAVE", s.id, data)) << s.id;
        EXPECT_TRUE(data.size == s.bytes.size() && std::memcmp(data.bytes, s.bytes.data(), data.size) == 0) << s.id;
        uint32_t size = 0;
        TablePlace("WAVE", s.id, &size);
        packed += size;
        raw += s.bytes.size();
        ++sounds;
    }
    EXPECT_TRUE(sounds == 19u && packed * 2 < raw);
    size_t visited = 0;
    plat::ForEachResource("WAVE", [](uint16_t id, const plat::ResourceData& data, void* count) {
        plat::ResourceData found{};
        EXPECT_TRUE(plat::FindResource("WAVE", id, found) && data.bytes == found.bytes && data.size == found.size) << id;
        ++*static_cast<size_t*>(count);
    }, &visited);
    EXPECT_EQ(visited, 19u);
}

// Cut short, unpacking says so and writes no further than asked.
TEST(Packing, WavesAndPictureRunsRoundTrip) {
    std::vector<uint8_t> jumps, ramp(700), silence(300, 0x80), rows(300);
    for (int i = 0; i < 600; ++i) jumps.push_back(i % 2 == 0 ? 0 : 255);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i * 7);
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, jumps, ramp, silence}) {
        const std::vector<uint8_t> packed = resources::PackWave(bytes.data(), bytes.size());
        std::vector<uint8_t> out(bytes.size() + 1, 0xA5);
        EXPECT_TRUE(resources::UnpackWave(packed.data(), packed.size(), out.data(), bytes.size()) && std::equal(bytes.begin(), bytes.end(), out.begin()) &&
                    out.back() == 0xA5);
        EXPECT_TRUE(bytes.empty() || !resources::UnpackWave(packed.data(), packed.size() / 2, out.data(), bytes.size()));
    }
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i % 20 < 10 ? i % 7 : i * 13);
    const std::vector<std::pair<std::vector<uint8_t>, uint32_t>> cases = {
        {{}, 1}, {{7}, 1}, {{1, 2, 3, 4, 5, 6, 7, 8}, 2}, {std::vector<uint8_t>(100, 0x5A), 4}, {rows, 10}};
    for (const auto& [bytes, width] : cases) {
        const std::vector<uint8_t> pct = resources::EncodeRuns(bytes.data(), bytes.size(), width);
        EXPECT_EQ(ReferenceDecode(pct.data(), pct.size(), 1u << 16), bytes) << bytes.size();
    }
}

TEST(AssetBuilder, WritesTheSameTableTwice) {
    const auto dir = std::filesystem::temp_directory_path() / ("assetgen_repro_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string written[2];
    for (int run = 0; run < 2; ++run) {
        const std::string path = (dir / (std::to_string(run) + ".cpp")).string();
        ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " --table " + path + " > /dev/null").c_str()), 0);
        std::ifstream f(path, std::ios::binary);
        written[run] = {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    EXPECT_TRUE(written[0].size() > 1000000u && written[0] == written[1]) << "two runs of the builder differ";
    std::filesystem::remove_all(dir);
}

}  // namespace
