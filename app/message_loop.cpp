#include "app/message_loop.h"

#include "app/event_dispatcher.h"
#include "platform/platform.h"

int RunMessageLoop(InputState& state, EventDispatcher& dispatcher) {
    state.keyMask = 0;
    state.penDown = 0;
    InputEvent event{};  // reused for the whole loop
    int result = 0;
    plat::Message message{};
    while (plat::GetMessage(message)) {
        ApplyMessage(state, message);
        BuildMainEvent(state, event);
        result = dispatcher.Dispatch(event);
        if ((result & 0xFF) == 0) break;
    }
    return result;
}

bool ReadModalEvent(InputState& state, InputEvent& event) {
    plat::Message message{};
    if (!plat::GetMessage(message)) {
        event = InputEvent{};
        return false;
    }
    ApplyMessage(state, message);
    event = BuildModalEvent(state);
    return true;
}
