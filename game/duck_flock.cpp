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

DuckFlock::DuckFlock() {
    for (int i = 0; i < kSlots; ++i) slots_[i] = &pool_[i];
}

int32_t DuckFlock::init(gfx::Scene* scene) {
    while (count_ > 0) remove(count_ - 1);
    scene_ = scene;
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
    while (count_ > 0) remove(count_ - 1);
    const int32_t status = loaded_ ? 0 : kMissingFrames;
    for (FrameSet* frames : {&smallDown_, &smallUp_, &bigDown_, &bigUp_, &swimOut_, &swimBack_}) frames->FreeFrames();
    loaded_ = false;
    scene_ = nullptr;
    return status;
}

void DuckFlock::remove(int i) {
    Target* gone = slots_[i];
    scene_->RemoveSpriteAnimated(gone->sprite());
    gone->release();
    --count_;
    slots_[i] = slots_[count_];
    slots_[count_] = gone;
    scene_->RedrawDirty();
}

void DuckFlock::hide() {
    if (scene_ == nullptr) return;
    for (int i = 0; i < count_; ++i) scene_->RemoveSpriteAnimated(slots_[i]->sprite());
}

void DuckFlock::show() {
    if (scene_ == nullptr) return;
    for (int i = 0; i < count_; ++i) scene_->AddSpriteAnimated(slots_[i]->sprite(), slots_[i]->sprite().layer);
}

Target* DuckFlock::add(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind,
                       uint16_t intervalMs, int32_t variant, const PathParams& path, uint8_t layer) {
    if (count_ >= kSlots) return nullptr;
    Target* target = slots_[count_];
    if (!target->init(x, y, frames, frameMs, kind, intervalMs)) return nullptr;
    target->setPath(variant, path);
    scene_->AddSpriteAnimated(target->sprite(), layer);
    ++count_;
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
    for (int i = 0; i < count_; ++i) {
        Target& target = *slots_[i];
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
                remove(i);
                return hit == kHitOpaque ? FlockResult{kFlockKilled, x, y, kind} : scare(x, y, kind);
            }
        }
        target.update(*scene_);
        if (!target.finished()) continue;
        if (target.kind() == kDuckSwimmer) {
            turnBack(target);
            target.clearFinished();
        } else {
            remove(i);
        }
    }
    if (count_ <= kLaunchBelow && g_gameRandom.below(30) == 7) {
        const uint8_t before = count_;
        launchDuck();
        if (count_ > before) {
            const Target& last = *slots_[count_ - 1];
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
    const int32_t r = g_gameRandom.below(30) % 4;
    uint8_t kind = 0;
    const FrameSet* frames = nullptr;
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    // Each coordinate is drawn in turn: start x, start y, goal x.
    switch (r) {
        case 0:
            kind = kDuckBigUp;
            frames = &bigUp_;
            x0 = 20 + g_gameRandom.below(160);
            y0 = 960 + g_gameRandom.below(100);
            x1 = g_gameRandom.below(240);
            y1 = kTopGoal;
            break;
        case 1:
            kind = kDuckSmallUp;
            frames = &smallUp_;
            x0 = g_gameRandom.below(80);
            y0 = 960 + g_gameRandom.below(100);
            x1 = g_gameRandom.below(80);
            y1 = kTopGoal;
            break;
        case 2:
            kind = kDuckBigDown;
            frames = &bigDown_;
            x0 = g_gameRandom.below(220);
            y0 = -100 - g_gameRandom.below(100);
            x1 = g_gameRandom.below(240);
            y1 = kBottomGoal;
            break;
        default:
            kind = kDuckSmallDown;
            frames = &smallDown_;
            x0 = g_gameRandom.below(80);
            y0 = -100 - g_gameRandom.below(100);
            x1 = g_gameRandom.below(80);
            y1 = kBottomGoal;
            break;
    }
    const int32_t speed = 2 + g_gameRandom.below(10);
    const int32_t variant = g_gameRandom.below(30) % 3 == 0 ? kPathLine : kPathZigzag;
    add(x0, y0, *frames, 80 - speed, kind, static_cast<uint16_t>((speed + 40) * 2), variant,
        Line(x0, y0, x1, y1, speed), LayerOf(kind));
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
    if (scene_ == nullptr || count_ + kFormationSize + 1 >= kSlots) return false;
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
