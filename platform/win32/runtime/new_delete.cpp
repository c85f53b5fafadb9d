// operator new and delete over the process heap. new does not return null: a request the
// heap cannot meet ends at the innermost recovery point (see recovery.h). Independent of
// malloc, so a program that keeps the system's C library can use them as well.
#include <cstddef>
#include <new>

#include "platform/win32/runtime/process_heap.h"
#include "platform/win32/runtime/recovery.h"

namespace {

using runtime::heapAllocate;
using runtime::heapRelease;

void* allocateOrRecover(std::size_t size) {
    void* block = heapAllocate(size);
    if (block == nullptr) runtime::outOfMemory();
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    return allocateOrRecover(size);
}

void* operator new[](std::size_t size) {
    return allocateOrRecover(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return heapAllocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return heapAllocate(size);
}

void operator delete(void* block) noexcept {
    heapRelease(block);
}

void operator delete[](void* block) noexcept {
    heapRelease(block);
}

void operator delete(void* block, std::size_t) noexcept {
    heapRelease(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    heapRelease(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    heapRelease(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    heapRelease(block);
}
