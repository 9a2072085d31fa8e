#include "core/handle_table.h"

namespace vxl {

int32_t HandleTable::AllocHandle() {
    int32_t chosen = 0;
    for (int32_t i = 0; i < slot_count(); ++i) {
        if (flags_[size_t(i)] == kFree) {
            chosen = i;  // the highest free slot wins
        }
    }
    // Slot 0 doubles as "nothing found", so a free slot 0 is never chosen again.
    if (chosen == 0) {
        buffers_.emplace_back();
        flags_.push_back(kFree);
        chosen = slot_count() - 1;
    }
    flags_[size_t(chosen)] = kInUse;
    return chosen;
}

void HandleTable::Store(int32_t handle, std::unique_ptr<TBufferVx> buffer) {
    if (InUse(handle)) {
        buffers_[size_t(handle)] = std::move(buffer);
    }
}

void HandleTable::Close(int32_t handle) {
    if (!InUse(handle)) {
        return;
    }
    buffers_[size_t(handle)].reset();
    flags_[size_t(handle)] = kFree;
}

void HandleTable::Clear() {
    buffers_.clear();
    flags_.clear();
}

}  // namespace vxl
