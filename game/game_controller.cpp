#include "game/game_controller.h"

#include <cstdio>

#include "app/animation_list.h"
#include "app/game_app.h"
#include "game/hunt_objects.h"
#include "game/hunt_view.h"
#include "graphics/picture_cache.h"
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
constexpr int32_t kScrollStep = 10;
constexpr uint32_t kHuntSeconds = 180;
constexpr uint32_t kLowTimeSeconds = 4;

enum SoundId : uint16_t {
    kSoundMenuMusic = 535,
    kSoundHuntAmbience = 537,
    kSoundReload = 543,
    kSoundDuckKilled = 544,
    kSoundBonus = 545,
    kSoundEmptyGun = 546,
    kSoundShot = 550,
    kSoundLastShell = 551,
    kSoundHuntOver = 578,
    kSoundLowTime = 579,
};

constexpr uint16_t kLoadingPicture = 581;
constexpr uint16_t kFarewellPicture = 511;
constexpr uint16_t kPointFontPicture = 255;

snd::SoundManager* Sound() { return theApp.Sound(); }

void StopAllSounds() {
    if (Sound() != nullptr) Sound()->StopAllSounds();
}

void PlayMusic(uint16_t id) {
    if (Sound() != nullptr) Sound()->PlaySound(id, true, true);
}

void PlayEffect(uint16_t id) {
    if (Sound() != nullptr) Sound()->PlaySound(id, false, false);
}

bool MenuAnimationOn() { return theApp.GetSettings() != nullptr && theApp.GetSettings()->MenuAnimation; }
bool SpecialEffectsOn() { return theApp.GetSettings() != nullptr && theApp.GetSettings()->SpecialEffects; }

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

// The whole frozen picture, greyed, behind the next screen.
void GreyTheScreen(gfx::Scene& scene) {
    scene.DrawAllSprites();
    scene.GetDisplayList().GrayDisplay();
    scene.GetDisplayList().PresentWhole();
}

void TraceHuntEnd(const HuntStats& stats, int32_t score) {
    char fields[160];
    std::snprintf(fields, sizeof fields,
                  "\"score\":%d,\"ducks\":%d,\"leaves\":%d,\"other\":%d,\"penalty\":%d,\"shots\":%d,"
                  "\"accuracy\":%d",
                  score, stats.ducksShot, stats.leavesShot, stats.otherHits, stats.penaltyPoints, stats.shotsFired,
                  stats.accuracy());
    plat::Trace("hunt_end", fields);
}

bool InPauseCorner(int32_t x, int32_t y) { return x > 228 && x < 241 && y > 308 && y < 320; }
bool InReloadZone(int32_t x, int32_t y) { return x > 200 && y > 5 && y < 165; }
bool OnBonusSpot(int32_t worldX, int32_t worldY) {
    return worldX >= 160 && worldX <= 170 && worldY >= 909 && worldY <= 929;
}

}  // namespace

void GameController::Register(View* view, uint8_t id) {
    view->SetScene(scene_);
    views_.Add(view, id);
    ownedViews_[id] = view;
}

void GameController::CreateViews(bool withGround) {
    scene_ = new gfx::Scene(gfx::kGroundColumns, gfx::kGroundRows, kTileWidth, kTileHeight);
    gfx::g_scene = scene_;
    groundLaid_ = false;
    if (withGround) LayGround();

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
    if (plat::StartOption("hunt")) {
        // Straight into a hunt, exactly as if it had been chosen on the menu;
        // no event of it waits for a picture to be decoded.
        gfx::KeepAllPictures();
        views_.Start(kViewMainMenu);
        views_.SwitchTo(kViewHunt, true);
    } else {
        views_.Start(kViewIntroduction);
    }
    savedScrollX_ = 0;
    savedScrollY_ = 0;
}

void GameController::LayGround() {
    if (groundLaid_) return;
    scene_->CreateTiles(&gfx::GroundTileId);
    groundLaid_ = true;
}

