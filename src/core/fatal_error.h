// The library's one loud failure path. An object whose construction or operation fails throws an
// ObjectFailure; the code that owns the object destroys it and hands the message to FatalError, which
// puts the desktop back, rewrites the error log and then throws FatalErrorException (windowed, or in
// error mode 1) or ends the process (full screen).
#pragma once

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

namespace vxl {

constexpr const char* kErrorLogName = "VXL_ERR.txt";

constexpr const char* kTagVexel = "[TVexel]";
constexpr const char* kTagFullVexel = "[TFullVexel]";
constexpr const char* kTagSelfVexel = "[TSelfVexel]";
constexpr const char* kTagSelfFullVexel = "[TSelfFullVexel]";
constexpr const char* kTagInput = "[TInputVx]";
constexpr const char* kTagBuffer = "[TBufferVx]";

// What leaves a windowed display's export after a fatal error; what() is the logged message.
class __attribute__((visibility("default"))) FatalErrorException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised inside the library only, on the way to the failing object's error operation.
struct ObjectFailure {
    const char* tag;
    std::string operation;
    std::string reason;

    std::string Message() const { return tag + operation + " -> " + reason; }
};

[[noreturn]] void FatalError(const std::string& message);

// The error operation's reporting half, once the failed object is gone.
[[noreturn]] void ReportFailure(const ObjectFailure& failure);

// Memory that could not be had in `operation`: reported with the platform's own out-of-memory text
// (the input devices' for the input object, the surface service's for the others).
ObjectFailure OutOfMemory(const char* tag, const char* operation);

// Builds an object with `construct`; if that fails, the object is destroyed exactly once (its
// destructor releases what it already holds) before the failure is reported. Kind::kTag names it
// when memory runs out.
template <typename Kind, typename Base, typename Construct>
std::unique_ptr<Base> ConstructOrReport(Construct&& construct) {
    std::unique_ptr<Kind> object;
    try {
        object = std::make_unique<Kind>();
        construct(*object);
    } catch (const ObjectFailure& failure) {
        object.reset();
        ReportFailure(failure);
    } catch (const std::bad_alloc&) {
        object.reset();
        ReportFailure(OutOfMemory(Kind::kTag, "Create"));
    }
    return object;
}

}  // namespace vxl
