// Turning a failed allocation into an error result, in every build flavour.
//
// The host build has C++ exceptions: a failed allocation throws and is caught here. The
// Windows deliverables are built without them (see platform/win32/runtime/recovery.h): a
// failed allocation cuts the stack back to the recovery point opened here. Either way the
// caller gets `fallback` and nothing unwinds into the system's code. What the body had done
// before the failure stays done; on Windows, objects the body had made are not destroyed.
#pragma once

#include <type_traits>
#include <utility>

#if !defined(__cpp_exceptions)
#include "platform/win32/runtime/recovery.h"
#endif

namespace platform {

// Runs body() and returns its result, or `fallback` when an allocation inside it failed.
template <typename Result, typename Body>
Result unlessOutOfMemory(Result fallback, Body&& body) {
#if defined(__cpp_exceptions)
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return fallback;
    }
#else
    struct Call {
        std::remove_reference_t<Body>* body;
        Result result;
    } call{&body, std::move(fallback)};
    Result failed = call.result;
    const bool completed = runtime::runRecoverable(
        [](void* context) {
            Call* self = static_cast<Call*>(context);
            self->result = (*self->body)();
        },
        &call);
    return completed ? std::move(call.result) : std::move(failed);
#endif
}

// Runs body() (which returns nothing); false when an allocation inside it failed.
template <typename Body>
bool completesInMemory(Body&& body) {
    return unlessOutOfMemory(false, [&] {
        std::forward<Body>(body)();
        return true;
    });
}

}  // namespace platform
