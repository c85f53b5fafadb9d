// Blocks of the process heap, for malloc and operator new alike. A zero-byte request still
// gets a block of its own; releasing null does nothing.
#pragma once

#include <windows.h>

#include <cstddef>

namespace runtime {

inline void* heapAllocate(std::size_t size, DWORD flags = 0) {
    return ::HeapAlloc(::GetProcessHeap(), flags, size == 0 ? 1 : size);
}

inline void heapRelease(void* block) {
    if (block != nullptr) ::HeapFree(::GetProcessHeap(), 0, block);
}

}  // namespace runtime
