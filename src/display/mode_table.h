// TModeTable: the display modes the platform offers, read once and kept for the library's lifetime,
// so that a full-screen display opened after another was closed still finds its mode.
#pragma once

#include <cstdint>
#include <vector>

namespace vxl {

class TModeTable {
public:
    struct Entry {
        uint32_t width, height, bits, refresh;
    };

    static TModeTable& Get();

    // True when the platform lists width x height at bpp (any refresh); bpp 8 and below never pass.
    bool Test(int32_t width, int32_t height, int32_t bpp);
    const std::vector<Entry>& entries();
    // Reads the platform's list again on next use (a new backend was installed).
    void Invalidate() { filled_ = false; }

private:
    void Fill();

    std::vector<Entry> modes_;
    bool filled_ = false;
};

}  // namespace vxl
