// The virtual machine under the game: queue, heartbeat, clock, logs, panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/core/machine.h"
#include "platform/core/script.h"
#include "platform/headless/headless_host.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace {

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }
};

// The next `n` messages as "id@tick", "end" once the queue has ended.
std::string Take(int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        plat::Message m{};
        out += (i ? " " : "") + (plat::GetMessage(m) ? std::to_string(m.id) + "@" + std::to_string(plat::GetTickCount()) : "end");
    }
    return out;
}
const std::string kTimer = std::to_string(plat::kMsgTimer);

TEST_F(MachineTest, MessagesComeBeforeHeartbeatsOnTheirGridUntilTheQueueEndsRandIsTheRuntimesAndBoxesAreTraced) {
    ASSERT_TRUE(plat::StartTimer(15000, 10));
    plat::testing::PushMessage({plat::kMsgPenDown, 0, 5});
    EXPECT_EQ(Take(4), std::to_string(plat::kMsgPenDown) + "@0 " + kTimer + "@10 " + kTimer + "@20 " + kTimer + "@30");
    // A long sleep gives one late heartbeat, not a burst, and the grid holds.
    plat::Sleep(35);
    EXPECT_EQ(plat::GetTickCount(), 65u);
    EXPECT_EQ(Take(2), kTimer + "@65 " + kTimer + "@70");
    // An ended queue delivers what it holds, then stays ended.
    plat::testing::Reset();
    plat::StartTimer(1, 10);
    plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, 0});
    plat::testing::EndQueue();
    plat::testing::PushMessage({plat::kMsgKeyUp, plat::kVkUp, 0});
    const std::string keyDown = std::to_string(plat::kMsgKeyDown) + "@0";
    EXPECT_EQ(Take(4), keyDown + " end end end");  // no heartbeat after the end
    // Without a timer an empty queue has ended too.
    plat::testing::Reset();
    plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, 0});
    EXPECT_EQ(Take(2), keyDown + " end");
    // The clock wraps, and a busy wait ends.
    plat::testing::Reset();
    plat::testing::SetTick(0xFFFFFFF6u);
    plat::StartTimer(1, 10);
    plat::Message m{};
    plat::GetMessage(m);
    EXPECT_EQ(plat::GetTickCount(), 0u);  // wrapped
    const uint32_t start = plat::GetTickCount();
    uint64_t reads = 0;
    while (plat::GetTickCount() - start < 5 && reads < 100000000) ++reads;
    EXPECT_EQ(plat::GetTickCount() - start, 5u);  // it creeps a millisecond at a time
    plat::testing::Reset();
    // The first draws after the default seed, as every C runtime of the era gave them.
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(plat::Rand(), value);
    plat::Srand(1);
    EXPECT_EQ(plat::Rand(), 41);
    plat::Srand(12345);
    for (int i = 0; i < 1000; ++i) {
        const int r = plat::Rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, plat::kRandMax);
    }
    // Message boxes and pointer shapes are traced unless the trace is off.
    plat::MessageBox("Cannot open database", nullptr, plat::kMbIconStop);
    plat::MessageBox("Saved", "Reedshot", plat::kMbOk);
    const auto& boxes = plat::testing::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption + "|" + boxes[0].text + "|" + std::to_string(boxes[0].flags) + "|" + boxes[1].caption,
              "Error|Cannot open database|" + std::to_string(plat::kMbIconStop) + "|Reedshot");
    // The trace carries them as JSON, quotes escaped.
    plat::MessageBox("say \"hi\"", "A", 0);
    EXPECT_NE(plat::testing::TraceLines().back().find("\"text\":\"say \\\"hi\\\"\""), std::string::npos);
    plat::SetPointer(plat::kPointerCrosshair);
    EXPECT_NE(plat::testing::TraceLines().back().find("\"event\":\"pointer\",\"shape\":\"crosshair\""), std::string::npos);
    // A run without a trace file must not keep a line for every present.
    plat::Machine::Get().TraceOff();
    plat::Trace("present", "\"rects\":1");
    plat::MessageBox("Saved", "Reedshot", plat::kMbOk);
    EXPECT_EQ(plat::testing::TraceLines().size(), 4u);
    EXPECT_EQ(boxes.size(), 4u);
}

// A host paced by a wall clock that the test sets.
class WallHost final : public plat::Host {
public:
    uint32_t wall = 0;
    std::vector<uint32_t> sleeps;
    void WaitFor(uint32_t dueTick) override { wall = std::max(wall, dueTick); }
    void SleepUntil(uint32_t dueTick) override { sleeps.push_back(dueTick); }
    void CatchUp() override { plat::Machine::Get().AdvanceTo(wall); }
    uint32_t CreepFrom(uint32_t /*tick*/) override { return wall; }
    void ShowMessageBox(const char*, const char*, uint32_t) override {}
    bool ActivateRunningInstance(const char*, const char*) override { return false; }
    bool CreateMainWindow(const char*, const char*) override { return true; }
};

