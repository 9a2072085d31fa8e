// vxl_stress: loads a libvxl.so, finds its exports by name and calls them with hostile arguments in
// seeded runs, each in a forked child watched by this process. A failure (crash, sanitizer report,
// hang, unexpected exit or exception, a dead handle answering) prints the seed, the last calls and
// the command line that replays it, and ends the program with status 1.
//
//   vxl_stress --lib build-asan/src/libvxl.so --seconds 60     seeds from the clock for a minute
//   vxl_stress --lib ... --seed 7 --calls 1234                  replays one run exactly
#include <dlfcn.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "run.h"

// Sanitizer reports end a run with their own exit code, told apart from the library's exit(1).
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "exitcode=66:detect_leaks=0:max_allocation_size_mb=3072:print_summary=1";
}
extern "C" __attribute__((visibility("default"))) const char* __ubsan_default_options() {
    return "exitcode=66:print_stacktrace=1:halt_on_error=1";
}

namespace vxl::stress {
namespace {

struct Options {
    std::string program = "vxl_stress";
    std::string lib;
    bool have_seed = false;
    uint64_t seed = 0;
    uint64_t calls = 3000;
    double seconds = 0;
    double hang_seconds = 5;
    std::string scratch;
    bool quiet = false;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: vxl_stress --lib PATH [--seed N] [--calls K] [--seconds S] [--hang-seconds H]\n"
                 "                  [--scratch DIR] [--quiet]\n"
                 "  --seed N alone replays one run; with --seconds, seeds N, N+1, ... run until S seconds\n"
                 "  have passed; without --seed the first seed comes from the clock.\n");
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options o;
    o.program = argv[0];
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) Usage();
            return argv[++i];
        };
        if (a == "--lib") {
            o.lib = value();
        } else if (a == "--seed") {
            o.seed = std::stoull(value());
            o.have_seed = true;
        } else if (a == "--calls") {
            o.calls = std::stoull(value());
        } else if (a == "--seconds") {
            o.seconds = std::stod(value());
        } else if (a == "--hang-seconds") {
            o.hang_seconds = std::stod(value());
        } else if (a == "--scratch") {
            o.scratch = value();
        } else if (a == "--quiet") {
            o.quiet = true;
        } else {
            Usage();
        }
    }
    if (o.lib.empty()) Usage();
    if (o.scratch.empty()) o.scratch = "/tmp/vxl_stress_" + std::to_string(::getpid());
    return o;
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Describe(const RunOptions& r) {
    return r.full_screen_depth ? "full screen " + std::to_string(r.full_screen_depth) + " bit" : "windowed";
}

struct Totals {
    uint64_t runs = 0, calls = 0, full_screen_exits = 0;
    uint64_t per_export[kExportCount] = {};
};

struct Outcome {
    bool ok = true;
    std::string what;
};

// Forks one run and watches it: progress is the count of calls started, so a call that does not
// return within the hang limit is a hang wherever it is stuck.
Outcome Watch(const Options& o, const RunOptions& run, const ExportTable& exports, SharedRecord* record) {
    std::memset(static_cast<void*>(record), 0, sizeof *record);
    record->last_export = -1;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return {false, "fork failed"};
    if (pid == 0) RunChild(run, exports, record, o.scratch);

    uint64_t seen = 0;
    double since = Now();
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        const uint64_t now_calls = record->calls_started.load(std::memory_order_acquire);
        if (now_calls != seen) {
            seen = now_calls;
            since = Now();
        } else if (Now() - since > o.hang_seconds) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            char text[128];
            std::snprintf(text, sizeof text, "hang: the last call did not return within %.1f s", o.hang_seconds);
            return {false, text};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        return {false, std::string("crash: killed by signal ") + std::to_string(sig) + " (" + strsignal(sig) + ")"};
    }
    const int code = WEXITSTATUS(status);
    if (code == 0) return {};
    if (code == 1 && record->error_mode == 1) {
        return {false, std::string("exit code 1 in error mode 1, from ") +
                           (record->last_export < 0 ? "no call" : ExportName(Id(record->last_export)))};
    }
    if (code == 1) {
        // A full-screen fatal error: the designed end, if the log got its line and the call may fail.
        const std::string log = ReadFile(o.scratch + "/VXL_ERR.txt");
        const int last = record->last_export;
        if (log.empty() || log.find("\r\n") != log.size() - 2) {
            return {false, "exit code 1 without a fresh one-line VXL_ERR.txt"};
        }
        if (last < 0 || !MayFailLoudly(Id(last))) {
            return {false, std::string("exit code 1 (fatal error \"") + log.substr(0, log.size() - 2) + "\") from " +
                               (last < 0 ? "no call" : ExportName(Id(last))) + ", which never fails loudly"};
        }
        return {true, "fatal:" + log.substr(0, log.size() - 2)};
    }
    if (code == kExitSanitizer) return {false, "sanitizer report (printed above)"};
    if (code == kExitChildDetected) return {false, record->failure};
    return {false, "unexpected exit code " + std::to_string(code)};
}

