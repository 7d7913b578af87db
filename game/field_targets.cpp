#include "game/field_targets.h"

#include <algorithm>

#include "app/game_app.h"
#include "persist/settings.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint16_t kIntervalMs = 200;
constexpr uint8_t kLeafLayer = 231;
constexpr uint8_t kLeafBurstLayer = 230;
constexpr uint8_t kSignLayer = 141;
constexpr uint8_t kRedBirdLayer = 40;
constexpr uint8_t kDecoyLayer = 10;
constexpr uint8_t kPopupLayer = 231;
constexpr gfx::Point kDecoyAt{165, 620};
constexpr int32_t kDecoyTopmost = 250;  // it drifts up to here and no further
constexpr int32_t kSignWidth = 108;
constexpr int16_t kPopupEvents = 20;
constexpr int16_t kDecoyPopupEvents = 10;
constexpr uint16_t kFormationEvery = 6;

constexpr uint16_t kSoundSignHit = 544;
constexpr uint16_t kSoundTimeBonus = 555;
constexpr uint16_t kSoundTimePenalty = 556;
constexpr uint16_t kSoundFormation = 557;
constexpr uint16_t kSoundRedBirdHit = 558;
constexpr uint16_t kSoundDecoyHit = 562;

struct PopupPicture {
    uint16_t id;
    uint16_t width;
    uint16_t height;
    bool blend;
};
// In the order of FieldTargets::Popup.
constexpr PopupPicture kPopups[] = {
    {325, 24, 24, true},  {349, 20, 48, false}, {348, 20, 22, true},
    {327, 24, 24, true},  {326, 24, 24, true},  {347, 20, 48, false},
};

void Play(uint16_t id) {
    if (snd::SoundManager* sound = theApp.Sound()) sound->PlaySound(id, false, false);
}

}  // namespace

int32_t FieldTargets::init(gfx::Scene* scene) {
    // What a hunt that was never released left is taken out through the new
    // scene: the old one may be gone, and removing a sprite a scene does not
    // hold does nothing.
    scene_ = scene;
    clear();
    leaves_.LoadFrames(313, 324, 22, 22);
    leafBurst_.LoadFrames(341, 346, 22, 22);
    for (uint16_t i = 0; i < 3; ++i) signDucks_[i].LoadFrames(304 + i, 304 + i, 108, 80);
    signBurst_.LoadFrames(307, 312, 108, 80);
    redBirdDown_.LoadFrames(330, 334, 18, 26);
    redBirdUp_.LoadFrames(335, 339, 18, 26);
    redBirdFall_.LoadFrames(340, 340, 30, 38);
    decoyFrames_.LoadFrames(303, 303, 28, 38);
    for (int i = 0; i < kPopupCount; ++i) gfx::LoadHeldPicture(popups_[i], kPopups[i].id, kPopups[i].width, kPopups[i].height);
    loaded_ = true;
    formationCooldown_ = 0;
    signActive_ = false;
    // Slot 0 is the decoy's for the whole hunt; without it every slot is a
    // launched target.
    hasDecoy_ = add(kDecoyAt.x, kDecoyAt.y, decoyFrames_, 1, kFieldDecoy, 0, {}, kDecoyLayer) != nullptr;
    return 0;
}

int32_t FieldTargets::release() {
    if (scene_ != nullptr) clear();
    const int32_t status = loaded_ ? 0 : kMissingFrames;
    for (FrameSet* frames : {&leaves_, &leafBurst_, &signDucks_[0], &signDucks_[1], &signDucks_[2], &signBurst_,
                             &redBirdDown_, &redBirdUp_, &redBirdFall_, &decoyFrames_}) {
        frames->FreeFrames();
    }
    for (gfx::PictureHolder& holder : popups_) gfx::FreeHeldPicture(holder);
    loaded_ = false;
    scene_ = nullptr;
    return status;
}

void FieldTargets::clear() {
    targets_.removeAll(*scene_);
    animations_.removeAll(*scene_);
    removePopup();
    hasDecoy_ = false;
}

