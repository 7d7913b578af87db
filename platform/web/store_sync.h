// When the browser's copy of the store is brought up to date. The store's
// files live in memory and reach the browser's storage only by an explicit,
// asynchronous copy; this decides when to start one: soon after the files
// change (a burst of writes is copied once), never two at a time, again after
// a failure, and once more at the end of the run.
#pragma once

#include <cstdint>

namespace plat {

class StoreSync {
public:
    // Called often with the files' current signature (anything that changes
    // when they do) and the time. True when a copy should start now; the
    // caller then reports its end with Finished. At the end of the run
    // (`ending`) a change is copied without waiting for more.
    bool ShouldStart(uint64_t signature, uint32_t nowMs, bool ending = false);
    void Finished(bool ok, uint32_t nowMs);
    // The signature the browser's copy was loaded with at start.
    void Loaded(uint64_t signature) { synced_ = seen_ = signature; }

    bool InFlight() const { return inFlight_; }
    uint32_t Copies() const { return copies_; }
    uint32_t Failures() const { return failures_; }

private:
    uint64_t synced_ = 0;    // what the browser holds (or is being sent)
    uint64_t seen_ = 0;      // the latest signature seen
    uint32_t changedAt_ = 0; // when `seen_` was first seen
    uint32_t retryAt_ = 0;
    bool inFlight_ = false;
    bool failed_ = false;
    uint64_t sending_ = 0;
    uint32_t copies_ = 0;
    uint32_t failures_ = 0;
};

}  // namespace plat
