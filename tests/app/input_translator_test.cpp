#include "app/input_translator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

plat::Message Pen(uint32_t id, int16_t x, int16_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16)};
}
plat::Message Key(uint32_t id, uint32_t key) { return {id, key, 0}; }
const plat::Message kTick = {plat::kMsgTimer, 15000, 0};
const plat::Message kFocusLost = {plat::kMsgFocusLost, 0, 0};

// An event as "held 50,60 k1 k5": the pen's place (pen and idle) or the typed character, then the held keys.
std::string Describe(const InputEvent& e) {
    const char* names[] = {"idle", "down", "up", "held", "keys", "char", "focus"};
    std::string out = e.type < 7 ? names[e.type] : std::to_string(e.type);
    if (e.type <= kEventPenHeld) out += " " + std::to_string(e.x) + "," + std::to_string(e.y);
    if (e.type == kEventCharacter) return out + " " + std::to_string(e.payload[0]) + (e.keyCount ? " keys!" : "");
    for (int16_t i = 0; i < e.keyCount; ++i) out += " k" + std::to_string(e.payload[i]);
    return out;
}

struct Step {
    plat::Message message;
    const char* event;
};

// Feeds the steps through the main-loop translator with one reused record.
void MainLoop(const std::vector<Step>& steps, InputState& state) {
    InputEvent event{};
    for (const Step& step : steps) {
        ApplyMessage(state, step.message);
        BuildMainEvent(state, event);
        EXPECT_EQ(Describe(event), step.event) << step.message.id << " " << step.message.wParam;
    }
}

TEST(MainTranslator, StrokesKeysAndCharactersBecomeOneEventEach) {
    InputState state;
    MainLoop({{Pen(plat::kMsgPenDown, 50, 60), "down 50,60"},
              {kTick, "held 50,60"},
              {Pen(plat::kMsgPenMove, -3, 300), "held -3,300"},
              {Key(plat::kMsgChar, kCharEscape), "held -3,300"},  // the stylus wins, the character is dropped
              {Pen(plat::kMsgPenUp, 52, 61), "up 52,61"},
              {Pen(plat::kMsgPenMove, 100, 100), "idle 52,61"},  // a move with the stylus up shows nowhere
              {kTick, "idle 52,61"},
              // Held keys are listed in a fixed order and stay in pen events.
              {Key(plat::kMsgKeyDown, plat::kVkReturn), "keys k5"},
              {Key(plat::kMsgKeyDown, plat::kVkLeft), "keys k1 k5"},
              {kTick, "keys k1 k5"},
              {Key(plat::kMsgChar, 'q'), "char 113"},  // an event of its own; the keys come back after it
              {kTick, "keys k1 k5"},
              {Key(plat::kMsgKeyUp, plat::kVkLeft), "keys k5"},
              {Pen(plat::kMsgPenDown, 30, 40), "down 30,40 k5"},
              {Pen(plat::kMsgPenUp, 30, 40), "up 30,40 k5"},
              {Key(plat::kMsgKeyUp, plat::kVkReturn), "idle 30,40"},
              {kFocusLost, "focus"},
              {kTick, "idle 30,40"},
              {Key(plat::kMsgKeyDown, plat::kVkDown), "keys k4"},
              {Key(plat::kMsgKeyDown, plat::kVkUp), "keys k3 k4"},
              {Key(plat::kMsgKeyDown, plat::kVkRight), "keys k2 k3 k4"},
              {Key(plat::kMsgHotKey, 0xC4), "keys k2 k3 k4 k9"},
              {Key(plat::kMsgHotKey, 0xC1), "keys k2 k3 k4 k6 k9"},
              {Key(plat::kMsgHotKey, 0xC2), "keys k2 k3 k4 k6 k7 k9"},
              {Key(plat::kMsgHotKey, 0xC3), "keys k2 k3 k4 k6 k7 k8 k9"},
              {Key(plat::kMsgKeyDown, plat::kVkLeft), "keys k1 k2 k3 k4 k6 k7 k8 k9"},
              {Key(plat::kMsgKeyDown, plat::kVkReturn), "keys k1 k2 k3 k4 k5 k6 k7 k8 k9"},
              // Hardware keys are set by a hot key only; unlisted keys change nothing.
              {Key(plat::kMsgKeyUp, 0xC3), "keys k1 k2 k3 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgKeyUp, plat::kVkUp), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgKeyDown, 0xC3), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgKeyDown, 'A'), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgKeyUp, 'A'), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgHotKey, 0xC5), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgHotKey, 0xCF), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgHotKey, plat::kVkUp), "keys k1 k2 k4 k5 k6 k7 k9"},
              {Key(plat::kMsgKeyUp, 0xC7), "keys k1 k2 k4 k5 k6 k7 k9"}},
             state);
}

TEST(ModalTranslator, AFreshRecordEachTimeThatTheMainLoopCarriesOn) {
    InputState state;
    ApplyMessage(state, Key(plat::kMsgChar, kCharEnter));
    EXPECT_EQ(Describe(BuildModalEvent(state)), "char 13");
    ApplyMessage(state, Key(plat::kMsgKeyDown, plat::kVkUp));
    ApplyMessage(state, Pen(plat::kMsgPenDown, 30, 40));
    EXPECT_EQ(Describe(BuildModalEvent(state)), "down 30,40 k3");
    ApplyMessage(state, Key(plat::kMsgKeyUp, plat::kVkUp));
    // Down in the modal reader, up in the main loop: one of each.
    MainLoop({{kTick, "held 30,40"}}, state);
    ApplyMessage(state, Pen(plat::kMsgPenUp, 31, 41));
    EXPECT_EQ(Describe(BuildModalEvent(state)), "up 31,41");
    ApplyMessage(state, kTick);
    EXPECT_EQ(Describe(BuildModalEvent(state)), "idle 0,0");  // not carried over, unlike the main loop
}

}  // namespace
