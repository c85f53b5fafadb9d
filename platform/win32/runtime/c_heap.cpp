// malloc, free, calloc and realloc of the Windows deliverables, over the process heap.
#include "platform/win32/runtime/process_heap.h"

extern "C" {

void* malloc(std::size_t size) {
    return runtime::heapAllocate(size);
}

void free(void* block) {
    runtime::heapRelease(block);
}

void* calloc(std::size_t count, std::size_t size) {
    if (size != 0 && count > static_cast<std::size_t>(-1) / size) return nullptr;
    return runtime::heapAllocate(count * size, HEAP_ZERO_MEMORY);
}

void* realloc(void* block, std::size_t size) {
    if (block == nullptr) return runtime::heapAllocate(size);
    // The old block stays valid when it cannot grow, as the C library promises.
    return ::HeapReAlloc(::GetProcessHeap(), 0, block, size == 0 ? 1 : size);
}

}  // extern "C"
