// TFullVexel: the display that takes the whole screen in a mode the mode table lists, in the host's
// window, presenting through a two-surface flip chain.
#pragma once

#include "display/vexel.h"

namespace vxl {

class TFullVexel : public TVexel {
public:
    static constexpr const char* kTag = kTagFullVexel;

    static std::unique_ptr<TVexel> Create(platform::WindowId window, int32_t width, int32_t height, int32_t bpp);
    ~TFullVexel() override;

private:
    void Construct(platform::WindowId window, int32_t width, int32_t height, int32_t bpp);

    bool cursor_hidden_ = false;
};

}  // namespace vxl
