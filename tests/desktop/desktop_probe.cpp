// A program on the platform layer that logs every input message with its virtual tick (to compare a desktop
// run with its headless replay) and wall-clock figures on lines starting "wall". Button 1 sleeps 1500 ms and
// times the next ten heartbeats; button 2 busy-waits 150 ms of ticks; a pen move costs 2 ms, a letter 60 ms.
#include <chrono>
#include <cstdio>

#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

void Work(std::chrono::milliseconds span) {
    const Clock::time_point until = Clock::now() + span;
    while (Clock::now() < until) {
    }
}

int Probe() {
    if (!plat::CreateMainWindow("probe", "probe") || !plat::StartTimer(1, 10)) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    int beatsToTime = 0;
    Clock::time_point beatsFrom;
    int moves = 0;
    int typed = 0;
    uint32_t typingTick = 0;
    Clock::time_point typingFrom;
    uint32_t dragTick = 0;
    Clock::time_point dragFrom;
    for (plat::Message m{}; plat::GetMessage(m);) {
        const uint32_t tick = plat::GetTickCount();
        if (m.id == plat::kMsgTimer) {
            if (beatsToTime > 0 && --beatsToTime == 0) std::printf("wall heartbeats %lld\n", MsSince(beatsFrom));
            continue;
        }
        std::printf("%u message 0x%X 0x%X 0x%X\n", tick, m.id, m.wParam, m.lParam);
        if (m.id == plat::kMsgPenDown) {
            moves = 0;
            dragTick = tick;
            dragFrom = Clock::now();
        } else if (m.id == plat::kMsgPenMove) {
            ++moves;
            Work(std::chrono::milliseconds(2));
        } else if (m.id == plat::kMsgPenUp) {
            std::printf("drag %d moves in %u ms\n", moves, tick - dragTick);
            std::printf("wall drag %lld ticks %u\n", MsSince(dragFrom), tick - dragTick);
        } else if (m.id == plat::kMsgChar && m.wParam == 0x1B) {
            std::printf("typed %d letters in %u ms\n", typed, tick - typingTick);
            std::printf("wall typing %lld ticks %u\n", MsSince(typingFrom), tick - typingTick);
            typed = 0;
        } else if (m.id == plat::kMsgChar) {
            if (typed++ == 0) {
                typingTick = tick;
                typingFrom = Clock::now();
            }
            Work(std::chrono::milliseconds(60));
        } else if (m.id == plat::kMsgHotKey && m.wParam == 0xC1) {
            const Clock::time_point from = Clock::now();
            plat::Sleep(1500);
            std::printf("slept to %u\n", plat::GetTickCount());
            std::printf("wall sleep %lld\n", MsSince(from));
            beatsToTime = 10;
            beatsFrom = Clock::now();
        } else if (m.id == plat::kMsgHotKey && m.wParam == 0xC2) {
            const Clock::time_point from = Clock::now();
            while (plat::GetTickCount() - tick < 150) {
            }
            std::printf("wall busy %lld\n", MsSince(from));
        }
        std::fflush(stdout);
    }
    std::printf("ended\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) { return plat::RunProgram(argc, argv, &Probe); }
