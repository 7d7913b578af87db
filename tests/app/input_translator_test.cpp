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

TEST(MainTranslator, TapHoldReleaseGivesOneDownAndOneUp) {
    MainLoop loop;
    const InputEvent& down = loop.Feed(Pen(plat::kMsgPenDown, 50, 60));
    EXPECT_EQ(down.type, kEventPenDown);
    EXPECT_EQ(down.x, 50);
    EXPECT_EQ(down.y, 60);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(loop.Feed(Tick()).type, kEventPenHeld);
        EXPECT_EQ(loop.event.x, 50);
    }
    const InputEvent& up = loop.Feed(Pen(plat::kMsgPenUp, 52, 61));
    EXPECT_EQ(up.type, kEventPenUp);
    EXPECT_EQ(up.x, 52);
    EXPECT_EQ(up.y, 61);
    EXPECT_EQ(loop.Feed(Tick()).type, kEventIdle);
    EXPECT_EQ(loop.state.keyMask, 0);
}

TEST(MainTranslator, DragReportsLatestPositionAndNegativeCoordinates) {
    MainLoop loop;
    loop.Feed(Pen(plat::kMsgPenDown, 10, 10));
    const InputEvent& moved = loop.Feed(Pen(plat::kMsgPenMove, -3, 300));
    EXPECT_EQ(moved.type, kEventPenHeld);
    EXPECT_EQ(moved.x, -3);
    EXPECT_EQ(moved.y, 300);
}

TEST(MainTranslator, IdleHeartbeatKeepsLastPositionAndNoKeys) {
    MainLoop loop;
    loop.Feed(Pen(plat::kMsgPenDown, 7, 9));
    loop.Feed(Pen(plat::kMsgPenUp, 8, 11));
    // A move with the stylus up stores the position but no event shows it.
    loop.Feed(Pen(plat::kMsgPenMove, 100, 100));
    const InputEvent& idle = loop.Feed(Tick());
    EXPECT_EQ(idle.type, kEventIdle);
    EXPECT_EQ(idle.keyCount, 0);
    EXPECT_EQ(idle.x, 8);
    EXPECT_EQ(idle.y, 11);
}

TEST(MainTranslator, KeysAreListedInFixedOrderWhileHeld) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkReturn));
    const InputEvent& both = loop.Feed(Key(plat::kMsgKeyDown, plat::kVkLeft));
    EXPECT_EQ(both.type, kEventKeys);
    EXPECT_EQ(Keys(both), (std::vector<uint32_t>{kKeyLeft, kKeyReturn}));
    EXPECT_EQ(Keys(loop.Feed(Tick())), (std::vector<uint32_t>{kKeyLeft, kKeyReturn}));
    loop.Feed(Key(plat::kMsgKeyUp, plat::kVkLeft));
    EXPECT_EQ(Keys(loop.event), (std::vector<uint32_t>{kKeyReturn}));
    loop.Feed(Key(plat::kMsgKeyUp, plat::kVkReturn));
    EXPECT_EQ(loop.event.type, kEventIdle);
}

TEST(MainTranslator, AllNineKeysHeldAtOnce) {
    MainLoop loop;
    for (uint32_t vk : {plat::kVkDown, plat::kVkUp, plat::kVkRight, plat::kVkLeft, plat::kVkReturn}) {
        loop.Feed(Key(plat::kMsgKeyDown, vk));
    }
    for (uint32_t hw = 0xC4; hw >= 0xC1; --hw) loop.Feed(Key(plat::kMsgHotKey, hw));
    EXPECT_EQ(Keys(loop.event), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(MainTranslator, UpKeyWhileTappingStaysInKeyListOfPenEvent) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkUp));
    const InputEvent& tap = loop.Feed(Pen(plat::kMsgPenDown, 30, 40));
    EXPECT_EQ(tap.type, kEventPenDown);
    EXPECT_EQ(Keys(tap), (std::vector<uint32_t>{kKeyUp}));
}

TEST(ModalTranslator, UpKeyWhileTappingStillGivesThePenEvent) {
    InputState state;
    ApplyMessage(state, Key(plat::kMsgKeyDown, plat::kVkUp));
    ApplyMessage(state, Pen(plat::kMsgPenDown, 30, 40));
    const InputEvent tap = BuildModalEvent(state);
    EXPECT_EQ(tap.type, kEventPenDown);
    EXPECT_EQ(Keys(tap), (std::vector<uint32_t>{kKeyUp}));
    EXPECT_EQ(tap.x, 30);
    EXPECT_EQ(state.penDown, 1);
}

