// What a run (a forked child) leaves for the supervisor in memory both share: the calls it started,
// the last calls as text, calls per export, and the failure it detected itself. Written by the child as it
// goes, so that it survives a crash, a sanitizer exit or a kill.
#pragma once

#include <atomic>
#include <cstdint>

#include "abi.h"

namespace vxl::stress {

constexpr int kTraceLines = 64;
constexpr int kTraceWidth = 400;

struct SharedRecord {
    std::atomic<uint64_t> calls_started;
    int32_t last_export;  // Id of the call in progress or last made, -1 before any
    int32_t error_mode;   // the library's error mode as last set: in 1 nothing may end the run
    uint64_t per_export[kExportCount];
    char failure[1024];  // set by the child for failures it sees itself (then it exits 3)
    char trace[kTraceLines][kTraceWidth];
};

// Exit codes of a run besides 0 (done) and 1 (a full-screen fatal error).
constexpr int kExitChildDetected = 3;
constexpr int kExitSanitizer = 66;

}  // namespace vxl::stress
