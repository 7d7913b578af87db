#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "sound/sample.h"

namespace {

struct SoundRow {
    uint16_t id;
    uint32_t rate;
    uint32_t played;
    bool loops;
};

// The game's sound table: rate and played length of every WAVE resource.
constexpr SoundRow kSounds[] = {
    {535, 22050, 84800, true},  {537, 22050, 211798, true}, {538, 22050, 5989, false},
    {540, 22050, 6426, false},  {543, 11025, 6199, false},  {544, 11025, 2237, false},
    {545, 22050, 30200, false}, {546, 11025, 784, false},   {550, 22050, 17107, false},
    {551, 22050, 14395, false}, {555, 22050, 15396, false}, {556, 22050, 14246, false},
    {557, 11025, 8376, false},  {558, 44100, 41273, false}, {562, 22050, 17460, false},
    {563, 22050, 15662, false}, {564, 22050, 25990, false}, {578, 22050, 12663, false},
    {579, 11025, 47029, false},
};

// Each loads at its rate and length; audible, never pinned to the rails, and
// the looping tracks low enough that an effect mixed over them does not clip.
TEST(EmbeddedSounds, EveryGameSoundLoadsAtItsRateLengthAndLevel) {
    for (const SoundRow& row : kSounds) {
        SCOPED_TRACE(row.id);
        snd::Sample s;
        ASSERT_TRUE(s.LoadFromResource(row.id));
        EXPECT_EQ(s.SampleRate(), row.rate);
        EXPECT_EQ(s.Length(), row.played);
        int peak = 0;
        for (uint32_t i = 0; i <= s.Length(); ++i) peak = std::max(peak, std::abs(s.Data()[i] - 128));
        EXPECT_GE(peak, 24);
        EXPECT_LE(peak, row.loops ? 64 : 126);
    }
    snd::Sample unknown;
    EXPECT_FALSE(unknown.LoadFromResource(536));
    EXPECT_EQ(unknown.Data(), nullptr);
}

}  // namespace
