// The C library functions of the Windows deliverables, written over nothing but the processor,
// so that no module needs msvcrt.dll (Windows 95 shipped without it).
//
// On Windows they carry their standard names. The host build compiles the same code under the
// names below (tunara_ prefix) so the tests can compare each one with the system's own.
#pragma once

#include <cstdarg>
#include <cstddef>

#if defined(_WIN32)
#define TUNARA_C_NAME(name) name
#else
#define TUNARA_C_NAME(name) tunara_##name
#endif

extern "C" {
void* TUNARA_C_NAME(memcpy)(void* target, const void* source, std::size_t count);
void* TUNARA_C_NAME(memmove)(void* target, const void* source, std::size_t count);
void* TUNARA_C_NAME(memset)(void* target, int value, std::size_t count);
int TUNARA_C_NAME(memcmp)(const void* a, const void* b, std::size_t count);
void* TUNARA_C_NAME(memchr)(const void* bytes, int value, std::size_t count);
std::size_t TUNARA_C_NAME(strlen)(const char* text);
std::size_t TUNARA_C_NAME(strnlen)(const char* text, std::size_t limit);
int TUNARA_C_NAME(strcmp)(const char* a, const char* b);
int TUNARA_C_NAME(strncmp)(const char* a, const char* b, std::size_t count);
char* TUNARA_C_NAME(strchr)(const char* text, int value);
char* TUNARA_C_NAME(strrchr)(const char* text, int value);
char* TUNARA_C_NAME(strstr)(const char* text, const char* part);
char* TUNARA_C_NAME(strcpy)(char* target, const char* source);
char* TUNARA_C_NAME(strncpy)(char* target, const char* source, std::size_t count);
// Integers and strings only: flags - 0 + space #, width and precision (also *), the length
// modifiers hh h l ll z j t, and the conversions d i u x X o c s p %. A floating-point
// conversion is written as its text, unconverted. C99's return value: the length the whole
// text would have, whatever fitted.
int TUNARA_C_NAME(vsnprintf)(char* buffer, std::size_t size, const char* format,
                             std::va_list arguments);
int TUNARA_C_NAME(snprintf)(char* buffer, std::size_t size, const char* format, ...);
}
