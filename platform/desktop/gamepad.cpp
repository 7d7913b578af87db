#include "platform/desktop/gamepad.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

namespace plat {

namespace {

constexpr double kDeadZone = 8000.0 / 32767.0;
// Past this push the right stick holds an arrow; below the lower one it lets go.
constexpr double kScrollOn = 0.5;
constexpr double kScrollOff = 0.3;
// A d-pad press nudges the pointer one pixel; held this long, it glides.
constexpr uint64_t kDpadGlideMs = 200;
// The longest step between two moves: a stall must not fling the pointer.
constexpr uint64_t kMaxStepMs = 50;
constexpr uint32_t kReloadCode = kVkHardware1 + 2;

}  // namespace

double PointerSpeed(double push, uint32_t heldMs) {
    const double ramp = std::min(heldMs, 800u) / 800.0;
    return push * push * (60.0 + 300.0 * ramp);
}

double AxisPush(int16_t axis) {
    const double v = std::clamp(axis / 32767.0, -1.0, 1.0);
    if (std::fabs(v) < kDeadZone) return 0;
    return std::copysign((std::fabs(v) - kDeadZone) / (1 - kDeadZone), v);
}

Gamepad::~Gamepad() {
    for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
}

void Gamepad::Event(const SDL_Event& event, uint64_t nowMs) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) {
                // A pad already open is announced again when the system lists it anew.
                if (std::find(pads_.begin(), pads_.end(), pad) == pads_.end()) {
                    pads_.push_back(pad);
                } else {
                    SDL_GameControllerClose(pad);
                }
            }
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            for (auto pad = pads_.begin(); pad != pads_.end(); ++pad) {
                if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(*pad)) == event.cdevice.which) {
                    SDL_GameControllerClose(*pad);
                    pads_.erase(pad);
                    break;
                }
            }
            // What the pad held would never come up.
            if (penHeld_) {
                penHeld_ = false;
                out_.PenUp(ViewToPanel(Pointer()));
            }
            if (reloadsHeld_ > 0) out_.ReleaseKey(kReloadCode);
            reloadsHeld_ = 0;
            Arrow(0, false);
            Arrow(1, false);
            SetScroll(0);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            Button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN, nowMs);
            break;
        default:
            break;
    }
}

void Gamepad::Button(uint8_t button, bool down, uint64_t nowMs) {
    if (down) lastUse_ = std::max<uint64_t>(nowMs, 1);
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            if (down != penHeld_) {
                penHeld_ = down;
                const Point panel = ViewToPanel(Pointer());
                if (down) {
                    out_.PenDown(panel);
                } else {
                    out_.PenUp(panel);
                }
            }
            break;
        case SDL_CONTROLLER_BUTTON_X:
        case SDL_CONTROLLER_BUTTON_B:
            reloadsHeld_ = std::max(0, reloadsHeld_ + (down ? 1 : -1));
            if (down && reloadsHeld_ == 1) out_.PressKey({MappedKey::kButton, kReloadCode});
            if (!down && reloadsHeld_ == 0) out_.ReleaseKey(kReloadCode);
            break;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
            Arrow(0, down);
            break;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
            Arrow(1, down);
            break;
        case SDL_CONTROLLER_BUTTON_START:
        case SDL_CONTROLLER_BUTTON_BACK:
            if (down) out_.Type(0x1B);
            break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            if (!down) break;
            // A press moves one pixel at once, however short: precise aiming.
            dpadSince_ = std::max<uint64_t>(nowMs, 1);
            Shift(button == SDL_CONTROLLER_BUTTON_DPAD_LEFT ? -1 : button == SDL_CONTROLLER_BUTTON_DPAD_RIGHT ? 1 : 0,
                  button == SDL_CONTROLLER_BUTTON_DPAD_UP ? -1 : button == SDL_CONTROLLER_BUTTON_DPAD_DOWN ? 1 : 0);
            break;
        default:
            break;
    }
}

bool Gamepad::Held(SDL_GameControllerButton button) const {
    return std::any_of(pads_.begin(), pads_.end(),
                       [&](SDL_GameController* pad) { return SDL_GameControllerGetButton(pad, button) != 0; });
}

void Gamepad::Move(uint64_t nowMs) {
    const uint64_t step = lastMove_ == 0 ? 0 : std::min(nowMs - lastMove_, kMaxStepMs);
    lastMove_ = nowMs;
    double sx = 0, sy = 0, rx = 0;
    for (SDL_GameController* pad : pads_) {
        sx += AxisPush(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
        sy += AxisPush(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
        rx += AxisPush(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX));
    }
    double vx = 0, vy = 0;
    const double push = std::min(1.0, std::hypot(sx, sy));
    if (push > 0) {
        if (stickSince_ == 0) stickSince_ = nowMs;
        const double speed = PointerSpeed(push, static_cast<uint32_t>(nowMs - stickSince_));
        const double length = std::hypot(sx, sy);
        vx += sx / length * speed;
        vy += sy / length * speed;
    } else {
        stickSince_ = 0;
    }
    const int dx = Held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) - Held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    const int dy = Held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) - Held(SDL_CONTROLLER_BUTTON_DPAD_UP);
    if (dx == 0 && dy == 0) {
        dpadSince_ = 0;
    } else if (dpadSince_ != 0 && nowMs >= dpadSince_ + kDpadGlideMs) {
        const double speed = PointerSpeed(1, static_cast<uint32_t>(nowMs - dpadSince_ - kDpadGlideMs));
        const double length = std::hypot(dx, dy);
        vx += dx / length * speed;
        vy += dy / length * speed;
    }
    if (vx != 0 || vy != 0) {
        lastUse_ = std::max<uint64_t>(nowMs, 1);
        Shift(vx * static_cast<double>(step) / 1000, vy * static_cast<double>(step) / 1000);
    }
    const double scrollPush = std::clamp(rx, -1.0, 1.0);
    if (std::fabs(scrollPush) >= kScrollOn) {
        SetScroll(scrollPush < 0 ? -1 : 1);
    } else if (std::fabs(scrollPush) < kScrollOff) {
        SetScroll(0);
    }
}

void Gamepad::Shift(double dx, double dy) {
    const Point before = Pointer();
    x_ = std::clamp(x_ + dx, 0.0, kViewWidth - 0.001);
    y_ = std::clamp(y_ + dy, 0.0, kViewHeight - 0.001);
    const Point after = Pointer();
    if (penHeld_ && (after.x != before.x || after.y != before.y)) out_.PenMove(ViewToPanel(after));
}

void Gamepad::SetScroll(int direction) {
    if (direction == scroll_) return;
    if (scroll_ != 0) out_.ReleaseKey(MapKey(scroll_ < 0 ? SDLK_LEFT : SDLK_RIGHT).code);
    scroll_ = direction;
    if (scroll_ != 0) {
        out_.PressKey(MapKey(scroll_ < 0 ? SDLK_LEFT : SDLK_RIGHT));
        lastUse_ = std::max<uint64_t>(lastMove_, 1);
    }
}

// The shoulders hold the player's left (0) and right (1) arrows.
void Gamepad::Arrow(int index, bool down) {
    if (shoulders_[index] == down) return;
    shoulders_[index] = down;
    const MappedKey arrow = MapKey(index == 0 ? SDLK_LEFT : SDLK_RIGHT);
    if (down) {
        out_.PressKey(arrow);
    } else {
        out_.ReleaseKey(arrow.code);
    }
}

void Gamepad::Forget() {
    shoulders_[0] = shoulders_[1] = false;
    penHeld_ = false;
    reloadsHeld_ = 0;
    scroll_ = 0;
}

}  // namespace plat