void FieldTargets::hide() {
    if (scene_ == nullptr) return;
    if (popupShown_) scene_->RemoveSprite(popup_);
    targets_.hide(*scene_);
    animations_.hide(*scene_);
}

void FieldTargets::show() {
    if (scene_ == nullptr) return;
    if (popupShown_) scene_->AddSprite(popup_, kPopupLayer);
    targets_.show(*scene_);
    animations_.show(*scene_);
}

ShotResult FieldTargets::processEvent(const InputEvent& event, bool gunLoaded) {
    if (scene_ == nullptr) return {kShotNothing, 0};
    if (popupTimer_ > 0) {
        if (popupTimer_ == 1) {
            removePopup();
            scene_->RedrawDirty();
        } else {
            --popupTimer_;
        }
    }
    const bool shot = event.type == kEventPenDown && gunLoaded;
    const int32_t scrollX = scene_->GetScrollX();
    const int32_t scrollY = scene_->GetScrollY();
    // Field targets count on their whole picture box, transparent or not. A
    // Target moved into a freed slot waits for the next event.
    for (int i = hasDecoy_ ? 1 : 0; i < targets_.count(); ++i) {
        Target& target = targets_[i];
        if (shot && target.hitTest(event.x, event.y, scrollX, scrollY) != kHitOutside) {
            const int32_t x = target.sprite().x;
            const int32_t y = target.sprite().y;
            const uint8_t kind = target.kind();
            startAnimation(kind, x, y);
            targets_.remove(*scene_, i);
            return hitResult(kind, x, y);
        }
        target.update(*scene_);
        if (target.finished()) targets_.remove(*scene_, i);
    }
    for (int i = 0; i < animations_.count(); ++i) {
        HitAnimation& animation = animations_[i];
        animation.update(*scene_);
        if (animation.finished()) animations_.remove(*scene_, i);
    }
    if (hasDecoy_) {
        AnimatedSprite& decoy = targets_[0].sprite();
        if (shot && targets_[0].hitTest(event.x, event.y, scrollX, scrollY) != kHitOutside) {
            return hitResult(kFieldDecoy, decoy.x, decoy.y);
        }
        const int32_t r = random_.below(100);
        if (r < 30 && r % 8 == 0 && decoy.y > kDecoyTopmost) {
            --decoy.y;
            scene_->MarkSpriteDirty(decoy);
        }
    }
    if (targets_.count() + 1 < kSlots && random_.below(30) == 7) launch();
    return {kShotNothing, 0};
}

void FieldTargets::removePopup() {
    popupTimer_ = 0;
    if (!popupShown_) return;
    scene_->RemoveSprite(popup_);
    gfx::FreeSpriteBackground(popup_);
    popupShown_ = false;
}

Target* FieldTargets::add(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind,
                          int32_t variant, const PathParams& path, uint8_t layer) {
    Target* target = targets_.spare();
    if (target == nullptr || !target->init(x, y, frames, frameMs, kind, kIntervalMs)) return nullptr;
    target->setPath(variant, path);
    targets_.keep(*scene_, layer);
    return target;
}

void FieldTargets::startAnimation(uint8_t kind, int32_t x, int32_t y) {
    if (kind == kFieldSign) {
        signActive_ = false;
        Play(kSoundSignHit);
    } else if (kind == kFieldRedBird) {
        Play(kSoundRedBirdHit);
    }
    HitAnimation* animation = animations_.spare();
    if (animation == nullptr) return;
    bool made = false;
    uint8_t layer = 0;
    switch (kind) {
        case kFieldLeaf:
            made = animation->init(leafBurst_, x, y, 80, true);
            layer = kLeafBurstLayer;
            break;
        case kFieldSign:
            made = animation->init(signBurst_, x, y, 70, false);
            layer = kSignLayer;
            break;
        case kFieldRedBird:
            made = animation->init(redBirdFall_, x, y, 130, true);
            if (made) animation->setPath(LinePath(x + 3, y, x + 43, y, 1));
            layer = kRedBirdLayer;
            break;
        default:
            return;
    }
    if (made) animations_.keep(*scene_, layer);
}

