#include "platform/web/store_sync.h"

namespace plat {

namespace {

// A change waits this long for the writes that follow it.
constexpr uint32_t kSettleMs = 200;
constexpr uint32_t kRetryMs = 2000;

bool Reached(uint32_t now, uint32_t due) { return static_cast<int32_t>(now - due) >= 0; }

}  // namespace

bool StoreSync::ShouldStart(uint64_t signature, uint32_t nowMs, bool ending) {
    if (signature != seen_) {
        seen_ = signature;
        changedAt_ = nowMs;
    }
    if (inFlight_ || seen_ == synced_) return false;
    if (!ending && !Reached(nowMs, changedAt_ + kSettleMs)) return false;
    if (!ending && failed_ && !Reached(nowMs, retryAt_)) return false;
    inFlight_ = true;
    sending_ = seen_;
    return true;
}

void StoreSync::Finished(bool ok, uint32_t nowMs) {
    if (!inFlight_) return;
    inFlight_ = false;
    failed_ = !ok;
    if (ok) {
        synced_ = sending_;
        ++copies_;
    } else {
        ++failures_;
        retryAt_ = nowMs + kRetryMs;
    }
}

}  // namespace plat
