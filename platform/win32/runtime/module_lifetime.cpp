#include "platform/win32/runtime/module_lifetime.h"

#include <windows.h>

// The linker brackets the .ctors and .dtors sections of every object with these lists: a -1
// word, the function pointers, a 0 word. GCC's own start-up runs .ctors from the last entry
// to the first, and .dtors from the first to the last; so do we.
using StaticFunction = void (*)();
extern "C" StaticFunction __CTOR_LIST__[];
extern "C" StaticFunction __DTOR_LIST__[];

namespace runtime {
namespace {

// The exit list of this module: atexit may be called while constructors run (a global with a
// destructor registers it there) and later (function-local statics). A block of the process
// heap, grown as needed; a registration that cannot be kept is refused with -1, as the C
// library allows.
StaticFunction* exitList = nullptr;
int exitCount = 0;
int exitCapacity = 0;
bool destroyed = false;

}  // namespace

void runConstructors() {
    int count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) ++count;
    for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

void runDestructors() {
    if (destroyed) return;
    destroyed = true;
    while (exitCount > 0) exitList[--exitCount]();
    if (exitList != nullptr) ::HeapFree(::GetProcessHeap(), 0, exitList);
    exitList = nullptr;
    exitCapacity = 0;
    for (int i = 1; __DTOR_LIST__[i] != nullptr; ++i) __DTOR_LIST__[i]();
}

}  // namespace runtime

extern "C" int atexit(void (*function)()) {
    using namespace runtime;
    if (function == nullptr || destroyed) return -1;
    if (exitCount == exitCapacity) {
        const int capacity = exitCapacity == 0 ? 32 : exitCapacity * 2;
        const SIZE_T bytes = static_cast<SIZE_T>(capacity) * sizeof(StaticFunction);
        void* grown = exitList == nullptr
                          ? ::HeapAlloc(::GetProcessHeap(), 0, bytes)
                          : ::HeapReAlloc(::GetProcessHeap(), 0, exitList, bytes);
        if (grown == nullptr) return -1;
        exitList = static_cast<StaticFunction*>(grown);
        exitCapacity = capacity;
    }
    exitList[exitCount++] = function;
    return 0;
}
