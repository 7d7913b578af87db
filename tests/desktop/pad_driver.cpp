// The game with a virtual pad plugged in while it runs, driven from a thread: the stick moves the pointer, the
// pad taps, reloads, scrolls, drags, pauses and resumes, and the window is closed. Each step is printed.
#include <SDL.h>

#include <cstdio>
#include <thread>

#include "app/game_app.h"
#include "platform/platform.h"

namespace {

constexpr int kFull = 32767;

struct Step {
    const char* name;
    int axis;    // -1: none
    int value;   // the axis's push, held for `ms`, then back to rest
    int button;  // -1: none; held for `ms`
    int ms;
};

constexpr Step kSteps[] = {
    {"move right", SDL_CONTROLLER_AXIS_LEFTX, kFull, -1, 500},
    {"tap", -1, 0, SDL_CONTROLLER_BUTTON_A, 120},
    {"reload west", -1, 0, SDL_CONTROLLER_BUTTON_X, 120},
    {"reload east", -1, 0, SDL_CONTROLLER_BUTTON_B, 120},
    {"scroll right shoulder", -1, 0, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 400},
    {"scroll right stick left", SDL_CONTROLLER_AXIS_RIGHTX, -kFull, -1, 400},
    {"nudge up", -1, 0, SDL_CONTROLLER_BUTTON_DPAD_UP, 60},
    // Held until the pause menu has slid in and listens.
    {"pause", -1, 0, SDL_CONTROLLER_BUTTON_START, 1500},
    {"resume", -1, 0, SDL_CONTROLLER_BUTTON_BACK, 120},
};

void Say(const char* what, const char* more = "") {
    std::printf("pad: %s%s\n", what, more);
    std::fflush(stdout);
}

void Drive() {
    for (int wait = 0; SDL_WasInit(SDL_INIT_GAMECONTROLLER) == 0; ++wait) {
        if (wait == 500) return Say("the game did not start");
        SDL_Delay(20);
    }
    // The window and the hunt come up first; the pad is plugged in during play.
    SDL_Delay(2500);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick* pad = index < 0 ? nullptr : SDL_JoystickOpen(index);
    if (pad == nullptr) {
        Say("cannot attach a virtual pad: ", SDL_GetError());
    } else {
        Say("attached");
        // A stick held while the game is busy starting moves nothing: wait until it has taken the pad.
        const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
        for (int wait = 0; wait < 500 && SDL_GameControllerFromInstanceID(id) == nullptr; ++wait) SDL_Delay(20);
        SDL_Delay(1000);
        for (const Step& step : kSteps) {
            Say(step.name);
            if (step.axis >= 0) SDL_JoystickSetVirtualAxis(pad, step.axis, static_cast<Sint16>(step.value));
            if (step.button >= 0) SDL_JoystickSetVirtualButton(pad, step.button, 1);
            SDL_Delay(static_cast<Uint32>(step.ms));
            if (step.axis >= 0) SDL_JoystickSetVirtualAxis(pad, step.axis, 0);
            if (step.button >= 0) SDL_JoystickSetVirtualButton(pad, step.button, 0);
            SDL_Delay(400);
        }
        // A drag: the south button held while the stick moves the pointer down.
        Say("drag");
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 1);
        SDL_Delay(100);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, kFull);
        SDL_Delay(300);
        SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTY, 0);
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, 0);
        SDL_Delay(1000);
    }
    Say("done");
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace

int main(int argc, char** argv) {
    std::thread driver(Drive);
    const int status = plat::RunProgram(argc, argv, &ProgramEntry);
    driver.join();
    return status;
}
