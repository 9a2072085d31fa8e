// Integer buffer handles for the host. Slots are handed out as the original library did, so hosts
// see the same numbers: slot 0 once closed is never reused, other closed slots are, highest first.
// Unlike the original, every look-up is checked: unknown, closed or empty handles find no buffer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "buffers/buffer.h"

namespace vxl {

class HandleTable {
public:
    int32_t AllocHandle();
    // Puts a new buffer in a slot that AllocHandle gave out.
    void Store(int32_t handle, std::unique_ptr<TBufferVx> buffer);
    // Destroys the handle's buffer and frees the slot; unknown or closed handles are ignored.
    void Close(int32_t handle);
    // The buffer of an open handle, or null. Inline, as every drawing export starts here: a slot holds
    // a buffer only while its handle is open, so one bounds check and one load decide.
    TBufferVx* Find(int32_t handle) const {
        return uint32_t(handle) < buffers_.size() ? buffers_[size_t(handle)].get() : nullptr;
    }
    int32_t slot_count() const { return int32_t(flags_.size()); }
    void Clear();

private:
    static constexpr int32_t kInUse = -1;
    static constexpr int32_t kFree = 0;

    bool InUse(int32_t handle) const {
        return handle >= 0 && handle < slot_count() && flags_[size_t(handle)] == kInUse;
    }

    std::vector<std::unique_ptr<TBufferVx>> buffers_;
    std::vector<int32_t> flags_;
};

}  // namespace vxl
