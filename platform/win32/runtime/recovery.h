// Recovery from running out of memory, for code built without C++ exceptions.
//
// The Windows deliverables are built without exception support (the precompiled exception
// runtime is i686 code, which a Pentium cannot run). An allocation that cannot be satisfied
// (operator new, or a container asked for more than it can hold) ends instead at the innermost
// recovery point: the stack is cut back to it and `runRecoverable` returns false. Objects
// between the failure and the recovery point are not destroyed: their memory and handles stay
// with the process, which is out of memory anyway; what was written before stays written.
//
// Every export and program boundary and each place that turns a failed allocation into an
// error code opens a recovery point; without one the process ends with ERROR_NOT_ENOUGH_MEMORY.
#pragma once

namespace runtime {

// Calls body(context) under a new recovery point. True when it returned normally, false when
// an allocation inside it failed. Points nest; each module has its own chain, used by one
// thread at a time.
bool runRecoverable(void (*body)(void* context), void* context);

// Ends at the innermost recovery point (or the process, with none open). Never returns.
[[noreturn]] void outOfMemory();

}  // namespace runtime