void PrintTrace(const SharedRecord* record) {
    const uint64_t started = record->calls_started.load();
    const uint64_t first = started > 50 ? started - 50 : 0;
    for (uint64_t n = first; n < started; ++n) std::printf("  %s\n", record->trace[n % kTraceLines]);
}

void PrintFailure(const Options& o, const RunOptions& run, const Outcome& outcome, const SharedRecord* record) {
    const uint64_t started = record->calls_started.load();
    std::printf("\nFAILURE seed=%llu (%s): %s\n", static_cast<unsigned long long>(run.seed), Describe(run).c_str(),
                outcome.what.c_str());
    std::printf("last calls (the last one is where it happened):\n");
    PrintTrace(record);
    std::printf("replay: %s --lib %s --seed %llu --calls %llu\n", o.program.c_str(), o.lib.c_str(),
                static_cast<unsigned long long>(run.seed), static_cast<unsigned long long>(started));
    std::fflush(stdout);
}

}  // namespace
}  // namespace vxl::stress

int main(int argc, char** argv) {
    using namespace vxl::stress;
    const Options o = Parse(argc, argv);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    // Loaded once here, before any child: every run starts from the library's freshly loaded state.
    void* lib = ::dlopen(o.lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        std::fprintf(stderr, "vxl_stress: cannot load %s: %s\n", o.lib.c_str(), ::dlerror());
        return 2;
    }
    static ExportTable exports = {};
    int present = 0;
    for (int i = 0; i < kExportCount; ++i) {
        exports[i] = ::dlsym(lib, ExportName(Id(i)));
        present += exports[i] != nullptr;
    }
    auto* record = static_cast<SharedRecord*>(
        ::mmap(nullptr, sizeof(SharedRecord), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (record == MAP_FAILED) return 2;

    const bool timed = o.seconds > 0;
    uint64_t seed = o.have_seed ? o.seed : uint64_t(::time(nullptr)) * 1000 + uint64_t(::getpid()) % 1000;
    std::printf("vxl_stress: %s, %d of %d exports present, %s%llu, %llu calls per run\n", o.lib.c_str(), present,
                kExportCount, timed ? "first seed " : "seed ", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(o.calls));
    std::fflush(stdout);

    Totals totals;
    const double start = Now();
    int status = 0;
    do {
        const RunOptions run = RunForSeed(seed, o.calls);
        const Outcome outcome = Watch(o, run, exports, record);
        totals.runs++;
        totals.calls += record->calls_started.load();
        for (int i = 0; i < kExportCount; ++i) totals.per_export[i] += record->per_export[i];
        if (!outcome.ok) {
            PrintFailure(o, run, outcome, record);
            status = 1;
            break;
        }
        const bool fatal_exit = outcome.what.rfind("fatal:", 0) == 0;
        totals.full_screen_exits += fatal_exit;
        if (!o.quiet) {
            std::printf("seed %llu (%s): %llu calls ok%s%s\n", static_cast<unsigned long long>(seed),
                        Describe(run).c_str(), static_cast<unsigned long long>(record->calls_started.load()),
                        fatal_exit ? ", ended by the fatal error " : "", fatal_exit ? outcome.what.c_str() + 6 : "");
            std::fflush(stdout);
        }
        ++seed;
    } while (timed && Now() - start < o.seconds);

    const double elapsed = Now() - start;
    int exercised = 0;
    std::string missing;
    for (int i = 0; i < kExportCount; ++i) {
        if (totals.per_export[i]) {
            ++exercised;
        } else if (exports[i]) {
            missing += std::string(" ") + ExportName(Id(i));
        }
    }
    std::printf(
        "vxl_stress: %llu runs, %llu calls in %.1f s (%.0f calls/s); exports present %d/%d, exercised %d%s%s;"
        " %llu full-screen fatal exits\n",
        static_cast<unsigned long long>(totals.runs), static_cast<unsigned long long>(totals.calls), elapsed,
        elapsed > 0 ? double(totals.calls) / elapsed : 0.0, present, kExportCount, exercised,
        missing.empty() ? "" : " (never called:", missing.empty() ? "" : (missing + ")").c_str(),
        static_cast<unsigned long long>(totals.full_screen_exits));
    std::printf("%llu passed, %d failed\n", static_cast<unsigned long long>(totals.runs - (status ? 1 : 0)),
                status ? 1 : 0);
    std::error_code ignored;
    std::filesystem::remove_all(o.scratch, ignored);
    return status;
}
