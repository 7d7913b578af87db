#include "app/input_translator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

plat::Message Pen(uint32_t id, int16_t x, int16_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16)};
}
plat::Message Key(uint32_t id, uint32_t key) { return {id, key, 0}; }
plat::Message Tick() { return {plat::kMsgTimer, 15000, 0}; }

std::vector<uint32_t> Keys(const InputEvent& event) {
    return std::vector<uint32_t>(event.payload, event.payload + event.keyCount);
}

// Feeds messages through the main-loop translator with one reused record.
class MainLoop {
public:
    const InputEvent& Feed(const plat::Message& message) {
        ApplyMessage(state, message);
        BuildMainEvent(state, event);
        return event;
    }
    InputState state;
    InputEvent event{};
};

// One message after another and the event each gives: type, x, y.
TEST(MainTranslator, AStrokeGivesOneDownHeldMovesAndOneUpThenIdleKeepsThePosition) {
    const struct {
        plat::Message message;
        uint32_t type;
        int16_t x, y;
    } steps[] = {
        {Pen(plat::kMsgPenDown, 50, 60), kEventPenDown, 50, 60},
        {Tick(), kEventPenHeld, 50, 60},
        {Pen(plat::kMsgPenMove, -3, 300), kEventPenHeld, -3, 300},
        {Key(plat::kMsgChar, kCharEscape), kEventPenHeld, -3, 300},  // the stylus wins, the character is dropped
        {Pen(plat::kMsgPenUp, 52, 61), kEventPenUp, 52, 61},
        {Pen(plat::kMsgPenMove, 100, 100), kEventIdle, 52, 61},  // a move with the stylus up shows nowhere
        {Tick(), kEventIdle, 52, 61},
    };
    MainLoop loop;
    for (const auto& step : steps) {
        const InputEvent& event = loop.Feed(step.message);
        EXPECT_EQ(event.type, step.type) << step.message.id;
        EXPECT_EQ(event.x, step.x) << step.message.id;
        EXPECT_EQ(event.y, step.y) << step.message.id;
        EXPECT_EQ(event.keyCount, 0);
    }
    EXPECT_EQ(loop.state.keyMask, 0);
}

TEST(MainTranslator, HeldKeysAreListedInFixedOrderAndStayInPenEvents) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkReturn));
    const InputEvent& both = loop.Feed(Key(plat::kMsgKeyDown, plat::kVkLeft));
    EXPECT_EQ(both.type, kEventKeys);
    EXPECT_EQ(Keys(both), (std::vector<uint32_t>{kKeyLeft, kKeyReturn}));
    EXPECT_EQ(Keys(loop.Feed(Tick())), (std::vector<uint32_t>{kKeyLeft, kKeyReturn}));
    // A typed character is an event of its own; the held keys come back after it.
    const InputEvent& typed = loop.Feed(Key(plat::kMsgChar, 'q'));
    EXPECT_EQ(typed.type, kEventCharacter);
    EXPECT_EQ(typed.keyCount, 0);
    EXPECT_EQ(typed.payload[0], static_cast<uint32_t>('q'));
    EXPECT_EQ(Keys(loop.Feed(Tick())), (std::vector<uint32_t>{kKeyLeft, kKeyReturn}));
    loop.Feed(Key(plat::kMsgKeyUp, plat::kVkLeft));
    const InputEvent& tap = loop.Feed(Pen(plat::kMsgPenDown, 30, 40));
    EXPECT_EQ(tap.type, kEventPenDown);
    EXPECT_EQ(Keys(tap), (std::vector<uint32_t>{kKeyReturn}));
    loop.Feed(Pen(plat::kMsgPenUp, 30, 40));
    loop.Feed(Key(plat::kMsgKeyUp, plat::kVkReturn));
    EXPECT_EQ(loop.event.type, kEventIdle);
    EXPECT_EQ(loop.Feed({plat::kMsgFocusLost, 0, 0}).type, kEventFocusLost);
    EXPECT_EQ(loop.Feed(Tick()).type, kEventIdle);

    for (uint32_t vk : {plat::kVkDown, plat::kVkUp, plat::kVkRight, plat::kVkLeft, plat::kVkReturn}) {
        loop.Feed(Key(plat::kMsgKeyDown, vk));
    }
    for (uint32_t hw = 0xC4; hw >= 0xC1; --hw) loop.Feed(Key(plat::kMsgHotKey, hw));
    EXPECT_EQ(Keys(loop.event), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(MainTranslator, HardwareKeysAreSetByHotKeyOnlyAndUnlistedKeysChangeNothing) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, 0xC3));  // not how they arrive
    EXPECT_EQ(loop.state.keyMask, 0);
    loop.Feed(Key(plat::kMsgHotKey, 0xC3));
    EXPECT_EQ(Keys(loop.Feed(Tick())), (std::vector<uint32_t>{kKeyHardware3}));
    loop.Feed(Key(plat::kMsgKeyUp, 0xC3));
    EXPECT_EQ(loop.event.type, kEventIdle);

    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkRight));
    for (const plat::Message& m : {Key(plat::kMsgKeyDown, 'A'), Key(plat::kMsgKeyUp, 'A'), Key(plat::kMsgHotKey, 0xC5),
                                   Key(plat::kMsgHotKey, 0xCF), Key(plat::kMsgHotKey, plat::kVkLeft),
                                   Key(plat::kMsgKeyUp, 0xC7)}) {
        const InputEvent& event = loop.Feed(m);
        EXPECT_EQ(loop.state.keyMask, kMaskRight);
        EXPECT_EQ(Keys(event), (std::vector<uint32_t>{kKeyRight}));
    }
}

TEST(ModalTranslator, AFreshRecordEachTimeThatTheMainLoopCarriesOn) {
    InputState state;
    ApplyMessage(state, Key(plat::kMsgChar, kCharEnter));
    const InputEvent typed = BuildModalEvent(state);
    EXPECT_EQ(typed.type, kEventCharacter);
    EXPECT_EQ(typed.payload[0], kCharEnter);
    ApplyMessage(state, Key(plat::kMsgKeyDown, plat::kVkUp));
    ApplyMessage(state, Pen(plat::kMsgPenDown, 30, 40));
    const InputEvent tap = BuildModalEvent(state);
    EXPECT_EQ(tap.type, kEventPenDown);
    EXPECT_EQ(Keys(tap), (std::vector<uint32_t>{kKeyUp}));
    EXPECT_EQ(tap.x, 30);
    ApplyMessage(state, Key(plat::kMsgKeyUp, plat::kVkUp));
    // Down in the modal reader, up in the main loop: one of each.
    InputEvent event{};
    ApplyMessage(state, Tick());
    BuildMainEvent(state, event);
    EXPECT_EQ(event.type, kEventPenHeld);
    ApplyMessage(state, Pen(plat::kMsgPenUp, 31, 41));
    EXPECT_EQ(BuildModalEvent(state).type, kEventPenUp);
    ApplyMessage(state, Tick());
    const InputEvent idle = BuildModalEvent(state);
    EXPECT_EQ(idle.type, kEventIdle);
    EXPECT_EQ(idle.x, 0);  // not carried over, unlike the main loop
}

}  // namespace
