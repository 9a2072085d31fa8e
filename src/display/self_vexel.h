// TSelfVexel: the windowed display in a captioned window of the library's own, centred on the screen.
#pragma once

#include <string>

#include "display/vexel.h"

namespace vxl {

class TSelfVexel : public TVexel {
public:
    static constexpr const char* kTag = kTagSelfVexel;

    static constexpr const char* kClassName = "TSelfVexel";

    static std::unique_ptr<TVexel> Create(int32_t width, int32_t height, const char* title);
    ~TSelfVexel() override;

private:
    void Construct(int32_t width, int32_t height, const char* title);

    std::string title_;
    bool screen_saver_held_ = false;
};

}  // namespace vxl
