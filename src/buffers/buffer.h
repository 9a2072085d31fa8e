// TBufferVx: an off-screen picture in the display's pixel layout, kept in a surface of its own, with
// a row table for direct drawing and an optional 8-bit alpha plane.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/fatal_error.h"
#include "platform/surfaces/direct_draw.h"
#include "raster/edge_tables.h"

namespace vxl {

class TVexel;

class TBufferVx {
public:
    static constexpr const char* kTag = kTagBuffer;

    // A buffer of width x height against `display` (none: refused). Failures destroy it and report.
    static std::unique_ptr<TBufferVx> Create(const TVexel* display, int32_t width, int32_t height, bool video);
    TBufferVx() = default;
    virtual ~TBufferVx();
    TBufferVx(const TBufferVx&) = delete;
    TBufferVx& operator=(const TBufferVx&) = delete;

    // A new surface of another size: 0, or -1 (and no surface) when none could be created.
    int32_t Resize(int32_t width, int32_t height, bool video);
    void ReleaseSurface();
    void RestoreSurfaces();

    void Fill(uint32_t colour);
    void PutPixel(int32_t x, int32_t y, uint32_t colour);
    uint32_t GetPixel(int32_t x, int32_t y) const;
    // Both answer nothing / 0 on a buffer without an alpha plane.
    void PutAlphaPixel(int32_t x, int32_t y, uint8_t alpha);
    int32_t GetAlphaPixel(int32_t x, int32_t y) const;
    // Gives the buffer a zeroed alpha plane of its size, if it has none yet.
    void CreateAlphaPlane();

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t pitch() const { return pitch_; }
    uint32_t bytes_per_pixel() const { return bytes_per_pixel_; }
    uint32_t bits_per_pixel() const { return bits_per_pixel_; }
    uint32_t display_depth() const { return display_depth_; }
    uint8_t* pixels() const { return pixels_; }
    // Rows are found by their pitch rather than a table, so a buffer costs its pixels and no more.
    uint8_t* row(int32_t y) const { return pixels_ + int64_t(y) * pitch_; }
    uint8_t* alpha() { return alpha_.empty() ? nullptr : alpha_.data(); }
    uint8_t* row_scratch() { return row_scratch_.empty() ? nullptr : row_scratch_.data(); }
    // The polygon fills' per-row store: empty until CoverEdgeRows.
    TEdgeTables& edge_tables() { return edge_tables_; }
    // Grows the edge tables to cover `rows` rows (at most the buffer's); false when the memory cannot
    // be had, and the fill that asked then draws nothing.
    bool CoverEdgeRows(int64_t rows);
    bool has_surface() const { return surface_ != nullptr; }
    bool in_video_memory() const { return in_video_memory_; }
    bool full_screen() const { return full_screen_; }
    bool has_menu() const { return has_menu_; }
    platform::WindowId window() const { return window_; }
    int32_t display_width() const { return display_width_; }
    int32_t display_height() const { return display_height_; }
    const std::shared_ptr<platform::Surface>& surface() const { return surface_; }
    const std::shared_ptr<platform::Surface>& display_primary() const { return primary_; }
    const std::shared_ptr<platform::Surface>& display_back() const { return back_; }
    const std::shared_ptr<platform::DirectDraw>& direct_draw() const { return direct_draw_; }

protected:
    void Construct(const TVexel* display, int32_t width, int32_t height, bool video);
    // The two-attempt creation: as asked, then in system memory.
    platform::HResult CreateSurface(int32_t width, int32_t height);
    // Learns address, size and pitch from one short lock and builds the row table.
    void LockSurface();
    // Video-memory buffers get a system-memory row for the software loops.
    void SetUpRowScratch();

    uint8_t* pixels_ = nullptr;
    int32_t width_ = 0, height_ = 0;
    int32_t max_x_ = -1, max_y_ = -1;
    int32_t pitch_ = 0;
    uint32_t bytes_per_pixel_ = 0;
    uint32_t bits_per_pixel_ = 0;
    std::vector<uint8_t> alpha_;
    platform::WindowId window_ = 0;
    int32_t display_width_ = 0, display_height_ = 0;
    uint32_t display_depth_ = 0;
    std::shared_ptr<platform::DirectDraw> direct_draw_;
    std::shared_ptr<platform::Surface> primary_;
    std::shared_ptr<platform::Surface> back_;
    std::shared_ptr<platform::Surface> surface_;
    bool hardware_ = false;
    std::vector<uint8_t> row_scratch_;
    bool full_screen_ = false;
    bool has_menu_ = false;
    bool in_video_memory_ = false;
    int32_t save_quality_ = 50;
    TEdgeTables edge_tables_;
};

}  // namespace vxl
