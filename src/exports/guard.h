// Every export runs its body through Guarded, the one place where failures cross into the host. In
// error mode 0 they leave as they always did (a C++ exception, or the end of a full-screen process);
// in error mode 1 the export answers its failure value instead. Either way VxlLastError holds the
// failure's text afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

namespace vxl::exports {

// The failure value of the exports that answer a buffer handle.
constexpr int32_t kNoHandle = -1;

// Call only from a catch handler: keeps the text of the exception being handled, and rethrows it
// unless the host chose error mode 1.
void NoteFailure();

// The text of the last failure, "" when none since it was last cleared.
std::string& LastError();

// `failure` is what the export answers when `body` fails in error mode 1.
template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) {
    try {
        return body();
    } catch (...) {
        NoteFailure();
        return failure;
    }
}

// Exports that answer nothing, or whose failure value is 0 (a null pointer, a window ID of 0).
template <typename Body, typename Result = std::invoke_result_t<Body&>>
Result Guarded(Body&& body) {
    if constexpr (std::is_void_v<Result>) {
        try {
            body();
        } catch (...) {
            NoteFailure();
        }
    } else {
        return Guarded(Result{}, std::forward<Body>(body));
    }
}

}  // namespace vxl::exports
