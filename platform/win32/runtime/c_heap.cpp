// malloc, free, calloc and realloc of the Windows deliverables, over the process heap.
#include <windows.h>

#include <cstddef>

namespace {

HANDLE processHeap() {
    return ::GetProcessHeap();
}

void* allocate(std::size_t size) {
    // A zero-byte request still gets a block of its own.
    return ::HeapAlloc(processHeap(), 0, size == 0 ? 1 : size);
}

void release(void* block) {
    if (block != nullptr) ::HeapFree(processHeap(), 0, block);
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) {
    return allocate(size);
}

void free(void* block) {
    release(block);
}

void* calloc(std::size_t count, std::size_t size) {
    if (size != 0 && count > static_cast<std::size_t>(-1) / size) return nullptr;
    const std::size_t bytes = count * size;
    return ::HeapAlloc(processHeap(), HEAP_ZERO_MEMORY, bytes == 0 ? 1 : bytes);
}

void* realloc(void* block, std::size_t size) {
    if (block == nullptr) return allocate(size);
    // The old block stays valid when it cannot grow, as the C library promises.
    return ::HeapReAlloc(processHeap(), 0, block, size == 0 ? 1 : size);
}

}  // extern "C"