TEST_F(MachineTest, PenMovesMergeWhileWaitingAndOnAWallClockInputDoesNotHoldTimeBackNorReadsRunAhead) {
    auto pen = [](uint32_t id, uint32_t at) { plat::testing::PushMessage({id, 0, at}); };
    pen(plat::kMsgPenDown, 1);
    pen(plat::kMsgPenMove, 2);
    pen(plat::kMsgPenMove, 3);
    plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, 0});
    pen(plat::kMsgPenMove, 4);  // still replaces the waiting move, keys between do not count
    pen(plat::kMsgPenUp, 5);
    pen(plat::kMsgPenMove, 6);
    pen(plat::kMsgPenMove, 7);
    pen(plat::kMsgPenDown, 8);
    pen(plat::kMsgPenMove, 9);
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    for (plat::Message m{}; plat::GetMessage(m);) seen.emplace_back(m.id, m.lParam);
    const std::vector<std::pair<uint32_t, uint32_t>> expected = {
        {plat::kMsgPenDown, 1}, {plat::kMsgPenMove, 4}, {plat::kMsgKeyDown, 0}, {plat::kMsgPenUp, 5},
        {plat::kMsgPenMove, 7}, {plat::kMsgPenDown, 8}, {plat::kMsgPenMove, 9}};
    EXPECT_EQ(seen, expected);
    // A move that is handed out is not waiting any more: the next one queues anew.
    plat::testing::Reset();
    plat::StartTimer(1, 10);
    pen(plat::kMsgPenMove, 1);
    plat::Message m{};
    ASSERT_TRUE(plat::GetMessage(m));
    pen(plat::kMsgPenMove, 2);
    ASSERT_TRUE(plat::GetMessage(m));
    EXPECT_EQ(m.lParam, 2u);
    plat::testing::Reset();
    WallHost host;
    plat::Machine::Get().SetHost(&host);
    plat::StartTimer(1, 10);
    // A stream of input: each message goes out at the wall clock's time.
    for (uint32_t i = 1; i <= 3; ++i) plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, i});
    const std::string keyDown = std::to_string(plat::kMsgKeyDown);
    for (uint32_t wall : {7u, 25u, 31u}) {
        host.wall = wall;
        EXPECT_EQ(Take(1), keyDown + "@" + std::to_string(wall));
    }
    EXPECT_EQ(Take(1), kTimer + "@31");  // the heartbeat that fell due meanwhile comes at once
    // A loop spinning on the tick counter sees it follow the wall clock, never pass it.
    host.wall = 40;
    for (int i = 0; i < 100000; ++i) ASSERT_LE(plat::GetTickCount(), 40u);
    EXPECT_EQ(plat::GetTickCount(), 40u);
    // A sleep is the host's to time, whatever arrives.
    plat::Sleep(5500);
    ASSERT_EQ(host.sleeps.size(), 1u);
    EXPECT_EQ(host.sleeps[0], 5540u);
    EXPECT_EQ(plat::GetTickCount(), 5540u);
    plat::testing::Reset();
}

