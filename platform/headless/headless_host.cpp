#include "platform/headless/headless_host.h"

#include <cstdio>
#include <filesystem>

#include "platform/audio/system_devices.h"
#include "platform/core/panel_image.h"

namespace plat {

HeadlessHost::HeadlessHost(Script script, std::string shotsDir)
    : feed_(std::move(script)), shotsDir_(std::move(shotsDir)) {}

void HeadlessHost::WaitFor(uint32_t dueTick) {
    auto shot = [](void* self, const std::string& name) { static_cast<HeadlessHost*>(self)->TakeShot(name); };
    while (feed_.ActionBefore(dueTick)) {
        if (feed_.Step(shot, this)) return;
    }
    // A finished script ends the run.
    if (feed_.Done()) Machine::Get().End();
}

// Every action of the sleeping time happens at its own time: input is queued,
// screenshots show the screen as it stands.
void HeadlessHost::SleepUntil(uint32_t dueTick) {
    while (!Machine::Get().Ended() && feed_.ActionBefore(dueTick)) WaitFor(dueTick);
}

void HeadlessHost::Delivering(const Message& /*message*/, uint32_t tick) {
    if (timedemo_ != nullptr) timedemo_->Delivered(tick);
}

void HeadlessHost::ClockMoved(uint32_t tick) {
    if (timedemo_ != nullptr) timedemo_->SoundBegin();
    VirtualWaveOut().AdvanceTo(tick);
    if (timedemo_ != nullptr) timedemo_->SoundEnd();
}

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
