#include "game/hunt_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "persist/settings.h"

void HuntView::Enter() {}

void HuntView::Leave() {}

// Waits for an idle event, so a held stylus or key keeps the hunt screen (and
// its statistics) until it is let go.
int HuntView::HandleEvent(InputEvent& event) {
    const Settings* settings = theApp.GetSettings();
    if (event.type != kEventIdle || settings == nullptr || !settings->resultPending) return kNotConsumed;
    views_.SwitchTo(kViewResults);
    controller_.EndHunt();
    return kConsumed;
}
