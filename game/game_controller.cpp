#include "game/game_controller.h"

#include "app/animation_list.h"
#include "app/game_app.h"
#include "game/hunt_view.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "screens/about_view.h"
#include "screens/credits_view.h"
#include "screens/how_to_play_view.h"
#include "screens/introduction_view.h"
#include "screens/main_menu_view.h"
#include "screens/name_entry_view.h"
#include "screens/options_view.h"
#include "screens/pause_menu_view.h"
#include "screens/results_view.h"
#include "screens/title_view.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint32_t kTileWidth = 240;
constexpr uint32_t kTileHeight = 320;
constexpr int32_t kBottomScroll = 639;  // the last screen of the ground

enum SoundId : uint16_t {
    kSoundMenuMusic = 535,
    kSoundHuntAmbience = 537,
    kSoundHuntOver = 578,
};

constexpr uint16_t kLoadingPicture = 581;
constexpr uint16_t kFarewellPicture = 511;

snd::SoundManager* Sound() { return theApp.Sound(); }

bool MenuAnimationOn() { return theApp.GetSettings() != nullptr && theApp.GetSettings()->MenuAnimation; }

void StopAllSounds() {
    if (Sound() != nullptr) Sound()->StopAllSounds();
}

void PlayMusic(uint16_t id) {
    if (Sound() != nullptr) Sound()->PlaySound(id, true, true);
}

void PlayEffect(uint16_t id) {
    if (Sound() != nullptr) Sound()->PlaySound(id, false, false);
}

// Shows a picture over the ground: drawn once and presented, then freed; it
// stays on the display until something is drawn over it.
void FlashPicture(gfx::Scene& scene, uint16_t id, int32_t width, int32_t height, int32_t x, int32_t y,
                  bool keyed) {
    gfx::PictureHolder holder;
    gfx::LoadHeldPicture(holder, id, static_cast<uint16_t>(width), static_cast<uint16_t>(height));
    gfx::Sprite sprite;
    gfx::CreateSprite(sprite, &holder, x, y, false, keyed, false, gfx::kKeyFromImage);
    scene.DrawOneSprite(sprite);
    scene.RedrawAll();
    gfx::FreeHeldPicture(holder);
}

}  // namespace

void GameController::Register(View* view, uint8_t id) {
    view->SetScene(scene_);
    views_.Add(view, id);
    ownedViews_[id] = view;
}

void GameController::CreateViews() {
    scene_ = new gfx::Scene(gfx::kGroundColumns, gfx::kGroundRows, kTileWidth, kTileHeight);
    gfx::g_scene = scene_;
    scene_->CreateTiles(&gfx::GroundTileId);

    // One line per screen, in the order they are added.
    Register(new HuntView(*this, views_), kViewHunt);
    Register(new AboutView(), kViewAbout);
    Register(new MainMenuView(), kViewMainMenu);
    Register(new IntroductionView(), kViewIntroduction);
    Register(new OptionsView(), kViewOptions);
    Register(new HowToPlayView(), kViewHowToPlay);
    Register(new CreditsView(), kViewCredits);
    Register(new PauseMenuView(), kViewPauseMenu);
    Register(new TitleView(), kViewTitle);
    Register(new NameEntryView(), kViewNameEntry);
    Register(new ResultsView(), kViewResults);

    // Linked before the first view starts, so that its Enter can add animated sprites.
    animations_.SetScene(scene_);
    views_.Start(kViewIntroduction);
    savedScrollX_ = 0;
    savedScrollY_ = 0;
}

// By now the shell has destroyed the view list and the animation list.
void GameController::DestroyViews() {
    for (View*& view : ownedViews_) {
        delete view;
        view = nullptr;
    }
    if (scene_ != nullptr) scene_->DestroyTiles();
    delete scene_;
    scene_ = nullptr;
    gfx::g_scene = nullptr;
}

int GameController::ProcessEvent(InputEvent& event) {
    if (event.type == kEventViewEntered && views_.Current() == kViewHunt && views_.Previous() != kViewMainMenu &&
        views_.Previous() != kViewPauseMenu) {
        StopAllSounds();
        PlayMusic(kSoundHuntAmbience);
        ResumeHunt();
        scene_->RedrawScene();
        scene_->RedrawAll();
        return kNotConsumed;
    }
    if (views_.Current() != kViewHunt) return kConsumed;
    if (event.type == kEventViewEntered && views_.Previous() == kViewMainMenu) {
        animations_.Clear();
        scene_->SetScroll(0, kBottomScroll);
        scene_->RedrawScene();
        StartHunt();
        return kNotConsumed;
    }
    return kNotConsumed;
}

void GameController::StartHunt() {
    StopAllSounds();
    scene_->SetScroll(0, kBottomScroll);
    FlashPicture(*scene_, kLoadingPicture, 58, 184, 90, 707, true);
    PlayMusic(kSoundHuntAmbience);
    scene_->RedrawScene();
}

void GameController::EndHunt() {
    scene_->ClearSprites();
    animations_.Clear();
    if (MenuAnimationOn()) {
        scene_->DrawAllSprites();
        scene_->GetDisplayList().GrayDisplay();
        scene_->GetDisplayList().PresentWhole();
    }
    PlayEffect(kSoundHuntOver);
    plat::Sleep(100);
    const int32_t width = 168;
    const int32_t height = 260;
    FlashPicture(*scene_, kFarewellPicture, width, height, (240 - width) / 2,
                 scene_->GetScrollY() + (320 - height) / 2, false);
    StopAllSounds();
    plat::Sleep(5500);
    PlayMusic(kSoundMenuMusic);
    scene_->SetScroll(0, 0);
}

void GameController::SuspendHunt() {
    savedScrollX_ = scene_->GetScrollX();
    savedScrollY_ = scene_->GetScrollY();
}

void GameController::ResumeHunt() { scene_->SetScroll(savedScrollX_, savedScrollY_); }
