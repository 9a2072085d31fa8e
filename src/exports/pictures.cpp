// Picture exports: image buffers, alpha planes from files, picture sizes, saving pictures and raw
// pixel files.
#include "exports/buffer_failure.h"
#include "exports/guard.h"
#include "pictures/alpha_loading.h"
#include "pictures/image_buffer.h"
#include "pictures/image_size.h"
#include "pictures/saving.h"
#include "vxl.h"

using namespace vxl;
using exports::Display;
using exports::Guarded;
using exports::kNoHandle;
using exports::OnBuffer;

extern "C" {

int32_t SetupImageBuffer(const char* file, int32_t video) {
    return Guarded(kNoHandle, [&] {
        Library& lib = TheLibrary();
        const int32_t handle = lib.handles.AllocHandle();
        lib.handles.Store(handle, TImageVx::Create(Display(), file ? file : "", video != 0));
        return handle;
    });
}

void LoadAlpha(int32_t handle, const char* file) {
    Guarded([&] {
        if (file == nullptr) return;
        OnBuffer(handle, [&](TBufferVx& b) { LoadAlphaFile(b, file); });
    });
}

// A failure is reported like the display's, but the display stays open: nothing about it failed.
void GetImageSize(const char* file, int32_t* width, int32_t* height) {
    Guarded([&] {
        if (file == nullptr) return;
        platform::PictureSize size;
        try {
            size = ReadImageSize(file);
        } catch (const ObjectFailure& failure) {
            FatalError(failure.Message());
        }
        if (width) *width = size.width;
        if (height) *height = size.height;
    });
}

void SaveTGA(int32_t handle, const char* file) {
    Guarded([&] {
        if (file == nullptr) return;
        OnBuffer(handle, [&](TBufferVx& b) { SaveImage(b, file); });
    });
}

void SaveRAW(int32_t handle, const char* file) {
    Guarded([&] {
        if (const TBufferVx* b = exports::Buffer(handle); b && file) SaveRaw(*b, file);
    });
}

void LoadRAW(int32_t handle, const char* file) {
    Guarded([&] {
        if (TBufferVx* b = exports::Buffer(handle); b && file) LoadRaw(*b, file);
    });
}

}  // extern "C"
