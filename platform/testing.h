// Test hooks. Until RunProgram is called the platform is a silent virtual
// machine: a virtual clock, a message queue the test fills, message boxes and
// presents recorded instead of shown. Tests include this header; the game never does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat::testing {

// Back to the start state: tick 0, empty queue that has not ended, no timer,
// logs cleared, panel black, random seed 1, no start options.
void Reset();

// As if the program had been started with this long option (without dashes).
void GiveStartOption(const char* name);

void SetTick(uint32_t milliseconds);
void AdvanceTick(uint32_t milliseconds);

// Messages handed out by GetMessage in order. With the queue empty, GetMessage
// advances the clock to the next heartbeat and answers a timer message when a
// timer runs; with no timer it answers false (the queue has ended).
void PushMessage(const Message& message);
void EndQueue();

struct RecordedMessageBox {
    std::string text;
    std::string caption;  // as shown, so the default caption reads "Error"
    uint32_t flags;
};
const std::vector<RecordedMessageBox>& MessageBoxes();

// The panel as the window would show it: 240 x 320 pixels, 5-6-5, top row first.
const uint16_t* PresentedPanel();
uint32_t PresentCount();

const std::vector<std::string>& TraceLines();

}  // namespace plat::testing
