#include "display/mode_table.h"

#include <memory>

#include "platform/surfaces/direct_draw.h"

namespace vxl {

using namespace platform;

TModeTable& TModeTable::Get() {
    static auto& table = *std::make_unique<TModeTable>().release();  // lives as long as the library
    return table;
}

void TModeTable::Fill() {
    filled_ = true;
    modes_.clear();
    std::shared_ptr<DirectDraw> dd;
    if (DirectDrawCreateEx(&dd) != DD_OK) {
        return;  // no display service: every full-screen request fails the mode test
    }
    dd->EnumDisplayModes(DDEDM_REFRESHRATES, [this](const SurfaceDesc& desc) {
        modes_.push_back(
            Entry{uint32_t(desc.width), uint32_t(desc.height), desc.pixel_format.rgb_bit_count, desc.refresh_rate});
        return DDENUMRET_OK;
    });
}

const std::vector<TModeTable::Entry>& TModeTable::entries() {
    if (!filled_) {
        Fill();
    }
    return modes_;
}

bool TModeTable::Test(int32_t width, int32_t height, int32_t bpp) {
    if (bpp <= 8) {
        return false;
    }
    for (const Entry& e : entries()) {
        if (int64_t(e.width) == width && int64_t(e.height) == height && int64_t(e.bits) == bpp) {
            return true;
        }
    }
    return false;
}

}  // namespace vxl
