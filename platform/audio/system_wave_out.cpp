#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "platform/audio/sdl_wave_out.h"
#include "platform/audio/wave_out.h"

namespace plat {

WaveOut& SystemWaveOut() {
    static SdlWaveOut device;
    return device;
}

void RaiseCurrentThreadPriority() {
    // Per-thread niceness on Linux; refused without the privilege, which is fine.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, thread, -10);
}

}  // namespace plat