// By now the shell has destroyed the view list; the animation list goes after.
void GameController::DestroyViews() {
    // Closed during a hunt: its objects let go of the scene before it goes.
    if (huntRunning_) ReleaseHunt();
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
        // Back from a screen the pause menu opened.
        StopAllSounds();
        PlayMusic(kSoundHuntAmbience);
        ResumeHunt();
        scene_->RedrawScene();
        scene_->RedrawAll();
        return kNotConsumed;
    }
    if (views_.Current() != kViewHunt) return kConsumed;
    if (event.type == kEventKeys) ScrollKeys(event);
    if (event.type == kEventViewEntered && views_.Previous() == kViewMainMenu) {
        animations_.Clear();
        scene_->SetScroll(0, kBottomScroll);
        scene_->RedrawScene();
        StartHunt();
        return kNotConsumed;
    }

    const bool gunLoaded = g_shellMagazine.isLoaded();
    const bool duckKilled = ShootDucks(event, gunLoaded);
    const bool targetHit = ShootFieldTargets(event, gunLoaded);
    g_shellMagazine.blink(plat::GetTickCount());
    if (PauseRequested(event)) {
        OpenPauseMenu();
        return kConsumed;
    }
    if (event.type == kEventPenDown) Fire(event, gunLoaded, duckKilled || targetHit);
    g_shotPuffs.update();
    if (CountDown() == kConsumed) return kConsumed;
    g_scoreBoard.tick();
    g_featherBursts.update();
    return kNotConsumed;
}

void GameController::ScrollKeys(const InputEvent& event) {
    for (int16_t i = 0; i < event.keyCount; ++i) {
        switch (event.payload[i]) {
            case kKeyUp:
                // From the bottom (639) this stops at 9: the ground's top line stays hidden.
                if (scene_->GetScrollY() >= kScrollStep) ScrollBy(-kScrollStep);
                break;
            case kKeyDown:
                if (scene_->GetScrollY() <= kBottomScroll - kScrollStep) ScrollBy(kScrollStep);
                break;
            case kKeyHardware3:
                if (!g_shellMagazine.isLoaded()) g_shellMagazine.reload();
                break;
            default:
                break;
        }
    }
}

void GameController::ScrollBy(int32_t dy) {
    scene_->ScrollBy(0, dy);
    g_shellMagazine.reposition();
    g_huntClock.reposition();
    g_scoreBoard.reposition();
    scene_->RedrawScene();
}

bool GameController::ShootDucks(const InputEvent& event, bool gunLoaded) {
    const FlockResult flock = g_duckFlock.processEvent(event, gunLoaded, kFlockUpdate);
    g_hitSplashes.update();
    if (flock.kind != kFlockKilled) return false;
    PlayEffect(kSoundDuckKilled);
    const int32_t points = flock.duckKind >= kDuckSmallDown ? 25 : 10;
    const int16_t x = static_cast<int16_t>(flock.x);
    const int16_t y = static_cast<int16_t>(flock.y);
    if (SpecialEffectsOn()) g_featherBursts.show(x, y, flock.duckKind);
    g_hitSplashes.show(x, y, flock.duckKind, points);
    g_scoreBoard.add(points);
    ++stats_.ducksShot;
    return true;
}

bool GameController::ShootFieldTargets(const InputEvent& event, bool gunLoaded) {
    const ShotResult shot = g_fieldTargets.processEvent(event, gunLoaded);
    switch (shot.kind) {
        case kShotPoints:
            g_scoreBoard.add(shot.value);
            break;
        case kShotTime:
            g_huntClock.addSeconds(static_cast<int8_t>(shot.value));
            lowTimeWarned_ = false;
            break;
        case kShotFormation:
            // A refused formation still counts as a hit.
            g_duckFlock.summonFlock();
            break;
        default:
            return false;
    }
    stats_.countFieldHit(shot.kind, shot.value);
    return true;
}

bool GameController::PauseRequested(const InputEvent& event) const {
    const Settings* settings = theApp.GetSettings();
    if (settings != nullptr && settings->resultPending) return false;  // the hunt is over
    if (event.type == kEventPenDown) return InPauseCorner(event.x, event.y);
    if (event.type == kEventCharacter) return event.payload[0] == kCharEscape;
    return event.type == kEventFocusLost;
}

void GameController::OpenPauseMenu() {
    if (MenuAnimationOn()) GreyTheScreen(*scene_);
    views_.SwitchTo(kViewPauseMenu, true);
    StopAllSounds();
    PlayMusic(kSoundMenuMusic);
}

