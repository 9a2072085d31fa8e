// The state behind the exports: the current display, the handle table and the pen.
#pragma once

#include <memory>

#include "core/handle_table.h"
#include "display/vexel.h"

namespace vxl {

struct Library {
    std::unique_ptr<TVexel> display;
    HandleTable handles;
    int32_t pen_x = 0;
    int32_t pen_y = 0;
};

namespace detail {
// Built at compile time and never destroyed: as on unload, open buffers and displays are the host's to
// close. Being there from the start, it needs no check on the per-pixel paths.
union LibraryStorage {
    constexpr LibraryStorage() : library() {}
    ~LibraryStorage() {}
    Library library;
};
extern constinit LibraryStorage storage;
}  // namespace detail

inline Library& TheLibrary() {
    return detail::storage.library;
}

// Back to the state of a freshly loaded library, with the platform's lists read anew (tests).
void ResetLibrary();

}  // namespace vxl
