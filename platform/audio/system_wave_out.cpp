#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/audio/system_devices.h"

namespace plat {

namespace {

AudioDevice g_device = AudioDevice::kVirtual;

}  // namespace

void UseAudioDevice(AudioDevice device) { g_device = device; }

HeadlessWaveOut& VirtualWaveOut() {
    static HeadlessWaveOut device;
    return device;
}

SdlWaveOut& SdlDevice() {
    static SdlWaveOut device;
    return device;
}

WaveOut& SystemWaveOut() {
    static SilentWaveOut none;
    switch (g_device) {
        case AudioDevice::kSdl:
            return SdlDevice();
        case AudioDevice::kNone:
            return none;
        case AudioDevice::kVirtual:
            break;
    }
    return VirtualWaveOut();
}

void RaiseCurrentThreadPriority() {
    // Per-thread niceness on Linux; refused without the privilege, which is fine.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, thread, -10);
}

}  // namespace plat
