#include "app/event_dispatcher.h"

#include "app/animation_list.h"
#include "app/view_list.h"
#include "game/game_controller.h"

int EventDispatcher::Dispatch(InputEvent& event) {
    int result = views_.HandleEvent(event);
    if (result == kConsumed) return 1;
    if (result == kQuit) return 0;
    result = controller_.ProcessEvent(event);
    if (result == kConsumed) return 1;
    if (result == kQuit) return 0;
    animations_.Step();
    return 1;
}
