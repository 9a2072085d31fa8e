#include "core/library_state.h"

namespace vxl {

LibraryGlobals& Globals() {
    static LibraryGlobals globals;
    return globals;
}

}  // namespace vxl
