#include "platform/win32/runtime/recovery.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#endif

namespace runtime {
namespace {

// A recovery point lives in the frame of runRecoverable, linked to the one it nests in.
// __builtin_setjmp keeps the frame, stack and instruction pointers in five words and needs no
// C library; the callee-saved registers are saved by the compiler around the call.
struct RecoveryPoint {
    void* jump[5];
    RecoveryPoint* outer;
};

RecoveryPoint* innermost = nullptr;

// Kept out of line so that __builtin_longjmp is never in runRecoverable's own frame.
[[noreturn]] __attribute__((noinline)) void jumpTo(RecoveryPoint* point) {
    __builtin_longjmp(point->jump, 1);
}

}  // namespace

bool runRecoverable(void (*body)(void* context), void* context) {
    RecoveryPoint point;
    point.outer = innermost;
    if (__builtin_setjmp(point.jump) != 0) {
        // Came back from outOfMemory: the failed body's points are gone with its frames.
        innermost = point.outer;
        return false;
    }
    innermost = &point;
    body(context);
    innermost = point.outer;
    return true;
}

void outOfMemory() {
    if (innermost != nullptr) jumpTo(innermost);
#if defined(_WIN32)
    ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
#else
    std::_Exit(8);  // the same exit code in the host tests of the recovery points
#endif
}

}  // namespace runtime
