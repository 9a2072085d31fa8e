// What the stress program's parent and its forked runs share.
#pragma once

#include <cstdint>
#include <string>

#include "abi.h"

namespace vxl::stress {

// The library's exports as found by name; null where the library has none.
using ExportTable = void* [kExportCount];

struct RunOptions {
    uint64_t seed = 1;
    uint64_t calls = 3000;
    int full_screen_depth = 0;  // 0: a windowed run
    unsigned hang_seconds = 5;  // a call that takes longer is a hang
    std::string scratch;        // the run's working folder, made afresh
    std::string pictures;       // a folder of picture files (the fuzz seed corpus), or none
};

// Memory the run shares with the parent, written as it goes so that it survives a crash, a sanitizer
// exit or a kill: the calls started, the last ones as text, and the failure the run found itself.
constexpr int kTraceLines = 16;
struct SharedRecord {
    uint64_t calls;
    char failure[512];
    char trace[kTraceLines][240];
};

// How a run ends besides 0 (all calls made).
constexpr int kExitDetected = 3;   // a rule broken: `failure` says which
constexpr int kExitFatal = 4;      // the library's full-screen fatal error ended it, as designed
constexpr int kExitSanitizer = 66;

[[noreturn]] void Run(const RunOptions& options, const ExportTable& exports, SharedRecord* record);

}  // namespace vxl::stress
