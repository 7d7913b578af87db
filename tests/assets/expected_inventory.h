// The pictures the game loads: id, the size it loads them at, and whether
// they are drawn with a colour key.
#pragma once

#include <cstdint>
#include <vector>

struct ExpectedPicture {
    uint16_t id;
    int width, height;
    bool keyed;
};

inline std::vector<ExpectedPicture> ExpectedPictures() {
    std::vector<ExpectedPicture> v;
    auto run = [&v](int first, int last, int w, int h, bool keyed) {
        for (int id = first; id <= last; ++id) v.push_back({static_cast<uint16_t>(id), w, h, keyed});
    };
    auto one = [&run](int id, int w, int h, bool keyed) { run(id, id, w, h, keyed); };
    run(146, 148, 240, 320, false);
    run(163, 170, 68, 68, true);
    run(192, 199, 68, 68, true);
    run(200, 215, 48, 48, true);
    run(244, 252, 26, 96, true);
    one(253, 62, 68, true);
    one(254, 32, 34, true);
    one(255, 22, 700, true);
    run(256, 260, 34, 40, true);
    const int scenery[][3] = {{261, 56, 36}, {262, 38, 28}, {263, 38, 28}, {264, 36, 38}, {265, 42, 44},
                              {266, 40, 34}, {267, 32, 16}, {284, 34, 30}, {285, 28, 30}, {286, 38, 24},
                              {287, 38, 24}, {289, 34, 32}, {290, 28, 32}, {291, 44, 12}, {292, 50, 34},
                              {293, 20, 16}, {294, 70, 52}, {295, 70, 44}, {296, 18, 38}, {297, 40, 32},
                              {298, 24, 10}, {299, 32, 20}, {300, 14, 14}, {301, 42, 50}, {302, 12, 10}};
    for (const auto& s : scenery) one(s[0], s[1], s[2], true);
    one(269, 16, 16, true);
    run(270, 276, 70, 120, true);
    run(277, 283, 36, 60, true);
    one(303, 28, 38, true);
    run(304, 312, 108, 80, true);
    run(313, 324, 22, 22, true);
    run(325, 327, 24, 24, true);
    run(328, 329, 36, 32, true);
    run(330, 339, 18, 26, true);
    one(340, 30, 38, true);
    run(341, 346, 22, 22, true);
    one(347, 20, 48, true);
    one(348, 20, 22, true);
    one(349, 20, 48, true);
    one(350, 180, 180, true);
    one(351, 220, 212, true);
    run(352, 353, 46, 18, false);
    one(355, 240, 320, false);
    run(358, 359, 40, 122, false);
    run(360, 361, 40, 82, false);
    run(362, 363, 40, 92, false);
    run(364, 365, 40, 158, true);
    run(366, 367, 40, 152, false);
    run(368, 369, 40, 110, false);
    one(370, 240, 320, false);
    run(371, 372, 26, 42, false);
    run(373, 374, 26, 112, false);
    run(375, 376, 26, 24, false);
    run(377, 378, 18, 35, false);
    run(379, 380, 18, 184, false);
    one(383, 240, 320, false);
    run(384, 385, 42, 20, false);
    run(386, 387, 26, 128, false);
    run(388, 389, 42, 20, false);
    run(390, 391, 26, 42, false);
    run(392, 393, 26, 44, false);
    run(394, 395, 26, 90, false);
    run(396, 397, 26, 88, false);
    one(398, 240, 320, false);
    run(399, 400, 26, 94, false);
    run(401, 406, 118, 216, false);
    const int captions[][2] = {{407, 112}, {408, 164}, {409, 154}, {410, 92},  {411, 144}, {412, 134}, {413, 172},
                               {415, 152}, {416, 144}, {417, 186}, {418, 176}, {419, 168}};
    for (const auto& c : captions) one(c[0], 20, c[1], true);
    one(420, 18, 126, true);
    run(422, 423, 26, 44, false);
    run(424, 425, 26, 98, false);
    run(426, 501, 20, 20, false);
    one(502, 240, 320, false);
    one(503, 18, 554, true);
    run(504, 505, 26, 88, false);
    one(506, 20, 20, false);
    one(509, 150, 200, false);
    one(511, 168, 260, false);
    one(518, 170, 100, true);
    run(519, 528, 24, 88, false);
    one(532, 100, 168, true);
    one(533, 24, 40, false);
    one(534, 24, 86, false);
    one(581, 58, 184, true);
    one(583, 240, 320, false);
    one(584, 36, 86, false);
    return v;
}
