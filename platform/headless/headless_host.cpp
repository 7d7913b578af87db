#include "platform/headless/headless_host.h"

#include <cstdio>
#include <filesystem>

#include "platform/audio/system_devices.h"
#include "platform/core/panel_image.h"

namespace plat {

HeadlessHost::HeadlessHost(Script script, std::string shotsDir)
    : actions_(std::move(script.actions)), startTick_(script.startTick), shotsDir_(std::move(shotsDir)) {}

bool HeadlessHost::ActionBefore(uint32_t dueTick) const {
    return next_ < actions_.size() && static_cast<int32_t>(startTick_ + actions_[next_].tick - dueTick) < 0;
}

void HeadlessHost::WaitFor(uint32_t dueTick) {
    Machine& machine = Machine::Get();
    while (ActionBefore(dueTick)) {
        const ScriptAction& action = actions_[next_++];
        machine.AdvanceTo(startTick_ + action.tick);
        switch (action.kind) {
            case ScriptAction::kPost:
                machine.Post(action.message);
                return;  // delivered before anything later happens
            case ScriptAction::kShot:
                TakeShot(action.name);
                break;
            case ScriptAction::kQuit:
                machine.End();
                return;
        }
    }
    // A finished script ends the run.
    if (next_ == actions_.size()) machine.End();
}

// Every action of the sleeping time happens at its own time: input is queued,
// screenshots show the screen as it stands.
void HeadlessHost::SleepUntil(uint32_t dueTick) {
    while (!Machine::Get().Ended() && ActionBefore(dueTick)) WaitFor(dueTick);
}

void HeadlessHost::Delivering(const Message& /*message*/, uint32_t tick) {
    if (timedemo_ != nullptr) timedemo_->Delivered(tick);
}

void HeadlessHost::ClockMoved(uint32_t tick) { VirtualWaveOut().AdvanceTo(tick); }

void HeadlessHost::ShowMessageBox(const char* text, const char* caption, uint32_t /*flags*/) {
    std::fprintf(stderr, "reedshot: [%s] %s\n", caption, text);
}

void HeadlessHost::TakeShot(const std::string& name) {
    const std::string path = (std::filesystem::path(shotsDir_.empty() ? "." : shotsDir_) / (name + ".png")).string();
    const bool ok = WriteViewPng(path, Machine::Get().Panel());
    shotsFailed_ = shotsFailed_ || !ok;
    std::string fields = "\"file\":\"";
    AppendJsonEscaped(fields, path.c_str());
    fields += ok ? "\",\"ok\":true" : "\",\"ok\":false";
    Trace("screenshot", fields.c_str());
    if (!ok) std::fprintf(stderr, "reedshot: could not write %s\n", path.c_str());
}

}  // namespace plat