TEST(ModalTranslator, FreshRecordEachTime) {
    InputState state;
    ApplyMessage(state, Pen(plat::kMsgPenDown, 30, 40));
    EXPECT_EQ(BuildModalEvent(state).type, kEventPenDown);
    ApplyMessage(state, Pen(plat::kMsgPenUp, 31, 41));
    EXPECT_EQ(BuildModalEvent(state).type, kEventPenUp);
    ApplyMessage(state, Tick());
    const InputEvent idle = BuildModalEvent(state);
    EXPECT_EQ(idle.type, kEventIdle);
    EXPECT_EQ(idle.x, 0);  // not carried over, unlike the main loop
    EXPECT_EQ(idle.y, 0);
}

TEST(Translators, StylusDownInModalUpInMainGivesOneOfEach) {
    InputState state;
    ApplyMessage(state, Pen(plat::kMsgPenDown, 5, 5));
    EXPECT_EQ(BuildModalEvent(state).type, kEventPenDown);
    InputEvent event{};
    ApplyMessage(state, Tick());
    BuildMainEvent(state, event);
    EXPECT_EQ(event.type, kEventPenHeld);
    ApplyMessage(state, Pen(plat::kMsgPenUp, 6, 6));
    BuildMainEvent(state, event);
    EXPECT_EQ(event.type, kEventPenUp);
}

TEST(KeyMask, HardwareKeysSetByHotKeyOnlyAndClearedByKeyUp) {
    MainLoop loop;
    // A plain key-down of a hardware code is not how they arrive.
    loop.Feed(Key(plat::kMsgKeyDown, 0xC3));
    EXPECT_EQ(loop.state.keyMask, 0);
    loop.Feed(Key(plat::kMsgHotKey, 0xC3));
    EXPECT_EQ(loop.state.keyMask, kMaskHardware3);
    EXPECT_EQ(Keys(loop.Feed(Tick())), (std::vector<uint32_t>{kKeyHardware3}));
    EXPECT_EQ(Keys(loop.Feed(Tick())), (std::vector<uint32_t>{kKeyHardware3}));
    loop.Feed(Key(plat::kMsgKeyUp, 0xC3));
    EXPECT_EQ(loop.event.type, kEventIdle);
    EXPECT_EQ(loop.event.keyCount, 0);
}

TEST(KeyMask, UnlistedKeysChangeNothing) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkRight));
    for (const plat::Message& m : {Key(plat::kMsgKeyDown, 'A'), Key(plat::kMsgKeyUp, 'A'), Key(plat::kMsgHotKey, 0xC5),
                                   Key(plat::kMsgHotKey, 0xCF), Key(plat::kMsgHotKey, plat::kVkLeft),
                                   Key(plat::kMsgKeyUp, 0xC7)}) {
        const InputEvent& event = loop.Feed(m);
        EXPECT_EQ(loop.state.keyMask, kMaskRight);
        EXPECT_EQ(event.type, kEventKeys);
        EXPECT_EQ(Keys(event), (std::vector<uint32_t>{kKeyRight}));
    }
}

}  // namespace

namespace {

TEST(CharacterEvents, OneEventPerCharacterThenBackToTheMask) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkLeft));
    const InputEvent& typed = loop.Feed(Key(plat::kMsgChar, 'q'));
    EXPECT_EQ(typed.type, kEventCharacter);
    EXPECT_EQ(typed.keyCount, 0);
    EXPECT_EQ(typed.payload[0], static_cast<uint32_t>('q'));
    // The held key comes back on the next message.
    const InputEvent& next = loop.Feed(Tick());
    EXPECT_EQ(next.type, kEventKeys);
    EXPECT_EQ(Keys(next), std::vector<uint32_t>{kKeyLeft});
}

TEST(CharacterEvents, TheStylusWinsAndTheCharacterIsDropped) {
    MainLoop loop;
    loop.Feed(Pen(plat::kMsgPenDown, 5, 5));
    EXPECT_EQ(loop.Feed(Key(plat::kMsgChar, kCharEscape)).type, kEventPenHeld);
    EXPECT_EQ(loop.Feed(Tick()).type, kEventPenHeld);
}

TEST(CharacterEvents, FocusLossAfterReleasesIsItsOwnEvent) {
    MainLoop loop;
    loop.Feed(Key(plat::kMsgKeyDown, plat::kVkUp));
    loop.Feed(Key(plat::kMsgKeyUp, plat::kVkUp));
    EXPECT_EQ(loop.Feed({plat::kMsgFocusLost, 0, 0}).type, kEventFocusLost);
    EXPECT_EQ(loop.Feed(Tick()).type, kEventIdle);
}

TEST(CharacterEvents, ModalReaderSeesCharactersToo) {
    InputState state;
    ApplyMessage(state, Key(plat::kMsgChar, kCharEnter));
    const InputEvent event = BuildModalEvent(state);
    EXPECT_EQ(event.type, kEventCharacter);
    EXPECT_EQ(event.payload[0], kCharEnter);
    EXPECT_EQ(BuildModalEvent(state).type, kEventIdle);
}

}  // namespace