ShotResult FieldTargets::hitResult(uint8_t kind, int32_t x, int32_t y) {
    removePopup();
    switch (kind) {
        case kFieldSign:
            showPopup(kPopupSign, x + 20, y - 10, kPopupEvents);
            return {kShotPoints, 50};
        case kFieldRedBird:
            showPopup(kPopupPenalty, x + 20, y - 10, kPopupEvents);
            return {kShotPoints, -50};
        case kFieldDecoy:
            showPopup(kPopupPenalty, x + 20, y + 20, kDecoyPopupEvents);
            Play(kSoundDecoyHit);
            return {kShotPoints, -50};
        default:
            break;
    }
    const int32_t d = random_.below(100) % 13;
    if (d == 0) {
        showPopup(kPopupTimeBonus, x + 20, y - 10, kPopupEvents);
        Play(kSoundTimeBonus);
        return {kShotTime, 30};
    }
    if (d == 1) {
        showPopup(kPopupTimePenalty, x + 20, y - 10, kPopupEvents);
        Play(kSoundTimePenalty);
        return {kShotTime, -30};
    }
    if (d == 2 && formationCooldown_ <= 1) {
        showPopup(kPopupFormation, x + 20, y - 10, kPopupEvents);
        Play(kSoundFormation);
        formationCooldown_ = kFormationEvery;
        return {kShotFormation, 0};
    }
    if (d == 2) --formationCooldown_;
    showPopup(kPopupPoint, x + 20, y - 10, kPopupEvents);
    return {kShotPoints, 1};
}

void FieldTargets::showPopup(Popup which, int32_t x, int32_t y, int16_t timer) {
    if (popups_[which].picture == nullptr) return;  // its picture could not be loaded
    gfx::CreateSprite(popup_, &popups_[which], x, y, true, true, kPopups[which].blend, gfx::kKeyFromImage);
    if (!popup_.savesBackground) {
        gfx::FreeSpriteBackground(popup_);
        return;
    }
    scene_->AddSprite(popup_, kPopupLayer);
    popupShown_ = true;
    popupTimer_ = timer;
}

void FieldTargets::launch() {
    const int32_t c = random_.below(197) % 17;
    if (c == 7) {
        if (!signActive_) launchSign();
    } else if (c == 8 || c == 11 || c == 12 || c == 14) {
        if (random_.below(20) % 5 == 0) launchRedBird();
    } else if (specialEffects()) {
        launchLeaf();
    }
}

void FieldTargets::launchSign() {
    const FrameSet& frames = signDucks_[random_.below(197) % 3];
    // It comes in at the part of the world on screen.
    const int32_t y = scene_->GetScrollY() + random_.below(320);
    if (add(240, y, frames, 4, kFieldSign, kPathSlide, {240, y, 240 - kSignWidth, y, -10, 0, 10}, kSignLayer) !=
        nullptr) {
        signActive_ = true;
    }
}

void FieldTargets::launchRedBird() {
    const bool down = random_.below(30) % 2 == 1;
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    if (down) {
        x0 = random_.below(220);
        y0 = -100 - random_.below(100);
        x1 = random_.below(240);
        y1 = 1120;
    } else {
        y0 = 960 + random_.below(100);
        x0 = random_.below(106);
        x1 = random_.below(106);
        y1 = -160;
    }
    // A bird that drew speed 0 would hang where it started for the rest of
    // the hunt, holding its slot.
    const int32_t speed = std::max(1, random_.below(15));
    add(x0, y0, down ? redBirdDown_ : redBirdUp_, 1, kFieldRedBird, kPathLine, {x0, y0, x1, y1, speed},
        kRedBirdLayer);
}

void FieldTargets::launchLeaf() {
    const int32_t y0 = random_.below(960);
    const int32_t y1 = random_.below(960);
    const int32_t speed = 1 + random_.below(4);
    add(-50, y0, leaves_, 80, kFieldLeaf, kPathLine, {-50, y0, 290, y1, speed}, kLeafLayer);
}

bool FieldTargets::specialEffects() const {
    const Settings* settings = theApp.GetSettings();
    return settings != nullptr && settings->SpecialEffects;
}
