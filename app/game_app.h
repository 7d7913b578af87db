// The one object that owns the running program: the input state and the
// long-lived objects every screen uses. It exists once, as a static object.
#pragma once

#include "app/input_translator.h"

class AnimationList;
class ViewList;
class GameController;
class EventDispatcher;
class Settings;
namespace snd {
class SoundManager;
}

class GameApp {
public:
    GameApp() = default;
    virtual ~GameApp() = default;
    GameApp(const GameApp&) = delete;
    GameApp& operator=(const GameApp&) = delete;

    // False when another copy already runs or the window or the heartbeat
    // cannot be had; the program should then end without a Shutdown.
    bool Initialise();
    // Runs the message loop until the program quits or the window closes.
    void Run();
    void Shutdown();
    // What the first screen does not show, when Initialise left it out: every
    // picture kept, the ground laid and the settings read (the store made on
    // a first start). Otherwise, and once done, it does nothing.
    void FinishStartUp();

    AnimationList* Animations() const { return animations_; }
    ViewList* Views() const { return views_; }
    GameController* Controller() const { return controller_; }
    snd::SoundManager* Sound() const { return sound_; }
    Settings* GetSettings() const { return settings_; }
    InputState& Input() { return input_; }

private:
    Settings* settings_ = nullptr;
    AnimationList* animations_ = nullptr;
    ViewList* views_ = nullptr;
    GameController* controller_ = nullptr;
    EventDispatcher* dispatcher_ = nullptr;
    snd::SoundManager* sound_ = nullptr;
    InputState input_;
};

// The program's application object.
extern GameApp theApp;

// Initialise, the message loop and Shutdown: 0 when start-up failed, else 1.
int ProgramEntry();
