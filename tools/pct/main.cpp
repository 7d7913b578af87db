// pct: encode PNG images into PCT picture resources, decode them back, and
// describe a resource.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/lz77.h"
#include "tools/pct/picture_layout.h"
#include "tools/pct/png_file.h"
#include "tools/pctcodec/pct_encoder.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: pct encode IN.png OUT.pct [--stored]\n"
                 "       pct decode IN.pct WIDTH HEIGHT OUT.png [--stored]\n"
                 "       pct info IN.pct\n"
                 "WIDTH and HEIGHT are the stored (portrait) size. Images are as the player\n"
                 "sees them (landscape) unless --stored says they are in stored orientation.\n");
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "pct: %s\n", message.c_str());
    return 1;
}

bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ParseSize(const char* text, uint32_t& value) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || v == 0 || v > 65535) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

// Every byte the stream holds, however many that is.
std::vector<uint8_t> DecodeAllBytes(const std::vector<uint8_t>& resource) {
    // A match yields at most 32 bytes from 15 bits.
    std::vector<uint8_t> out(resource.size() * 8 / 15 * 32 + 64);
    const plat::ResourceData data{resource.data(), static_cast<uint32_t>(resource.size())};
    out.resize(gfx::DecodeResource(data, out.data(), static_cast<uint32_t>(out.size())));
    return out;
}

int Encode(const std::string& in, const std::string& out, bool stored) {
    pct::RgbImage image;
    std::string error;
    if (!pct::ReadPng(in, image, error)) return Fail(error);
    uint32_t width = 0;
    uint32_t height = 0;
    const std::vector<uint8_t> raw = pct::ToStoredBytes(image, stored, width, height);
    const std::vector<uint8_t> resource = pctcodec::EncodePct(raw.data(), raw.size());
    if (!WriteFile(out, resource)) return Fail("cannot write " + out);
    std::printf("%s: %ux%u stored, %zu bytes raw, %zu bytes encoded (%.1f %%)\n", out.c_str(), width, height,
                raw.size(), resource.size(), raw.empty() ? 0.0 : 100.0 * static_cast<double>(resource.size()) / static_cast<double>(raw.size()));
    return 0;
}

int Decode(const std::string& in, uint32_t width, uint32_t height, const std::string& out, bool stored) {
    std::vector<uint8_t> resource;
    if (!ReadFile(in, resource)) return Fail("cannot read " + in);
    std::vector<uint8_t> raw(static_cast<size_t>(width) * height * 2, 0);
    const plat::ResourceData data{resource.data(), static_cast<uint32_t>(resource.size())};
    const uint32_t written = gfx::DecodeResource(data, raw.data(), static_cast<uint32_t>(raw.size()));
    if (written < raw.size()) {
        std::fprintf(stderr, "pct: %s: stream ends %zu bytes short of %ux%u; the rest stays black\n", in.c_str(),
                     raw.size() - written, width, height);
    }
    std::string error;
    if (!pct::WritePng(out, pct::FromStoredBytes(raw, width, height, stored), error)) return Fail(error);
    return 0;
}

int Info(const std::string& in) {
    std::vector<uint8_t> resource;
    if (!ReadFile(in, resource)) return Fail("cannot read " + in);
    if (resource.size() < 4) return Fail(in + ": too short for a PCT resource");
    const uint32_t length = pctcodec::StreamLength(resource);
    const size_t decoded = DecodeAllBytes(resource).size();
    std::printf("resource bytes   %zu\n", resource.size());
    std::printf("stream length    %u%s\n", length, length > resource.size() - 4 ? " (beyond the end of the file)" : "");
    std::printf("trailing bytes   %zu\n", length <= resource.size() - 4 ? resource.size() - 4 - length : 0);
    std::printf("decoded bytes    %zu (%zu pixels)\n", decoded, decoded / 2);
    if (decoded != 0) {
        std::printf("encoded / raw    %.1f %%\n", 100.0 * static_cast<double>(resource.size()) / static_cast<double>(decoded));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool stored = false;
    std::erase_if(args, [&](const std::string& a) { return a == "--stored" ? (stored = true) : false; });
    if (args.empty()) return Usage();
    const std::string& command = args[0];
    if (command == "encode" && args.size() == 3) return Encode(args[1], args[2], stored);
    if (command == "decode" && args.size() == 5) {
        uint32_t width = 0;
        uint32_t height = 0;
        if (!ParseSize(args[2].c_str(), width) || !ParseSize(args[3].c_str(), height)) {
            return Fail("WIDTH and HEIGHT must be whole numbers from 1 to 65535");
        }
        return Decode(args[1], width, height, args[4], stored);
    }
    if (command == "info" && args.size() == 2) return Info(args[1]);
    return Usage();
}
