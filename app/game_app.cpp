#include "app/game_app.h"

#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/message_loop.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "game/hunt_objects.h"
#include "graphics/picture_cache.h"
#include "persist/settings.h"
#include "screens/results_view.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"

GameApp theApp;

namespace {

constexpr const char* kWindowName = "FWK";
constexpr uint32_t kHeartbeatTimer = 15000;
constexpr uint32_t kHeartbeatMs = 10;

template <typename T>
void Destroy(T*& object) {
    delete object;
    object = nullptr;
}

}  // namespace

bool GameApp::Initialise() {
    if (plat::ActivateRunningInstance(kWindowName, kWindowName)) return false;
    if (!plat::CreateMainWindow(kWindowName, kWindowName)) return false;
    plat::CaptureHardwareButtons();
    // Where the pictures are packed (the browser), the first frame is drawn
    // before the rest of the start-up (FinishStartUp), which the introduction
    // does while it stands still; a hunt started straight away needs it all
    // at once (its pictures are kept as the hunt starts).
    const bool firstFrameFirst = plat::PicturesPacked() && !plat::StartOption("hunt");
    // Ready before the first event, so that no screen waits for its pictures.
    if (!plat::PicturesPacked()) gfx::KeepAllPictures();

    animations_ = new AnimationList();
    views_ = new ViewList();
    sound_ = new snd::SoundManager();
    controller_ = new GameController(*views_, *animations_);
    // The dispatcher holds no state; it only needs the three it routes to.
    dispatcher_ = new EventDispatcher(*views_, *controller_, *animations_);
    // Loads the registry and hands the volumes to the sound manager.
    if (!firstFrameFirst) settings_ = new Settings(*sound_);
    controller_->CreateViews(!firstFrameFirst);

    return plat::StartTimer(kHeartbeatTimer, kHeartbeatMs);
}

void GameApp::FinishStartUp() {
    if (settings_ != nullptr) return;
    gfx::KeepAllPictures();
    controller_->LayGround();
    settings_ = new Settings(*sound_);
}

void GameApp::Run() { RunMessageLoop(input_, *dispatcher_); }

void GameApp::Shutdown() {
    Destroy(views_);  // the views themselves belong to the controller
    // Before the animation list: a hunt still running takes its sprites out of it.
    controller_->DestroyViews();
    animations_->Clear();
    Destroy(animations_);
    Destroy(dispatcher_);
    Destroy(controller_);
    Destroy(sound_);
    // A hunt that ended before its score reached the table still counts.
    if (settings_ != nullptr) ResultsView::EnterPendingResult(*settings_);
    Destroy(settings_);  // last: saves every setting
}

int ProgramEntry() {
    // Here rather than when the generators are built: only now does the tick
    // counter tell the time.
    SeedHuntGenerators();
    if (!theApp.Initialise()) return 0;
    theApp.Run();
    theApp.Shutdown();
    return 1;
}
