// Buffer operations that can fail loudly: the failing buffer is destroyed (its handle slot stays in
// use) before the failure is reported.
#pragma once

#include "core/fatal_error.h"
#include "exports/lookup.h"

namespace vxl::exports {

template <typename Operation>
void OnBuffer(int32_t handle, Operation&& operation) {
    TBufferVx* buffer = Buffer(handle);
    if (buffer == nullptr) return;
    try {
        operation(*buffer);
    } catch (const ObjectFailure& failure) {
        TheLibrary().handles.Store(handle, nullptr);
        ReportFailure(failure);
    }
}

}  // namespace vxl::exports
