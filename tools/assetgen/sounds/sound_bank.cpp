#include "tools/assetgen/sounds/sound_bank.h"

#include <cmath>
#include <string>

#include "tools/assetgen/sounds/recipes.h"
#include "tools/assetgen/sounds/wave_file.h"

namespace soundbank {

namespace {

enum class Extras { kNone, kBonus, kList };

struct SoundEntry {
  uint16_t id;
  uint32_t rate;
  uint32_t dataBytes;  // the loader plays dataBytes - 8
  float peak;          // target peak distance from 128
  bool loops;
  Extras extras;
  const char* name;
  Recipe recipe;
};

// Loops sit at half scale so effects played over them still fit.
constexpr SoundEntry kSounds[] = {
    {535, 22050, 84808, 50, true, Extras::kNone, "Menu music", MenuMusic},
    {537, 22050, 211806, 46, true, Extras::kNone, "Hunt ambience", HuntAmbience},
    {538, 22050, 5997, 85, false, Extras::kNone, "Volume test", VolumeTest},
    {540, 22050, 6434, 70, false, Extras::kNone, "Button click", ButtonClick},
    {543, 11025, 6207, 90, false, Extras::kNone, "Reload", Reload},
    {544, 11025, 2245, 96, false, Extras::kNone, "Kill", Kill},
    {545, 22050, 30208, 88, false, Extras::kBonus, "Bonus found", BonusJingle},
    {546, 11025, 792, 80, false, Extras::kList, "Empty click", EmptyClick},
    {550, 22050, 17115, 98, false, Extras::kNone, "Shot", ShotgunShot},
    {551, 22050, 14403, 94, false, Extras::kNone, "Last shell", LastShell},
    {555, 22050, 15404, 88, false, Extras::kNone, "Time bonus", TimeBonus},
    {556, 22050, 14254, 88, false, Extras::kNone, "Time penalty", TimePenalty},
    {557, 11025, 8384, 94, false, Extras::kNone, "Flock call", FlockCall},
    {558, 44100, 41281, 90, false, Extras::kNone, "Red bird", RedBirdPenalty},
    {562, 22050, 17468, 94, false, Extras::kNone, "Decoy", DecoyPenalty},
    {563, 22050, 15670, 94, false, Extras::kNone, "Scared duck", ScaredQuack},
    {564, 22050, 25998, 94, false, Extras::kNone, "Scared flock", ScaredFlurry},
    {578, 22050, 12671, 80, false, Extras::kNone, "Page turn", PageTurn},
    {579, 11025, 47037, 90, false, Extras::kList, "Countdown", Countdown},
};

std::vector<RiffChunk> ExtraChunks(const SoundEntry& entry) {
  switch (entry.extras) {
    case Extras::kBonus:
      return {DisplayText(entry.name), DisplayText("Reedshot"), InfoList(entry.name)};
    case Extras::kList:
      return {InfoList(entry.name)};
    case Extras::kNone:
      break;
  }
  return {};
}

std::vector<uint8_t> Render(const SoundEntry& entry) {
  const double rate = entry.rate;
  const size_t played = entry.dataBytes - 8;
  Rng rng(0x5EED0000u + entry.id);
  // A loop's period is exactly the played length; one-shots leave the last
  // sample (which the mixer still reads) and the unplayed tail silent.
  Signal signal = entry.recipe(rate, entry.loops ? played : played - 1, rng);
  if (entry.loops) {
    double mean = 0;
    for (float v : signal) mean += v;
    mean /= static_cast<double>(signal.size());
    for (float& v : signal) v -= static_cast<float>(mean);
  } else {
    RemoveDc(signal, rate);
    FadeEnds(signal, rate, 0.0005, 0.012);
  }
  Normalise(signal, entry.peak);
  std::vector<uint8_t> data = Quantise(signal, entry.dataBytes, rng);
  // Every pass after the first wraps from index `played` to index 1.
  if (entry.loops) data[played] = data[0];
  return EncodeWave(entry.rate, data, ExtraChunks(entry));
}

}  // namespace

}  // namespace soundbank

std::vector<SoundAsset> BuildSounds() {
  std::vector<SoundAsset> sounds;
  for (const soundbank::SoundEntry& entry : soundbank::kSounds) sounds.push_back({entry.id, soundbank::Render(entry)});
  return sounds;
}
