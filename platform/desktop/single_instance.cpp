#include "platform/desktop/single_instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace plat {

namespace {

// An abstract socket disappears with its process, so a crash leaves nothing behind.
socklen_t AddressFor(const std::string& name, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    // One copy per user and display: a test on its own X server is not the player's game.
    const char* display = std::getenv("DISPLAY");
    const std::string path =
        "reedshot-" + std::to_string(getuid()) + "-" + (display != nullptr ? display : "") + "-" + name;
    const size_t length = std::min(path.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, path.data(), length);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
}

}  // namespace

SingleInstance::~SingleInstance() {
    if (listener_ >= 0) close(listener_);
}

bool SingleInstance::OtherIsRunning(const std::string& name) {
    sockaddr_un address;
    const socklen_t length = AddressFor(name, address);
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0) return false;  // cannot tell: run
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0) {
        listen(listener_, 4);
        return false;
    }
    const bool taken = errno == EADDRINUSE;
    close(listener_);
    listener_ = -1;
    if (!taken) return false;
    const int caller = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (caller >= 0) {
        if (connect(caller, reinterpret_cast<sockaddr*>(&address), length) == 0) {
            const char raise = 'R';
            [[maybe_unused]] const ssize_t sent = write(caller, &raise, 1);
        }
        close(caller);
    }
    return true;
}

bool SingleInstance::TakeRaiseRequest() {
    if (listener_ < 0) return false;
    bool asked = false;
    for (int caller; (caller = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
        close(caller);
        asked = true;
    }
    return asked;
}

}  // namespace plat
