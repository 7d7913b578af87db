// A store the program wrote itself, then hostile rows planted in it: wrong
// types, NULLs, blobs, huge or NUL-holding texts, numbers past 32 bits, stray
// records and properties. Settings and high scores must still load in range,
// and what is saved must load back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/store_session.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int64_t Wide() {
        uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v = v << 8 | Byte();
        return static_cast<int64_t>(v);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

const char* const kNames[] = {"SoundVol",  "MusicVol",   "KilledDucks",   "KilledLeafs",    "NegPoints",
                              "PersentageSuccess", "LastScores", "MenuAnimation", "SpecialEffects", "UserName",
                              "PlayerName", "soundvol",  "Stray"};

// An SQL value of some hostile kind.
std::string Value(Reader& in) {
    switch (in.Byte() % 9) {
        case 0: return std::to_string(in.Wide());
        case 1: return std::to_string(static_cast<int32_t>(in.Wide()));
        case 2: return "NULL";
        case 3: return std::to_string(static_cast<double>(in.Wide()) / 7.0);
        case 4: return "'ab' || char(0) || 'cd'";
        case 5: return "x'" + std::string(in.Byte() % 5 * 2, 'f') + "00'";
        case 6: return "zeroblob(" + std::to_string(in.Byte() * 97) + ")";
        case 7: return "printf('%.*c', " + std::to_string(in.Byte() * 1021) + ", 'W')";
        default: return "'" + std::to_string(in.Byte()) + "'";
    }
}

std::string Name(Reader& in) { return std::string("'") + kNames[in.Byte() % std::size(kNames)] + "'"; }

// Property ids, mostly those the table uses, some that it never does.
std::string PropId(Reader& in) {
    const uint8_t pick = in.Byte();
    if (pick % 4 == 3) return std::to_string(in.Wide());
    const uint16_t types[] = {plat::kPropNumber, plat::kPropBool, plat::kPropString, 2};
    return std::to_string(plat::PropId(pick >> 2 & 7, static_cast<plat::PropType>(types[pick % 4])));
}

// Records of the table (ids 1..10 in a fresh store) and beyond.
std::string Record(Reader& in) { return std::to_string(in.Byte() % 14); }

std::string Statement(Reader& in) {
    switch (in.Byte() % 8) {
        case 0: return "UPDATE reg_values SET number = " + Value(in) + " WHERE name = " + Name(in);
        case 1: return "UPDATE reg_values SET text = " + Value(in) + " WHERE name = " + Name(in);
        case 2:
            return "INSERT OR REPLACE INTO reg_values VALUES(1, " + Name(in) + ", " + Value(in) + ", " + Value(in) + ")";
        case 3: return "UPDATE props SET number = " + Value(in) + " WHERE record_id = " + Record(in);
        case 4: return "UPDATE props SET text = " + Value(in) + " WHERE record_id = " + Record(in);
        case 5:
            return "INSERT OR REPLACE INTO props VALUES(" + Record(in) + ", " + PropId(in) + ", " + Value(in) + ", " +
                   Value(in) + ", " + Value(in) + ")";
        case 6: return "INSERT INTO records(db_id) VALUES(" + std::to_string(in.Byte() % 3) + ")";
        default: return "DELETE FROM props WHERE record_id = " + Record(in) + " AND prop_id = " + PropId(in);
    }
}

// The store as the program leaves it on its first run.
const std::vector<uint8_t>& FirstRunImage() {
    static const std::vector<uint8_t> image = [] {
        plat::testing::OpenStoreImage({});
        {
            plat::SilentWaveOut device;
            snd::SoundManager sound(device);
            Settings settings(sound);
        }
        std::vector<uint8_t> bytes = plat::testing::StoreImage();
        plat::testing::CloseStore();
        return bytes;
    }();
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::testing::OpenStoreImage(FirstRunImage());
    Reader in(data, size);
    for (int n = 0; n < 16 && !in.Done(); ++n) plat::testing::ExecuteInStore(Statement(in).c_str());
    plat::testing::Reset();
    fuzzstore::RunTwice();
    return 0;
}
