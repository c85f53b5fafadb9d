#include "platform/win32/runtime/c_library.h"

#include <cstdint>

// Plain byte loops: the modules are small and these run on short names and paths. The build
// keeps the compiler from turning a loop back into a call of the function it implements.

extern "C" {

void* TUNARA_C_NAME(memcpy)(void* target, const void* source, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(target);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    while (count-- != 0) *to++ = *from++;
    return target;
}

void* TUNARA_C_NAME(memmove)(void* target, const void* source, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(target);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    if (reinterpret_cast<std::uintptr_t>(to) - reinterpret_cast<std::uintptr_t>(from) >= count) {
        // The target does not start inside the source: forwards is safe.
        while (count-- != 0) *to++ = *from++;
    } else {
        to += count;
        from += count;
        while (count-- != 0) *--to = *--from;
    }
    return target;
}

void* TUNARA_C_NAME(memset)(void* target, int value, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(target);
    while (count-- != 0) *to++ = static_cast<unsigned char>(value);
    return target;
}

int TUNARA_C_NAME(memcmp)(const void* a, const void* b, std::size_t count) {
    const unsigned char* left = static_cast<const unsigned char*>(a);
    const unsigned char* right = static_cast<const unsigned char*>(b);
    for (; count != 0; --count, ++left, ++right) {
        if (*left != *right) return *left < *right ? -1 : 1;
    }
    return 0;
}

void* TUNARA_C_NAME(memchr)(const void* bytes, int value, std::size_t count) {
    const unsigned char* at = static_cast<const unsigned char*>(bytes);
    const unsigned char wanted = static_cast<unsigned char>(value);
    for (; count != 0; --count, ++at) {
        if (*at == wanted) return const_cast<unsigned char*>(at);
    }
    return nullptr;
}

std::size_t TUNARA_C_NAME(strlen)(const char* text) {
    const char* end = text;
    while (*end != '\0') ++end;
    return static_cast<std::size_t>(end - text);
}

std::size_t TUNARA_C_NAME(strnlen)(const char* text, std::size_t limit) {
    std::size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return length;
}

int TUNARA_C_NAME(strcmp)(const char* a, const char* b) {
    const unsigned char* left = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* right = reinterpret_cast<const unsigned char*>(b);
    while (*left != 0 && *left == *right) ++left, ++right;
    return *left == *right ? 0 : (*left < *right ? -1 : 1);
}

int TUNARA_C_NAME(strncmp)(const char* a, const char* b, std::size_t count) {
    const unsigned char* left = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* right = reinterpret_cast<const unsigned char*>(b);
    for (; count != 0; --count, ++left, ++right) {
        if (*left != *right) return *left < *right ? -1 : 1;
        if (*left == 0) return 0;
    }
    return 0;
}

char* TUNARA_C_NAME(strchr)(const char* text, int value) {
    const char wanted = static_cast<char>(value);
    for (;; ++text) {
        if (*text == wanted) return const_cast<char*>(text);
        if (*text == '\0') return nullptr;
    }
}

char* TUNARA_C_NAME(strrchr)(const char* text, int value) {
    const char wanted = static_cast<char>(value);
    const char* found = nullptr;
    for (;; ++text) {
        if (*text == wanted) found = text;
        if (*text == '\0') return const_cast<char*>(found);
    }
}

char* TUNARA_C_NAME(strstr)(const char* text, const char* part) {
    if (*part == '\0') return const_cast<char*>(text);
    for (; *text != '\0'; ++text) {
        const char* a = text;
        const char* b = part;
        while (*b != '\0' && *a == *b) ++a, ++b;
        if (*b == '\0') return const_cast<char*>(text);
    }
    return nullptr;
}

char* TUNARA_C_NAME(strcpy)(char* target, const char* source) {
    char* to = target;
    while ((*to++ = *source++) != '\0') {
    }
    return target;
}

char* TUNARA_C_NAME(strncpy)(char* target, const char* source, std::size_t count) {
    char* to = target;
    for (; count != 0 && *source != '\0'; --count) *to++ = *source++;
    for (; count != 0; --count) *to++ = '\0';
    return target;
}

}  // extern "C"
