// operator new and delete over the process heap. new does not return null: a request the
// heap cannot meet ends at the innermost recovery point (see recovery.h). Independent of
// malloc, so a program that keeps the system's C library can use them as well.
#include <windows.h>

#include <cstddef>
#include <new>

#include "platform/win32/runtime/recovery.h"

namespace {

void* allocate(std::size_t size) {
    // A zero-byte request still gets a block of its own.
    return ::HeapAlloc(::GetProcessHeap(), 0, size == 0 ? 1 : size);
}

void release(void* block) {
    if (block != nullptr) ::HeapFree(::GetProcessHeap(), 0, block);
}

void* allocateOrRecover(std::size_t size) {
    void* block = allocate(size);
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
    return allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}

void operator delete(void* block) noexcept {
    release(block);
}

void operator delete[](void* block) noexcept {
    release(block);
}

void operator delete(void* block, std::size_t) noexcept {
    release(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    release(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    release(block);
}
