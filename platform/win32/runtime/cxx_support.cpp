// The pieces of the C++ runtime that the compiler's and the standard headers' code calls,
// for modules built without exceptions and without the precompiled i686 C++ library.
#include <windows.h>

#include <new>
#include <string>

#include "platform/win32/runtime/recovery.h"

// The members of std::string, compiled here for the Pentium instead of taken from the
// precompiled library.
template class std::basic_string<char>;

namespace std {

const nothrow_t nothrow{};

// What the standard headers call where they would throw. Every one of them means that a
// request could not be met (a size beyond what a container holds, a position past the end):
// like a failed allocation, it ends at the innermost recovery point.
void __throw_bad_alloc() {
    runtime::outOfMemory();
}
void __throw_bad_array_new_length() {
    runtime::outOfMemory();
}
void __throw_length_error(const char*) {
    runtime::outOfMemory();
}
void __throw_logic_error(const char*) {
    runtime::outOfMemory();
}
void __throw_out_of_range(const char*) {
    runtime::outOfMemory();
}
void __throw_out_of_range_fmt(const char*, ...) {
    runtime::outOfMemory();
}
void __throw_invalid_argument(const char*) {
    runtime::outOfMemory();
}
void __throw_bad_function_call() {
    runtime::outOfMemory();
}

}  // namespace std

extern "C" {

// A call of a pure virtual function, or abort: a fault of the program, ended at once.
void __cxa_pure_virtual() {
    ::ExitProcess(3);
}

void abort() {
    ::ExitProcess(3);
}

}  // extern "C"
