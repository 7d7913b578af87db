// Command line and run modes.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/audio/system_devices.h"
#include "platform/core/machine.h"
#include "platform/core/start_options.h"
#include "platform/desktop/desktop_host.h"
#include "platform/headless/headless_host.h"
#include "platform/headless/monkey_host.h"

namespace plat {

namespace {

constexpr const char* kUsage =
    "usage: reedshot [--hunt] [--scale N] [--mute] [--record FILE] [--trace FILE]\n"
    "       reedshot --replay FILE [--scale N] [--mute] [--trace FILE]\n"
    "       reedshot --headless --script FILE [--hunt] [--trace FILE] [--shots DIR] [--audio-out FILE]\n"
    "                [--timedemo] [--check-frames]\n"
    "       reedshot --headless --monkey SEED [--hours H] [--hunt] [--trace FILE] [--record FILE]\n"
    "                [--check-frames]\n"
    "\n"
    "  --hunt           start straight into a hunt\n"
    "  --scale N        whole-number window scale (default: as last left, or the largest that fits)\n"
    "  --mute           run without opening an audio device\n"
    "  --record FILE    record the input received, as a headless script\n"
    "  --replay FILE    watch a recording in the window: Space pauses, Right doubles the\n"
    "                   speed up to 8x, Left halves it, Escape stops; the store is left alone\n"
    "  --headless       run on a virtual clock without a window, as fast as possible\n"
    "  --script FILE    the timed input of a headless run (see docs/headless.md)\n"
    "  --trace FILE     write platform activity as JSON lines\n"
    "  --shots DIR      where the script's screenshots go (default: .)\n"
    "  --audio-out FILE write everything played to a WAV file\n"
    "  --timedemo       measure the headless run and print a summary\n"
    "  --check-frames   compare every frame with the scene redrawn in full; fail on a difference\n"
    "  --monkey SEED    drive the headless run with random input from this seed\n"
    "  --hours H        simulated hours of random input (default 1)\n"
    "  --version        print the version\n"
    "\n"
    "keys: left mouse button taps, right button, Space or 3 reload, 1-4 hardware buttons,\n"
    "  Left/Right scroll, Up/Down the direction pad, Enter return, Escape pauses and goes back,\n"
    "  Ctrl+M mutes, F11 or Alt+Enter fullscreen, F12 screenshot, Ctrl+Q quits\n"
    "game controller: left stick or d-pad moves the pointer, A taps (held, drags),\n"
    "  X or B reloads, shoulders or right stick scroll, Start pauses, Back is Escape\n";

struct Options {
    bool headless = false;
    bool timedemo = false;
    bool checkFrames = false;
    bool monkey = false;
    uint32_t monkeySeed = 0;
    double hours = 1;
    DesktopOptions desktop;
    std::string script, trace, shots, audioOut, replay;
};

// 0 to run, otherwise the exit status.
int ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string scale;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return -1;
        } else if (arg == "--version") {
            std::printf("reedshot %s\n", REEDSHOT_VERSION);
            return -1;
        } else if (arg == "--hunt") {
            GiveStartOption("hunt");
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--timedemo") {
            options.timedemo = true;
        } else if (arg == "--check-frames") {
            options.checkFrames = true;
            GiveStartOption("check-frames");
        } else if (arg == "--mute") {
            options.desktop.mute = true;
        } else if (arg == "--scale") {
            ok = value(scale);
            char* end = nullptr;
            const long n = ok ? std::strtol(scale.c_str(), &end, 10) : 0;
            ok = ok && *end == '\0' && n >= 1 && n <= 16;
            options.desktop.scale = static_cast<int>(n);
        } else if (arg == "--record") {
            ok = value(options.desktop.recordPath);
        } else if (arg == "--script") {
            ok = value(options.script);
        } else if (arg == "--trace") {
            ok = value(options.trace);
        } else if (arg == "--replay") {
            ok = value(options.replay);
        } else if (arg == "--shots") {
            ok = value(options.shots);
        } else if (arg == "--monkey") {
            std::string seed;
            ok = value(seed);
            char* end = nullptr;
            const unsigned long n = ok ? std::strtoul(seed.c_str(), &end, 10) : 0;
            ok = ok && !seed.empty() && seed[0] != '-' && *end == '\0' && n <= 0xFFFFFFFFul;
            options.monkey = true;
            options.monkeySeed = static_cast<uint32_t>(n);
        } else if (arg == "--hours") {
            std::string hours;
            ok = value(hours);
            char* end = nullptr;
            options.hours = ok ? std::strtod(hours.c_str(), &end) : 0;
            // The virtual clock turns over after 49 days.
            ok = ok && *end == '\0' && options.hours > 0 && options.hours <= 1000;
        } else if (arg == "--audio-out") {
            ok = value(options.audioOut);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "reedshot: bad option '%s'\n%s", arg.c_str(), kUsage);
            return 2;
        }
    }
    if (options.timedemo && !options.headless) {
        std::fprintf(stderr, "reedshot: --timedemo measures a headless run\n");
        return 2;
    }
    if (options.checkFrames && !options.headless) {
        std::fprintf(stderr, "reedshot: --check-frames checks a headless run\n");
        return 2;
    }
    if (options.monkey && (!options.headless || !options.script.empty() || options.timedemo)) {
        std::fprintf(stderr, "reedshot: --monkey drives a headless run without a script\n");
        return 2;
    }
    if (!options.replay.empty() && (options.headless || options.monkey || !options.desktop.recordPath.empty() ||
                                    StartOption("hunt"))) {
        std::fprintf(stderr, "reedshot: --replay plays a recording in the window, as it was started\n");
        return 2;
    }
    if (options.headless && options.script.empty() && !options.monkey) {
        std::fprintf(stderr, "reedshot: --headless needs --script FILE or --monkey SEED\n");
        return 2;
    }
    return 0;
}