void GameController::Fire(const InputEvent& event, bool gunLoaded, bool somethingHit) {
    bool bonusHit = false;
    if (gunLoaded && !g_scenery.bonusTaken &&
        OnBonusSpot(event.x + scene_->GetScrollX(), event.y + scene_->GetScrollY())) {
        PlayEffect(kSoundBonus);
        g_scenery.bonusTaken = true;
        g_scenery.takeBonus();
        bonusHit = true;
    }
    if (gunLoaded && !somethingHit && !bonusHit && SpecialEffectsOn()) g_shotPuffs.add(event.x, event.y);
    if (InReloadZone(event.x, event.y) && !g_shellMagazine.isLoaded()) {
        PlayEffect(kSoundReload);
        g_shellMagazine.reload();
        return;
    }
    if (!g_shellMagazine.isLoaded()) {
        PlayEffect(kSoundEmptyGun);
        return;
    }
    PlayEffect(kSoundShot);
    g_shellMagazine.fire();
    if (!g_shellMagazine.isLoaded()) PlayEffect(kSoundLastShell);
    ++stats_.shotsFired;
}

int GameController::CountDown() {
    const uint32_t remaining = g_huntClock.tick();
    if (remaining == 0) {
        // Written again on every event until the hunt view leaves.
        if (Settings* settings = theApp.GetSettings()) {
            const bool first = !settings->resultPending;
            if (first) TraceHuntEnd(stats_, g_scoreBoard.score());
            stats_.writeTo(*settings, g_scoreBoard.score());
            // Stored once, at once: the program may be killed before it shuts down.
            if (first) settings->Save();
        }
        scene_->DrawAllSprites();
        return kConsumed;
    }
    if (remaining <= kLowTimeSeconds && !lowTimeWarned_) {
        PlayEffect(kSoundLowTime);
        lowTimeWarned_ = true;
    }
    return kNotConsumed;
}

void GameController::StartHunt() {
    lowTimeWarned_ = false;
    StopAllSounds();
    scene_->SetScroll(0, kBottomScroll);
    // Stays on screen while the objects load.
    FlashPicture(*scene_, kLoadingPicture, 58, 184, 90, 707, true);

    g_scenery.init(scene_);
    g_duckFlock.init(scene_);
    g_shellMagazine.init(212, 5, scene_, 7);
    g_shotPuffs.init(scene_);
    g_featherBursts.init(scene_);
    g_fieldTargets.init(scene_);
    pointFont_.release();
    pointFont_.load(kPointFontPicture, 22, 700, '0');
    g_scoreBoard.init(3, 10, scene_);
    g_huntClock.init(3, 225, kHuntSeconds, scene_);
    g_huntClock.start();
    g_hitSplashes.init(scene_, &pointFont_);
    huntRunning_ = true;

    if (Settings* settings = theApp.GetSettings()) settings->resultPending = false;
    g_shellMagazine.resetBlink(plat::GetTickCount());
    stats_.reset();
    PlayMusic(kSoundHuntAmbience);
    scene_->RedrawScene();
}

void GameController::ReleaseHunt() {
    g_duckFlock.release();
    g_scenery.release();
    g_shellMagazine.release();
    g_shotPuffs.release();
    g_scoreBoard.release();
    g_huntClock.release();
    g_featherBursts.release();
    g_hitSplashes.release();
    g_fieldTargets.release();
    huntRunning_ = false;
}

void GameController::EndHunt() {
    ReleaseHunt();
    scene_->ClearSprites();
    animations_.Clear();
    if (MenuAnimationOn()) GreyTheScreen(*scene_);

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
    g_huntClock.hide();
    g_scoreBoard.hide();
    g_shellMagazine.hide();
    g_scenery.hide();
    g_duckFlock.hide();
    g_fieldTargets.hide();
    g_hitSplashes.hide();
    g_featherBursts.hide();
    g_shotPuffs.hide();
    savedScrollX_ = scene_->GetScrollX();
    savedScrollY_ = scene_->GetScrollY();
}

void GameController::ResumeHunt() {
    g_shotPuffs.show();
    g_featherBursts.show();
    g_hitSplashes.show();
    g_fieldTargets.show();
    g_duckFlock.show();
    g_scenery.show();
    g_shellMagazine.show();
    g_scoreBoard.show();
    g_huntClock.show();
    scene_->SetScroll(savedScrollX_, savedScrollY_);
}