TEST_F(MachineTest, PresentCopiesRectanglesClipsToThePanelAndMergesChangedPartsAndResourcesAreFound) {
    std::vector<uint16_t> buffer(240 * 320);
    for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint16_t>(i);
    const plat::CopyRect rects[] = {
        {10, 20, 2, 2, 100, 200},      // moved
        {0, 0, 50, 50, 220, 300},      // runs off the bottom right
        {0, 0, 10, 10, -5, -5},        // starts off the top left
        {230, 310, 20, 20, 0, 0},      // reads past the buffer's edge
    };
    plat::Present(buffer.data(), 240 * 2, 240, 320, rects, 4);
    const uint16_t* panel = plat::testing::PresentedPanel();
    EXPECT_EQ(plat::testing::PresentCount(), 1u);
    EXPECT_EQ(panel[200 * 240 + 100], buffer[20 * 240 + 10]);
    EXPECT_EQ(panel[201 * 240 + 101], buffer[21 * 240 + 11]);
    EXPECT_EQ(panel[319 * 240 + 239], buffer[19 * 240 + 19]);
    EXPECT_EQ(panel[0], buffer[310 * 240 + 230]);
    EXPECT_EQ(panel[9 * 240 + 9], buffer[319 * 240 + 239]);
    EXPECT_EQ(panel[10 * 240 + 10], 0u);  // beyond what the last copy could read

    // The window is refreshed only where a present changed something.
    plat::Machine& machine = plat::Machine::Get();
    plat::PanelRect parts[plat::PanelChanges::kMaxRects];
    EXPECT_EQ(machine.TakeChanges(parts), 3u);  // the two at the top left overlap
    plat::Present(buffer.data(), 240 * 2, 240, 320, rects, 2);  // the two copies that nothing overlaps
    EXPECT_EQ(machine.TakeChanges(parts), 0u);
    buffer[21 * 240 + 11] ^= 1;
    plat::Present(buffer.data(), 240 * 2, 240, 320, rects, 1);
    buffer[21 * 240 + 11] ^= 1;
    plat::Present(buffer.data(), 240 * 2, 240, 320, rects, 1);
    EXPECT_EQ(machine.TakeChanges(parts), 0u);  // changed and back before the host looked
    buffer[21 * 240 + 11] ^= 1;
    plat::Present(buffer.data(), 240 * 2, 240, 320, rects, 1);
    ASSERT_EQ(machine.TakeChanges(parts), 1u);
    EXPECT_EQ(std::vector<int32_t>({parts[0].left, parts[0].top, parts[0].right, parts[0].bottom}),
              std::vector<int32_t>({100, 201, 102, 202}));  // the changed row of the copy
    EXPECT_EQ(plat::testing::PresentCount(), 5u);
    // Resources are found by type and id.
    plat::ResourceData data{};
    ASSERT_TRUE(plat::FindResource("PCT", 146, data));
    EXPECT_GT(data.size, 0u);
    EXPECT_FALSE(plat::FindResource("PCT", 1, data));
    EXPECT_FALSE(plat::FindResource("WAVE", 146, data));
    EXPECT_NE(plat::testing::TraceLines().back().find("\"found\":false"), std::string::npos);
    // Changed parts merge when they meet and when too many.
    plat::PanelChanges changes;
    plat::PanelRect out[plat::PanelChanges::kMaxRects];
    changes.Add({0, 0, 10, 10});
    changes.Add({20, 0, 30, 10});
    changes.Add({10, 5, 20, 6});  // touches both: all three become one
    ASSERT_EQ(changes.Take(out), 1u);
    EXPECT_EQ(std::vector<int32_t>({out[0].left, out[0].top, out[0].right, out[0].bottom}),
              std::vector<int32_t>({0, 0, 30, 10}));
    EXPECT_EQ(changes.Take(out), 0u);
    // Apart from each other, as many as fit; one more joins its nearest.
    for (int32_t i = 0; i <= static_cast<int32_t>(plat::PanelChanges::kMaxRects); ++i) changes.Add({0, i * 20, 5, i * 20 + 5});
    ASSERT_EQ(changes.Take(out), plat::PanelChanges::kMaxRects);
    int64_t covered = 0;
    for (const plat::PanelRect& r : out) covered += int64_t{r.right - r.left} * (r.bottom - r.top);
    EXPECT_EQ(covered, 25 * (plat::PanelChanges::kMaxRects - 1) + 5 * 25);  // the last two, merged with their gap
}

// The headless runner on the same machine: script actions arrive at their times.
class HeadlessHostTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }
    void TearDown() override { plat::testing::Reset(); }

    void UseScript(const char* script) {
        std::string error;
        plat::Script parsed;
        ASSERT_TRUE(plat::ParseScript(script, parsed, error)) << error;
        plat::testing::SetTick(parsed.startTick);
        host_ = std::make_unique<plat::HeadlessHost>(parsed, "");
        plat::Machine::Get().SetHost(host_.get());
    }

    std::unique_ptr<plat::HeadlessHost> host_;
};

TEST_F(HeadlessHostTest, ASleepLastsItsTimeWhileItsInputQueuesAndItsShotsAreTaken) {
    UseScript("100 keydown left\n150 shot asleep\n200 keyup left\n900 quit\n");
    plat::StartTimer(7, 10);
    plat::Sleep(500);
    EXPECT_EQ(plat::GetTickCount(), 500u);
    bool shotAtItsTime = false;
    for (const std::string& line : plat::testing::TraceLines())
        shotAtItsTime = shotAtItsTime || line.rfind("{\"tick\":150,\"event\":\"screenshot\"", 0) == 0;
    EXPECT_TRUE(shotAtItsTime);
    std::remove("asleep.png");
    EXPECT_EQ(Take(3), std::to_string(plat::kMsgKeyDown) + "@500 " + std::to_string(plat::kMsgKeyUp) + "@500 " + kTimer + "@500");
}

// Actions arrive after the heartbeat of their tick, also across the wrap; without a timer time still runs to them.
TEST_F(HeadlessHostTest, ActionsArriveAfterTheHeartbeatOfTheirTick) {
    const std::string keyDown = std::to_string(plat::kMsgKeyDown);
    const std::tuple<const char*, bool, std::string> cases[] = {
        {"20 keydown left\n25 quit\n", true, kTimer + "@10 " + kTimer + "@20 " + keyDown + "@20 end"},
        {"start 4294967290\n20 keydown left\n25 quit\n", true, kTimer + "@4 " + kTimer + "@14 " + keyDown + "@14 end"},
        {"5000 keydown return\n", false, keyDown + "@5000 end end end"}};
    for (const auto& [script, timer, expected] : cases) {
        plat::testing::Reset();
        UseScript(script);
        if (timer) plat::StartTimer(7, 10);
        EXPECT_EQ(Take(4), expected) << script;
    }
}

}  // namespace