// 0 when the script (or the recording) is read, otherwise the exit status.
int ReadScript(const std::string& path, const char* what, Script& script) {
    std::ifstream file(path);
    if (!file) {
        std::fprintf(stderr, "reedshot: cannot read the %s %s\n", what, path.c_str());
        return 2;
    }
    std::stringstream text;
    text << file.rdbuf();
    std::string error;
    if (!ParseScript(text.str(), script, error)) {
        std::fprintf(stderr, "reedshot: %s is no %s: %s\n", path.c_str(), what, error.c_str());
        return 2;
    }
    for (const std::string& option : script.options) GiveStartOption(option);
    return 0;
}

// Null, with the reason printed, when the file cannot be written.
std::FILE* OpenOutput(const std::string& path, const char* what) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        std::fprintf(stderr, "reedshot: cannot write the %s %s: %s\n", what, path.c_str(), std::strerror(errno));
    }
    return file;
}

int RunHeadless(const Options& options, int (*entry)()) {
    Script script;
    if (!options.monkey) {
        if (const int status = ReadScript(options.script, "script", script); status != 0) return status;
    }
    if (!options.shots.empty()) {
        std::error_code made;
        std::filesystem::create_directories(options.shots, made);
        if (made) {
            std::fprintf(stderr, "reedshot: cannot make the shots folder %s: %s\n", options.shots.c_str(),
                         made.message().c_str());
            return 2;
        }
    }
    std::FILE* trace = nullptr;
    if (!options.trace.empty() && (trace = OpenOutput(options.trace, "trace")) == nullptr) return 2;
    // The monkey's input, as a script that replays it.
    std::FILE* record = nullptr;
    if (options.monkey && !options.desktop.recordPath.empty() &&
        (record = OpenOutput(options.desktop.recordPath, "recording")) == nullptr) {
        if (trace != nullptr) std::fclose(trace);
        return 2;
    }
    Machine& machine = Machine::Get();
    machine.Reset();
    machine.SetTick(script.startTick);
    if (trace != nullptr) {
        machine.TraceTo(trace);
    } else {
        machine.TraceOff();
    }
    UseAudioDevice(AudioDevice::kVirtual);
    if (!options.audioOut.empty()) VirtualWaveOut().CaptureTo(options.audioOut);

    HeadlessHost host(std::move(script), options.shots);
    MonkeyHost monkey(options.monkeySeed, options.hours);
    machine.SetHost(options.monkey ? static_cast<Host*>(&monkey) : &host);
    Timedemo timedemo;
    if (options.timedemo) {
        host.Measure(&timedemo);
        timedemo.Begin(machine.Tick());
    }
    if (options.monkey) monkey.Begin(record);
    entry();
    const bool monkeyOk = !options.monkey || monkey.Finish(stdout);
    if (record != nullptr) std::fclose(record);
    if (options.timedemo) {
        timedemo.End(machine.Tick());
        timedemo.Print(stdout);
    }
    const uint32_t differing = machine.DifferingFrames();
    if (options.checkFrames) std::printf("check-frames: %u frames differed from the full redraw\n", differing);
    Trace("exit", nullptr);
    machine.Reset();
    if (trace != nullptr) std::fclose(trace);
    return host.ShotsFailed() || !monkeyOk || differing > 0 ? 1 : 0;
}

}  // namespace

int RunProgram(int argc, char** argv, int (*entry)()) {
    Options options;
    ClearStartOptions();
    if (const int status = ParseOptions(argc, argv, options); status != 0) return status < 0 ? 0 : status;
    Srand(1);
    if (options.headless) return RunHeadless(options, entry);
    Script recording;
    if (!options.replay.empty()) {
        if (const int status = ReadScript(options.replay, "recording", recording); status != 0) return status;
    }
    std::FILE* trace = nullptr;
    if (!options.trace.empty() && (trace = OpenOutput(options.trace, "trace")) == nullptr) return 2;
    const int status = RunDesktop(options.desktop, trace, options.replay.empty() ? nullptr : &recording, entry);
    if (trace != nullptr) std::fclose(trace);
    return status;
}

}  // namespace plat
