#include "game/hunt_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "persist/settings.h"
#include "platform/platform.h"

// A mouse aims with a crosshair; the handheld's stylus had no pointer.
void HuntView::Enter() { plat::SetPointer(plat::kPointerCrosshair); }

void HuntView::Leave() { plat::SetPointer(plat::kPointerArrow); }

// Waits for an idle event, so a held stylus or key keeps the hunt screen (and
// its statistics) until it is let go.
int HuntView::HandleEvent(InputEvent& event) {
    const Settings* settings = theApp.GetSettings();
    if (event.type != kEventIdle || settings == nullptr || !settings->resultPending) return kNotConsumed;
    views_.SwitchTo(kViewResults);
    controller_.EndHunt();
    return kConsumed;
}
