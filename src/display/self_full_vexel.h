// TSelfFullVexel: the full-screen display in a borderless window of the library's own that covers
// the screen.
#pragma once

#include <string>

#include "display/vexel.h"

namespace vxl {

class TSelfFullVexel : public TVexel {
public:
    static constexpr const char* kTag = kTagSelfFullVexel;

    static constexpr const char* kClassName = "TSelfFullVexel";

    static std::unique_ptr<TVexel> Create(int32_t width, int32_t height, int32_t bpp, const char* title);
    ~TSelfFullVexel() override;

private:
    void Construct(int32_t width, int32_t height, int32_t bpp, const char* title);

    std::string title_;
    bool cursor_hidden_ = false;
    bool screen_saver_held_ = false;
};

}  // namespace vxl
