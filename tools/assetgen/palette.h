// The marsh palette: every picture takes its colours from here.
#pragma once

namespace assetgen {

struct Rgb {
    double r, g, b;
};

constexpr Rgb Hex(unsigned v) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

namespace pal {
// The key reads as a soft warm shadow next to keyed art.
constexpr Rgb kKey = Hex(0x30241C);
constexpr Rgb kBlack = Hex(0x000000);
constexpr Rgb kWhite = Hex(0xFFFFFF);

constexpr Rgb kSkyTop = Hex(0x6FA6D8);
constexpr Rgb kSkyLow = Hex(0xE9D9B0);
constexpr Rgb kCloud = Hex(0xF4F1E8);
constexpr Rgb kFarTrees = Hex(0x5E7D6A);
constexpr Rgb kNearTrees = Hex(0x3F5E3C);
constexpr Rgb kMeadow = Hex(0x8FA255);
constexpr Rgb kMeadowDark = Hex(0x67803D);
constexpr Rgb kMud = Hex(0x6B5A3A);
constexpr Rgb kWaterTop = Hex(0x7CA7B5);
constexpr Rgb kWaterLow = Hex(0x3C6577);
constexpr Rgb kRipple = Hex(0xB9D3D8);
constexpr Rgb kReed = Hex(0x9C8F4A);
constexpr Rgb kReedDark = Hex(0x5F5A2C);
constexpr Rgb kCattail = Hex(0x6B3F22);
constexpr Rgb kLeafGreen = Hex(0x4F7A32);
constexpr Rgb kBush = Hex(0x3E6B2E);
constexpr Rgb kBushLight = Hex(0x6E9A45);

constexpr Rgb kWoodLight = Hex(0xC08A4E);
constexpr Rgb kWood = Hex(0x935F31);
constexpr Rgb kWoodDark = Hex(0x5C3719);
constexpr Rgb kRoof = Hex(0x8A3B2A);
constexpr Rgb kRoofDark = Hex(0x5E241A);
constexpr Rgb kStone = Hex(0x8C8A82);
constexpr Rgb kStoneDark = Hex(0x5D5B55);
constexpr Rgb kWindow = Hex(0xF3D27A);

constexpr Rgb kDuckHead = Hex(0x1F6B3A);
constexpr Rgb kDuckHeadShine = Hex(0x3FA06A);
constexpr Rgb kDuckCollar = Hex(0xF1EFE6);
constexpr Rgb kDuckBreast = Hex(0x7A4228);
constexpr Rgb kDuckBody = Hex(0x9E9A90);
constexpr Rgb kDuckBodyDark = Hex(0x6F6A61);
constexpr Rgb kDuckWing = Hex(0x8A7B66);
constexpr Rgb kDuckWingDark = Hex(0x5A4E40);
constexpr Rgb kDuckSpeculum = Hex(0x3356C8);
constexpr Rgb kDuckBill = Hex(0xE9C233);
constexpr Rgb kDuckFeet = Hex(0xE98A2B);
constexpr Rgb kDuckTail = Hex(0x2A2522);

constexpr Rgb kRedBird = Hex(0xE0241C);
constexpr Rgb kRedBirdDark = Hex(0x8E1410);

constexpr Rgb kCardboard = Hex(0xD9B77E);
constexpr Rgb kCardboardDark = Hex(0xA9844C);
constexpr Rgb kTarget = Hex(0xD8352A);

constexpr Rgb kAutumn1 = Hex(0xE08A1E);
constexpr Rgb kAutumn2 = Hex(0xC4461C);
constexpr Rgb kAutumn3 = Hex(0xE8C23A);

constexpr Rgb kBrass = Hex(0xE1B54B);
constexpr Rgb kBrassDark = Hex(0x9C7420);
constexpr Rgb kShellRed = Hex(0xB22A22);
constexpr Rgb kShellRedDark = Hex(0x6E1712);

constexpr Rgb kPaper = Hex(0xF0E4C4);
constexpr Rgb kPaperDark = Hex(0xCDB98A);
constexpr Rgb kInk = Hex(0x3A2716);
constexpr Rgb kCream = Hex(0xFFF3D0);
constexpr Rgb kGold = Hex(0xFFD24A);
constexpr Rgb kPanel = Hex(0x2E4A3A);
constexpr Rgb kPanelLight = Hex(0x48705A);
constexpr Rgb kGood = Hex(0x5BC24A);
constexpr Rgb kBad = Hex(0xE8483A);
}  // namespace pal

}  // namespace assetgen
