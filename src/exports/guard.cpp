#include "exports/guard.h"

#include <exception>

#include "core/library_state.h"

namespace vxl::exports {

std::string& LastError() {
    static std::string text;
    return text;
}

void NoteFailure() {
    try {
        throw;
    } catch (const std::exception& e) {
        LastError() = e.what();
    } catch (...) {
        LastError() = "Unknown failure";
    }
    if (Globals().error_mode != 1) throw;
}

}  // namespace vxl::exports
