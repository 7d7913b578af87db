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
    // Ready before the first event, so that no screen waits for its pictures.
    // Packed ones are kept once the first screen is up (by the introduction
    // while it stands still, or before a hunt started straight away): the
    // first frame waits only for its own.
    if (!plat::PicturesPacked()) gfx::KeepAllPictures();

    animations_ = new AnimationList();
    views_ = new ViewList();
    sound_ = new snd::SoundManager();
    controller_ = new GameController(*views_, *animations_);
    // The dispatcher holds no state; it only needs the three it routes to.
    dispatcher_ = new EventDispatcher(*views_, *controller_, *animations_);
    // Where the pictures are packed (the browser), the introduction reads the
    // store once its first frame is up, so that the frame waits for none of
    // it; a hunt started straight away needs the settings at once.
    if (!plat::PicturesPacked() || plat::StartOption("hunt")) LoadSettings();
    controller_->CreateViews();

    return plat::StartTimer(kHeartbeatTimer, kHeartbeatMs);
}

// Loads the registry and hands the volumes to the sound manager.
void GameApp::LoadSettings() {
    if (settings_ == nullptr) settings_ = new Settings(*sound_);
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
