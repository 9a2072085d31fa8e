#include "display/full_vexel.h"

#include "display/mode_table.h"
#include "core/library_state.h"
#include "platform/windows/window_system.h"

namespace vxl {

using namespace platform;

std::unique_ptr<TVexel> TFullVexel::Create(WindowId window, int32_t width, int32_t height, int32_t bpp) {
    return ConstructOrReport<TFullVexel, TVexel>([&](TFullVexel& d) { d.Construct(window, width, height, bpp); });
}

void TFullVexel::Construct(WindowId window, int32_t width, int32_t height, int32_t bpp) {
    // Checked before the window or the screen is touched.
    if (!TModeTable::Get().Test(width, height, bpp)) {
        throw ObjectFailure{kTagFullVexel, "Create", "Selected display mode not supported..."};
    }
    SetGeometry(window, width, height);
    SetWindowLong(window, GWL_STYLE, WS_POPUP);
    SizeClientArea();
    if (!IsSupportedDepth(uint32_t(bpp))) {
        throw ObjectFailure{kTagFullVexel, "Create", "Desktop color depth not supported (only 15,16,24,32bit)"};
    }
    bit_depth_ = uint8_t(bpp);
    full_screen_ = true;
    SetUpPlatform(true);
    ShowCursor(false);
    cursor_hidden_ = true;
    FinishConstruction();
}

TFullVexel::~TFullVexel() {
    ReleasePlatform();
    RestoreDesktopMode();
    // The cursor count must stay balanced, or the next full-screen display could not hide it.
    if (cursor_hidden_) {
        ShowCursor(true);
    }
    full_screen_ = false;
}

}  // namespace vxl
