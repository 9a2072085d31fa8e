#include "platform/gdi/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE declared first.
#include <jpeglib.h>

namespace vxl::platform {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: we jump back to the call
// that set up the context. The functions that do so hold no C++ objects across the jump.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOut(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}
void Quiet(j_common_ptr) {}

void InstallTrap(ErrorTrap* trap) {
    jpeg_std_error(&trap->manager);
    trap->manager.error_exit = JumpOut;
    trap->manager.output_message = Quiet;  // damaged data is reported through the result, not stderr
}

// The file as libjpeg asks for it, a buffer at a time; markers it skips are never read. A file that
// ends early ends with an inserted end-of-image marker, as libjpeg's own sources do.
struct FileFeed {
    jpeg_source_mgr manager;
    ByteSource* file;
    uint64_t next;
    JOCTET buffer[16384];
};

FileFeed* FeedOf(j_decompress_ptr cinfo) {
    return reinterpret_cast<FileFeed*>(cinfo->src);
}

void StartFeed(j_decompress_ptr) {}

boolean FillFeed(j_decompress_ptr cinfo) {
    FileFeed* feed = FeedOf(cinfo);
    size_t got = feed->file->ReadAt(feed->next, feed->buffer, sizeof feed->buffer);
    feed->next += got;
    if (got == 0) {
        feed->buffer[0] = 0xFF;
        feed->buffer[1] = JPEG_EOI;
        got = 2;
    }
    feed->manager.next_input_byte = feed->buffer;
    feed->manager.bytes_in_buffer = got;
    return TRUE;
}

void SkipFeed(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    FileFeed* feed = FeedOf(cinfo);
    if (size_t(count) <= feed->manager.bytes_in_buffer) {
        feed->manager.next_input_byte += count;
        feed->manager.bytes_in_buffer -= size_t(count);
        return;
    }
    feed->next += uint64_t(count) - feed->manager.bytes_in_buffer;
    feed->manager.bytes_in_buffer = 0;
}

void EndFeed(j_decompress_ptr) {}

void InstallFeed(j_decompress_ptr cinfo, FileFeed* feed, ByteSource& file) {
    feed->file = &file;
    feed->next = 0;
    feed->manager.next_input_byte = nullptr;
    feed->manager.bytes_in_buffer = 0;
    feed->manager.init_source = StartFeed;
    feed->manager.fill_input_buffer = FillFeed;
    feed->manager.skip_input_data = SkipFeed;
    feed->manager.resync_to_restart = jpeg_resync_to_restart;
    feed->manager.term_source = EndFeed;
    cinfo->src = &feed->manager;
}

// Every scan of a progressive file passes over the whole picture, so a small file of many empty scans
// costs minutes. Real files have about ten; libjpeg's own tools refuse more than a limit too.
constexpr int kMaxScans = 100;

void CountScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        JumpOut(cinfo);
    }
}

enum class Step { Ok, Failed, TooLarge };

// Header only (`pixels` null) or the whole picture into `pixels`, which `size` allocates.
Step Decompress(ByteSource& file, int64_t max_pixels, std::vector<uint8_t>* pixels, PictureSize* size) {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    FileFeed feed;
    jpeg_progress_mgr scans{};
    scans.progress_monitor = CountScans;
    InstallTrap(&trap);
    cinfo.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return Step::Failed;
    }
    jpeg_create_decompress(&cinfo);
    InstallFeed(&cinfo, &feed, file);
    cinfo.progress = &scans;
    jpeg_read_header(&cinfo, TRUE);
    size->width = int32_t(cinfo.image_width);
    size->height = int32_t(cinfo.image_height);
    if (pixels == nullptr) {
        jpeg_destroy_decompress(&cinfo);
        return Step::Ok;
    }
    if (int64_t(cinfo.image_width) * cinfo.image_height > max_pixels) {
        jpeg_destroy_decompress(&cinfo);
        return Step::TooLarge;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return Step::Failed;
    }
    const size_t stride = size_t(cinfo.output_width) * 3;
    pixels->resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels->data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return Step::Ok;
}

bool Compress(const Picture& picture, int quality, unsigned char** data, unsigned long* length) {
    jpeg_compress_struct cinfo;
    ErrorTrap trap;
    InstallTrap(&trap);
    cinfo.err = &trap.manager;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, data, length);
    cinfo.image_width = JDIMENSION(picture.width);
    cinfo.image_height = JDIMENSION(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = size_t(picture.width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(picture.rgb.data()) + stride * cinfo.next_scanline;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

DecodeResult DecodeJpeg(ByteSource& file, Picture* out, int64_t max_pixels) {
    *out = Picture{};
    std::vector<uint8_t> pixels;
    PictureSize size;
    switch (Decompress(file, max_pixels, &pixels, &size)) {
        case Step::TooLarge:
            return DecodeResult::TooLarge;
        case Step::Failed:
            return DecodeResult::Malformed;
        case Step::Ok:
            break;
    }
    out->width = size.width;
    out->height = size.height;
    out->bit_count = 24;
    out->rgb = std::move(pixels);
    return DecodeResult::Ok;
}

DecodeResult DecodeJpeg(Bytes file, Picture* out, int64_t max_pixels) {
    MemorySource source(file);
    return DecodeJpeg(source, out, max_pixels);
}

bool ReadJpegSize(ByteSource& file, PictureSize* out) {
    return Decompress(file, 0, nullptr, out) == Step::Ok;
}

bool ReadJpegSize(Bytes file, PictureSize* out) {
    MemorySource source(file);
    return ReadJpegSize(source, out);
}

std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality) {
    unsigned char* data = nullptr;
    unsigned long length = 0;
    std::vector<uint8_t> out;
    if (Compress(picture, quality, &data, &length) && data != nullptr) {
        out.assign(data, data + length);
    }
    std::free(data);
    return out;
}

}  // namespace vxl::platform
