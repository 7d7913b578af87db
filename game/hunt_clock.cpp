#include "game/hunt_clock.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

constexpr uint8_t kTextLength = 10;
constexpr uint16_t kIconPicture = 269;
constexpr uint16_t kIconSize = 16;
constexpr int32_t kIconX = 224;
constexpr int32_t kIconY = 304;

}  // namespace

void HuntClock::FormatTime(uint32_t seconds, char (&out)[8]) {
    const auto minutes = static_cast<uint8_t>(seconds / 60);
    const auto rest = static_cast<uint8_t>(seconds - 60u * minutes);
    std::snprintf(out, sizeof out, "%02u:%02u", static_cast<unsigned>(minutes), static_cast<unsigned>(rest));
}

bool HuntClock::init(int32_t x, int32_t y, uint32_t seconds, gfx::Scene* scene) {
    seconds_ = seconds;
    startSeconds_ = seconds;
    running_ = false;
    char text[8];
    FormatTime(seconds_, text);
    if (!text_.init(x, y, kTextLength, text, scene)) return false;
    scene_ = scene;
    gfx::LoadHeldPicture(iconPicture_, kIconPicture, kIconSize, kIconSize);
    gfx::CreateSprite(icon_, &iconPicture_, 0, 0, false, true, false, gfx::kKeyFromImage);
    placeIcon();
    scene_->RemoveSprite(icon_);  // a new hunt without a release between
    scene_->AddSprite(icon_, kLayer);
    return true;
}

uint32_t HuntClock::start() {
    lastTick_ = plat::GetTickCount();
    running_ = true;
    return seconds_;
}

uint32_t HuntClock::stop() {
    running_ = false;
    return seconds_;
}

uint32_t HuntClock::tick() {
    const uint32_t now = plat::GetTickCount();
    if (!running_ || now - lastTick_ <= kSecondMs) return seconds_;
    lastTick_ = now;
    if (seconds_ > 0) --seconds_;
    showTime();
    if (seconds_ == 0) stop();
    return seconds_;
}

void HuntClock::addSeconds(int8_t delta) {
    if (delta < 0 && seconds_ < static_cast<uint32_t>(-delta)) {
        seconds_ = 0;
        stop();
        return;
    }
    seconds_ = static_cast<uint32_t>(static_cast<int64_t>(seconds_) + delta);
    lastTick_ = plat::GetTickCount();
}

uint32_t HuntClock::reposition() {
    text_.reposition();
    if (scene_ != nullptr) {
        placeIcon();
        scene_->MarkSpriteDirty(icon_);
    }
    return tick();
}

uint32_t HuntClock::hide() {
    text_.hide();
    if (scene_ != nullptr) scene_->RemoveSprite(icon_);
    return stop();
}

void HuntClock::show() {
    start();
    char text[8];
    FormatTime(seconds_, text);
    text_.show(text);
    if (scene_ == nullptr) return;
    scene_->RemoveSprite(icon_);  // never twice in the list
    scene_->AddSprite(icon_, kLayer);
}

void HuntClock::release() {
    seconds_ = 0;
    lastTick_ = 0;
    running_ = false;
    text_.release();
    if (scene_ != nullptr) scene_->RemoveSprite(icon_);
    scene_ = nullptr;
    gfx::FreeSpriteBackground(icon_);
    gfx::FreeHeldPicture(iconPicture_);
}

void HuntClock::placeIcon() {
    icon_.x = scene_->GetScrollX() + kIconX;
    icon_.y = scene_->GetScrollY() + kIconY;
}

void HuntClock::showTime() {
    char text[8];
    FormatTime(seconds_, text);
    text_.setText(text);
}
