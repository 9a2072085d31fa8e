// Without libFuzzer, a fuzz target replays files: each argument is a file or a folder of files. Each
// input ends right before an inaccessible page, so that a read past its end faults even without a
// sanitizer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    size_t count = 0;
    for (int i = 1; i < argc; ++i) {
        std::vector<std::filesystem::path> files = {argv[i]};
        if (std::filesystem::is_directory(files[0])) {
            files.assign(std::filesystem::directory_iterator(argv[i]), std::filesystem::directory_iterator());
        }
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            const size_t page = size_t(sysconf(_SC_PAGESIZE)), span = (bytes.size() / page + 2) * page;
            auto* base =
                static_cast<uint8_t*>(mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
            uint8_t* data = base + span - page - bytes.size();
            if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
            mprotect(base + span - page, page, PROT_NONE);
            LLVMFuzzerTestOneInput(data, bytes.size());
            munmap(base, span);
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return count > 0 ? 0 : 1;
}
