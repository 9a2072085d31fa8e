// vxl_stress: loads a libvxl.so, finds its exports by name and calls them with hostile arguments in
// seeded runs, each in a forked child, so that every run starts from the freshly loaded library. A
// failure (crash, sanitizer report, hang, a process ended where it must live, a broken rule) prints
// the seed, the last calls and the command line that replays it, and ends the program with status 1.
//
//   vxl_stress --lib build-asan/src/libvxl.so --pictures DIR --seconds 60   seeds from the clock
//   vxl_stress --lib ... --seed 7 --calls 1234                                replays one run
#include <dlfcn.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "run.h"

// Sanitizer reports end a run with their own exit code, told apart from the library's exit(1).
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "exitcode=66:detect_leaks=0:max_allocation_size_mb=3072:print_summary=1";
}
extern "C" __attribute__((visibility("default"))) const char* __ubsan_default_options() {
    return "exitcode=66:print_stacktrace=1:halt_on_error=1";
}

using namespace vxl::stress;

namespace {

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: vxl_stress --lib PATH [--pictures DIR] [--seed N] [--calls K] [--seconds S]\n"
                 "                  [--hang-seconds H] [--scratch DIR] [--quiet] [--all-exports]\n"
                 "  --seed N alone replays one run; with --seconds, seeds N, N+1, ... run until S seconds\n"
                 "  have passed; without --seed the first seed comes from the clock. --pictures: a folder\n"
                 "  of picture files by reader (bmp, png, jpeg, alpha), as the fuzz corpus writer makes.\n");
    std::exit(2);
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// What ended a run, or empty where it ended as designed.
std::string Outcome(int status, const SharedRecord& record, unsigned hang_seconds) {
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
        return "hang: the last call did not return within " + std::to_string(hang_seconds) + " s";
    }
    if (WIFSIGNALED(status)) {
        return "crash: killed by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    }
    switch (WEXITSTATUS(status)) {
        case 0:
        case kExitFatal:
            return "";
        case kExitDetected:
            return record.failure;
        case kExitSanitizer:
            return "sanitizer report (printed above)";
    }
    return "unexpected exit code " + std::to_string(WEXITSTATUS(status));
}

}  // namespace

int main(int argc, char** argv) {
    RunOptions run;
    run.scratch = "/tmp/vxl_stress_" + std::to_string(::getpid());
    std::string lib;
    bool have_seed = false, quiet = false, all_exports = false;
    double seconds = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quiet" || a == "--all-exports") {
            (a == "--quiet" ? quiet : all_exports) = true;
            continue;
        }
        if (i + 1 >= argc) Usage();
        const std::string v = argv[++i];
        if (a == "--lib") {
            lib = v;
        } else if (a == "--pictures") {
            run.pictures = std::filesystem::absolute(v);
        } else if (a == "--seed") {
            run.seed = std::stoull(v);
            have_seed = true;
        } else if (a == "--calls") {
            run.calls = std::stoull(v);
        } else if (a == "--seconds") {
            seconds = std::stod(v);
        } else if (a == "--hang-seconds") {
            run.hang_seconds = unsigned(std::stoul(v));
        } else if (a == "--scratch") {
            run.scratch = std::filesystem::absolute(v);
        } else {
            Usage();
        }
    }
    if (lib.empty()) Usage();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    void* library = ::dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "vxl_stress: cannot load %s: %s\n", lib.c_str(), ::dlerror());
        return 2;
    }
    static ExportTable exports = {};
    int present = 0;
    for (int i = 0; i < kExportCount; ++i) {
        exports[i] = ::dlsym(library, ExportName(Id(i)));
        present += exports[i] != nullptr;
        if (!exports[i] && all_exports) std::printf("vxl_stress: %s is not exported\n", ExportName(Id(i)));
    }
    if (all_exports && present < kExportCount) return 1;
    auto* record = static_cast<SharedRecord*>(
        ::mmap(nullptr, sizeof(SharedRecord), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    if (record == MAP_FAILED) return 2;

    if (!have_seed) run.seed = uint64_t(std::time(nullptr)) * 1000 + uint64_t(::getpid()) % 1000;
    std::printf("vxl_stress: %s, %d of %d exports present, %s%llu, %llu calls per run\n", lib.c_str(), present,
                kExportCount, seconds > 0 ? "first seed " : "seed ", static_cast<unsigned long long>(run.seed),
                static_cast<unsigned long long>(run.calls));
    const double start = Now();
    uint64_t runs = 0, calls = 0;
    std::string failure;
    do {
        static const int kDepths[] = {15, 16, 24, 32};  // one run in four is full screen
        run.full_screen_depth = run.seed % 4 == 3 ? kDepths[(run.seed / 4) % 4] : 0;
        std::memset(static_cast<void*>(record), 0, sizeof *record);
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) Run(run, exports, record);
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return 2;
        failure = Outcome(status, *record, run.hang_seconds);
        ++runs;
        calls += record->calls;
        const std::string kind = run.full_screen_depth ? "full screen " + std::to_string(run.full_screen_depth) + " bit" : "windowed";
        if (!failure.empty()) {
            std::printf("\nFAILURE seed=%llu (%s): %s\nlast calls (the last one is where it happened):\n",
                        static_cast<unsigned long long>(run.seed), kind.c_str(), failure.c_str());
            for (uint64_t n = record->calls > kTraceLines ? record->calls - kTraceLines : 0; n < record->calls; ++n) {
                std::printf("  %s\n", record->trace[n % kTraceLines]);
            }
            std::printf("replay: %s --lib %s%s%s --seed %llu --calls %llu\n", argv[0], lib.c_str(),
                        run.pictures.empty() ? "" : " --pictures ", run.pictures.c_str(),
                        static_cast<unsigned long long>(run.seed), static_cast<unsigned long long>(record->calls));
            break;
        }
        if (!quiet) {
            std::printf("seed %llu (%s): %llu calls ok%s\n", static_cast<unsigned long long>(run.seed), kind.c_str(),
                        static_cast<unsigned long long>(record->calls),
                        WEXITSTATUS(status) == kExitFatal ? ", ended by a full-screen fatal error" : "");
        }
        ++run.seed;
    } while (seconds > 0 && Now() - start < seconds);

    std::printf("vxl_stress: %llu runs, %llu calls in %.1f s\n", static_cast<unsigned long long>(runs),
                static_cast<unsigned long long>(calls), Now() - start);
    std::printf("%llu passed, %d failed\n", static_cast<unsigned long long>(runs - !failure.empty()), !failure.empty());
    std::error_code ignored;
    std::filesystem::remove_all(run.scratch, ignored);
    return failure.empty() ? 0 : 1;
}
