// The child's side of a run: a fresh scratch directory of picture files, a host window under SDL's
// dummy driver, the run's display, a few buffers, then the seeded calls.
#include "run.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vxl::stress {
std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

namespace {

// A fatal error leaves its message in the log and, in error mode 0, the call through an exception; in
// error mode 1 the call returns and VxlLastError holds the message. An error of the file classes
// leaves no log line. Either way the run goes on with a display.
void Survive(Context& c, Id id, const char* what) {
    if (!MayFailLoudly(id)) {
        c.Fail("%s failed, but it never fails loudly: %s", ExportName(id), what);
    }
    const std::string log = ReadFile("VXL_ERR.txt");
    if (!log.empty()) {
        if (log != std::string(what) + "\r\n") {
            c.Fail("%s failed with \"%s\" but VXL_ERR.txt holds \"%s\"", ExportName(id), what, log.c_str());
        }
        std::remove("VXL_ERR.txt");  // the next fatal error must write a fresh line
    }
    if (c.pending_handle >= 0 && id != Id::SetupBuffer && id != Id::SetupImageBuffer) {
        c.Forget(c.pending_handle);
    }
    if (c.Has(Id::VexelSizeX) && c.Call<sig::VexelSizeX>(Id::VexelSizeX) == 0 && c.Has(Id::InitVexel)) {
        try {
            c.OpenDisplay();
        } catch (const std::exception& e) {
            c.Fail("re-opening the display after a fatal error failed: %s", e.what());
        }
    }
}

// In error mode 1 a call that failed has returned: its text is the last error, which is then cleared.
void SurviveQuietly(Context& c, Id id) {
    if (!c.Has(Id::VxlLastError) || !c.Has(Id::VxlClearError)) return;
    const std::string what = c.Call<sig::VxlLastError>(Id::VxlLastError);
    if (what.empty()) return;
    c.Call<sig::VxlClearError>(Id::VxlClearError);
    Survive(c, id, what.c_str());
}

}  // namespace

RunOptions RunForSeed(uint64_t seed, uint64_t calls) {
    RunOptions o;
    o.seed = seed;
    o.calls = calls;
    static const int kDepths[] = {15, 16, 24, 32};
    if (seed % 4 == 3) o.full_screen_depth = kDepths[(seed / 4) % 4];
    return o;
}

void RunChild(const RunOptions& options, const ExportTable& exports, SharedRecord* record, const std::string& scratch) {
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    std::filesystem::create_directories(scratch);
    if (::chdir(scratch.c_str()) != 0) {
        std::snprintf(record->failure, sizeof record->failure, "cannot enter %s", scratch.c_str());
        _exit(kExitChildDetected);
    }
    FileNames files = WriteCorpus();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::snprintf(record->failure, sizeof record->failure, "SDL video: %s", SDL_GetError());
        _exit(kExitChildDetected);
    }
    Context c(options, exports, record, std::move(files));
    c.host = SDL_CreateWindow("stress host", 0, 0, 320, 240, 0);
    c.host_id = c.host ? SDL_GetWindowID(c.host) : 0;

    std::vector<Id> present;
    std::vector<int> cumulative;
    int total = 0;
    for (int i = 0; i < kExportCount; ++i) {
        if (exports[i]) {
            present.push_back(Id(i));
            total += Weight(Id(i));
            cumulative.push_back(total);
        }
    }
    try {
        if (c.Has(Id::InitVexel)) c.OpenDisplay();
        if (c.Has(Id::SetupBuffer) && c.Has(Id::BufferSizeX) && c.Has(Id::BufferSizeY)) {
            for (auto [w, h] : {std::pair{64, 64}, {320, 240}, {37, 19}}) {
                c.Issued(c.Call<sig::SetupBuffer>(Id::SetupBuffer, w, h, 0));
            }
        }
    } catch (const std::exception& e) {
        c.Fail("setting up the run's display and buffers failed: %s", e.what());
    }

    while (c.call_index < options.calls && total > 0) {
        if (c.rng.Below(1000) < 2) {
            c.HostAction();
            continue;
        }
        const int pick = int(c.rng.Below(uint32_t(total)));
        const Id id =
            present[size_t(std::upper_bound(cumulative.begin(), cumulative.end(), pick) - cumulative.begin())];
        // Creation calls that need the two size queries are skipped where those are missing.
        if ((id == Id::SetupBuffer || id == Id::SetupImageBuffer) &&
            !(c.Has(Id::BufferSizeX) && c.Has(Id::BufferSizeY))) {
            continue;
        }
        c.hostile = c.rng.Chance(40);
        c.pending_handle = -1;
        try {
            c.Generate(id);
            if (c.error_mode == 1) SurviveQuietly(c, id);
        } catch (const std::exception& e) {
            if (c.error_mode == 1) c.Fail("%s raised an exception in error mode 1: %s", ExportName(id), e.what());
            Survive(c, id, e.what());
            if (c.Has(Id::VxlClearError)) c.Call<sig::VxlClearError>(Id::VxlClearError);  // seen; not for later
        } catch (...) {
            c.Fail("%s raised something that is not a std::exception", ExportName(id));
        }
        c.ClearOuts();
    }
    std::fflush(nullptr);
    std::exit(0);
}

}  // namespace vxl::stress
