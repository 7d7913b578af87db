#include "game/duck_flock.h"

#include "app/game_app.h"
#include "game/game_random.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint8_t kBigLayer = 130;
constexpr uint8_t kSmallLayer = 50;
constexpr uint8_t kFormationLayer = 5;
constexpr int32_t kLaunchBelow = 6;  // a new duck only while count <= 6
constexpr int32_t kFormationSize = 5;
constexpr int32_t kFleeSpeed = 15;
constexpr int32_t kFleeFrameMs = 65;
constexpr uint16_t kFleeIntervalMs = 95;

constexpr gfx::Point kSwimStart{168, 669};
constexpr gfx::Point kSwimEnd{214, 80};
constexpr int32_t kTopGoal = -160;
constexpr int32_t kBottomGoal = 1120;

constexpr uint16_t kSoundSwimmer = 563;
constexpr uint16_t kSoundScaredEven = 563;
constexpr uint16_t kSoundScaredOdd = 564;

constexpr gfx::Point kFormation[kFormationSize] = {{0, 0}, {40, 60}, {-40, 60}, {80, 120}, {-80, 120}};

uint8_t LayerOf(uint8_t kind) { return kind <= kDuckBigUp ? kBigLayer : kSmallLayer; }

void Play(uint16_t id) {
    if (snd::SoundManager* sound = theApp.Sound()) sound->PlaySound(id, false, false);
}

PathParams Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t speed) { return {x0, y0, x1, y1, speed}; }

}  // namespace

int32_t DuckFlock::init(gfx::Scene* scene) {
    // Ducks left from a hunt that was never released are taken out through
    // the new scene: the old one may be gone, and removing a sprite a scene
    // does not hold does nothing.
    scene_ = scene;
    targets_.removeAll(*scene_);
    smallDown_.LoadFrames(208, 215, 48, 48);
    smallUp_.LoadFrames(200, 207, 48, 48);
    bigDown_.LoadFrames(163, 170, 68, 68);
    bigUp_.LoadFrames(192, 199, 68, 68);
    swimOut_.LoadFrames(329, 329, 36, 32);
    swimBack_.LoadFrames(328, 328, 36, 32);
    loaded_ = true;
    swimmers_ = 0;
    return 0;
}

int32_t DuckFlock::release() {
    if (scene_ != nullptr) targets_.removeAll(*scene_);
    const int32_t status = loaded_ ? 0 : kMissingFrames;
    for (FrameSet* frames : {&smallDown_, &smallUp_, &bigDown_, &bigUp_, &swimOut_, &swimBack_}) frames->FreeFrames();
    loaded_ = false;
    scene_ = nullptr;
    return status;
}

void DuckFlock::hide() {
    if (scene_ != nullptr) targets_.hide(*scene_);
}

void DuckFlock::show() {
    if (scene_ != nullptr) targets_.show(*scene_);
}

Target* DuckFlock::add(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind,
                       uint16_t intervalMs, int32_t variant, const PathParams& path, uint8_t layer) {
    Target* target = targets_.spare();
    if (target == nullptr || !target->init(x, y, frames, frameMs, kind, intervalMs)) return nullptr;
    target->setPath(variant, path);
    targets_.keep(*scene_, layer);
    return target;
}

FlockResult DuckFlock::processEvent(const InputEvent& event, bool gunLoaded, int32_t mode) {
    if (mode == kFlockSummon) return {launchFormation() ? kFlockFormation : kFlockRefused, 0, 0, 0};
    FlockResult result{kFlockNothing, 0, 0, 0};
    if (scene_ == nullptr) return result;
    const bool shot = event.type == kEventPenDown && gunLoaded;
    const int32_t scrollX = scene_->GetScrollX();
    const int32_t scrollY = scene_->GetScrollY();
    // A Target moved into a freed slot waits for the next event.
    for (int i = 0; i < targets_.count(); ++i) {
        Target& target = targets_[i];
        if (shot) {
            const HitTestResult hit = target.hitTest(event.x, event.y, scrollX, scrollY);
            if (target.kind() == kDuckSwimmer) {
                if (hit != kHitOutside) {
                    turnBack(target);
                    Play(kSoundSwimmer);
                }
            } else if (hit != kHitOutside) {
                const int32_t x = target.sprite().x;
                const int32_t y = target.sprite().y;
                const uint8_t kind = target.kind();
                targets_.remove(*scene_, i);
                return hit == kHitOpaque ? FlockResult{kFlockKilled, x, y, kind} : scare(x, y, kind);
            }
        }
        target.update(*scene_);
        if (!target.finished()) continue;
        if (target.kind() == kDuckSwimmer) {
            turnBack(target);
            target.clearFinished();
        } else {
            targets_.remove(*scene_, i);
        }
    }
    if (targets_.count() <= kLaunchBelow && g_gameRandom.below(30) == 7) {
        const uint8_t before = targets_.count();
        launchDuck();
        if (targets_.count() > before) {
            const Target& last = targets_[targets_.count() - 1];
            result = {kFlockLaunched, last.sprite().x, last.sprite().y, last.kind()};
        }
    }
    return result;
}

FlockResult DuckFlock::summonFlock() { return processEvent(InputEvent{}, false, kFlockSummon); }

FlockResult DuckFlock::scare(int32_t x, int32_t y, uint8_t kind) {
    struct Flight {
        uint8_t kind;
        const FrameSet* frames;
        int32_t goalWidth;
        int32_t goalY;
    };
    const Flight flights[] = {
        {kDuckBigUp, &bigUp_, 240, kTopGoal},
        {kDuckBigDown, &bigDown_, 240, kBottomGoal},
        {kDuckSmallUp, &smallUp_, 80, kTopGoal},
        {kDuckSmallDown, &smallDown_, 80, kBottomGoal},
    };
    const Flight& f = flights[kind - kDuckBigDown];
    const int32_t goalX = g_gameRandom.below(f.goalWidth);
    const int32_t variant = g_gameRandom.below(30) % 2 == 0 ? kPathLine : kPathZigzag;
    const Target* fled = add(x, y, *f.frames, kFleeFrameMs, f.kind, kFleeIntervalMs, variant,
                             Line(x, y, goalX, f.goalY, kFleeSpeed), LayerOf(f.kind));
    if (fled == nullptr) return {kFlockNothing, 0, 0, 0};
    Play(g_gameRandom.next() % 2 == 0 ? kSoundScaredEven : kSoundScaredOdd);
    return {kFlockScared, x, y, f.kind};
}

void DuckFlock::launchDuck() {
    // Start x = x0 + below(x0Range), start y = y0 + y0Sign * below(100),
    // goal x = below(x1Range), drawn in that order.
    struct Launch {
        uint8_t kind;
        FrameSet DuckFlock::*frames;
        int32_t x0;
        int32_t x0Range;
        int32_t y0;
        int32_t y0Sign;
        int32_t x1Range;
        int32_t y1;
    };
    static constexpr Launch kLaunches[] = {
        {kDuckBigUp, &DuckFlock::bigUp_, 20, 160, 960, 1, 240, kTopGoal},
        {kDuckSmallUp, &DuckFlock::smallUp_, 0, 80, 960, 1, 80, kTopGoal},
        {kDuckBigDown, &DuckFlock::bigDown_, 0, 220, -100, -1, 240, kBottomGoal},
        {kDuckSmallDown, &DuckFlock::smallDown_, 0, 80, -100, -1, 80, kBottomGoal},
    };
    const Launch& l = kLaunches[g_gameRandom.below(30) % 4];
    const int32_t x0 = l.x0 + g_gameRandom.below(l.x0Range);
    const int32_t y0 = l.y0 + l.y0Sign * g_gameRandom.below(100);
    const int32_t x1 = g_gameRandom.below(l.x1Range);
    const int32_t speed = 2 + g_gameRandom.below(10);
    const int32_t variant = g_gameRandom.below(30) % 3 == 0 ? kPathLine : kPathZigzag;
    add(x0, y0, this->*l.frames, 80 - speed, l.kind, static_cast<uint16_t>((speed + 40) * 2), variant,
        Line(x0, y0, x1, l.y1, speed), LayerOf(l.kind));
    if (swimmers_ == 0 && g_gameRandom.below(10) % 2 == 0) launchSwimmer();
}

void DuckFlock::launchSwimmer() {
    if (add(kSwimStart.x, kSwimStart.y, swimOut_, 1, kDuckSwimmer, 200, kPathLine,
            Line(kSwimStart.x, kSwimStart.y, kSwimEnd.x, kSwimEnd.y, 1), kSmallLayer) != nullptr) {
        swimmers_ = 1;
    }
}

void DuckFlock::turnBack(Target& swimmer) {
    AnimatedSprite& sprite = swimmer.sprite();
    const bool goingOut = sprite.image == swimOut_.Frames()[0];
    if (!goingOut && sprite.image != swimBack_.Frames()[0]) return;
    const gfx::Point goal = goingOut ? kSwimStart : kSwimEnd;
    // The new picture shows at once, so that a second shot before the next
    // frame step still sees which way it swims.
    sprite.RestartFrames(goingOut ? swimBack_ : swimOut_);
    sprite.SetFrame(0);
    swimmer.setPath(kPathLine, Line(sprite.x, sprite.y, goal.x, goal.y, 1));
    scene_->MarkSpriteDirty(sprite);
}

bool DuckFlock::launchFormation() {
    if (scene_ == nullptr || targets_.count() + kFormationSize + 1 >= kSlots) return false;
    const bool fromLowY = g_gameRandom.below(30) % 2 == 0;
    int32_t baseX = 0;
    int32_t baseY = 0;
    int32_t goalBaseX = 0;
    if (fromLowY) {
        baseX = 20 + g_gameRandom.below(160);
        baseY = -240;
        goalBaseX = g_gameRandom.below(240);
    } else {
        baseX = g_gameRandom.below(120);
        baseY = 1280;
        goalBaseX = g_gameRandom.below(120);
    }
    const int32_t goalY = fromLowY ? 1280 : -320;
    const uint8_t kind = fromLowY ? kDuckSmallDown : kDuckSmallUp;
    const FrameSet& frames = fromLowY ? smallDown_ : smallUp_;
    for (const gfx::Point& offset : kFormation) {
        const int32_t dy = fromLowY ? -offset.y : offset.y;
        const int32_t x0 = baseX + offset.x;
        const int32_t y0 = baseY + dy;
        if (add(x0, y0, frames, kFleeFrameMs, kind, kFleeIntervalMs, kPathLine,
                Line(x0, y0, goalBaseX + offset.x, goalY + dy, kFleeSpeed), kFormationLayer) == nullptr) {
            break;
        }
    }
    return true;
}
