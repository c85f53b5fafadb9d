// vsnprintf and snprintf for the Windows deliverables: the integer and string conversions the
// modules use (paths, hardware ids, version and date texts), without the floating-point
// machinery of a full C library.
#include <cstdint>

#include "platform/win32/runtime/c_library.h"

namespace {

// Writes into the caller's buffer as far as it reaches and counts every character, so the
// result is the length the whole text would have.
class Output {
public:
    Output(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {}

    void put(char c) {
        if (size_ != 0 && length_ < size_ - 1) buffer_[length_] = c;
        ++length_;
    }
    void repeat(char c, int count) {
        for (; count > 0; --count) put(c);
    }
    // Ends the text where it stopped (the last byte of a full buffer).
    void finish() {
        if (size_ == 0) return;
        buffer_[length_ < size_ ? length_ : size_ - 1] = '\0';
    }
    std::size_t length() const { return length_; }

private:
    char* buffer_;
    std::size_t size_;
    std::size_t length_ = 0;
};

struct Field {
    bool left = false;      // -
    bool plus = false;      // +
    bool space = false;     // ' '
    bool alternate = false; // #
    bool zero = false;      // 0
    int width = 0;
    int precision = -1;     // none given
};

// Digits of value in base (8, 10 or 16), least significant first; returns their count.
int digitsOf(std::uint64_t value, unsigned base, bool upper, char (&digits)[24]) {
    const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    int count = 0;
    do {
        digits[count++] = alphabet[value % base];
        value /= base;
    } while (value != 0);
    return count;
}

void putInteger(Output& out, const Field& field, std::uint64_t magnitude, bool negative,
                unsigned base, bool upper) {
    char digits[24];
    int count = digitsOf(magnitude, base, upper, digits);
    // A precision of 0 writes nothing for the value 0.
    if (field.precision == 0 && magnitude == 0) count = 0;

    const char* prefix = "";
    if (negative) {
        prefix = "-";
    } else if (field.plus && base == 10) {
        prefix = "+";
    } else if (field.space && base == 10) {
        prefix = " ";
    } else if (field.alternate && base == 16 && magnitude != 0) {
        prefix = upper ? "0X" : "0x";
    }
    int zeros = field.precision > count ? field.precision - count : 0;
    if (field.alternate && base == 8 && zeros == 0 && (count == 0 || digits[count - 1] != '0')) {
        zeros = 1;
    }
    int prefixLength = 0;
    while (prefix[prefixLength] != '\0') ++prefixLength;

    int padding = field.width - (prefixLength + zeros + count);
    if (field.zero && !field.left && field.precision < 0 && padding > 0) {
        zeros += padding;
        padding = 0;
    }
    if (!field.left) out.repeat(' ', padding);
    for (const char* p = prefix; *p != '\0'; ++p) out.put(*p);
    out.repeat('0', zeros);
    while (count > 0) out.put(digits[--count]);
    if (field.left) out.repeat(' ', padding);
}

void putText(Output& out, const Field& field, const char* text, int length) {
    const int padding = field.width - length;
    if (!field.left) out.repeat(' ', padding);
    for (int i = 0; i < length; ++i) out.put(text[i]);
    if (field.left) out.repeat(' ', padding);
}

int parseNumber(const char*& format) {
    int value = 0;
    while (*format >= '0' && *format <= '9') {
        if (value < 100000000) value = value * 10 + (*format - '0');
        ++format;
    }
    return value;
}

enum class Size { Int, Char, Short, Long, LongLong, SizeT, IntMax, PtrDiff };

}  // namespace

extern "C" int TUNARA_C_NAME(vsnprintf)(char* buffer, std::size_t size, const char* format,
                                        std::va_list arguments) {
    Output out(buffer, size);
    std::va_list args;
    va_copy(args, arguments);
    while (*format != '\0') {
        if (*format != '%') {
            out.put(*format++);
            continue;
        }
        const char* start = format++;
        Field field;
        for (;; ++format) {
            if (*format == '-') field.left = true;
            else if (*format == '+') field.plus = true;
            else if (*format == ' ') field.space = true;
            else if (*format == '#') field.alternate = true;
            else if (*format == '0') field.zero = true;
            else break;
        }
        if (*format == '*') {
            ++format;
            field.width = va_arg(args, int);
            if (field.width < 0) {
                field.left = true;
                field.width = -field.width;
            }
        } else {
            field.width = parseNumber(format);
        }
        if (*format == '.') {
            ++format;
            if (*format == '*') {
                ++format;
                field.precision = va_arg(args, int);
                if (field.precision < 0) field.precision = -1;
            } else {
                field.precision = parseNumber(format);
            }
        }
        Size length = Size::Int;
        switch (*format) {
        case 'h':
            ++format;
            length = Size::Short;
            if (*format == 'h') ++format, length = Size::Char;
            break;
        case 'l':
            ++format;
            length = Size::Long;
            if (*format == 'l') ++format, length = Size::LongLong;
            break;
        case 'z': ++format, length = Size::SizeT; break;
        case 'j': ++format, length = Size::IntMax; break;
        case 't': ++format, length = Size::PtrDiff; break;
        default: break;
        }

        const char conversion = *format;
        if (conversion == '\0') {
            // A lone % at the end is written as it stands.
            while (start != format) out.put(*start++);
            break;
        }
        ++format;
        switch (conversion) {
        case 'd':
        case 'i': {
            std::int64_t value;
            switch (length) {
            case Size::LongLong:
            case Size::IntMax: value = va_arg(args, long long); break;
            case Size::Long: value = va_arg(args, long); break;
            case Size::SizeT:
            case Size::PtrDiff: value = va_arg(args, std::ptrdiff_t); break;
            case Size::Short: value = static_cast<short>(va_arg(args, int)); break;
            case Size::Char: value = static_cast<signed char>(va_arg(args, int)); break;
            default: value = va_arg(args, int); break;
            }
            const bool negative = value < 0;
            const std::uint64_t magnitude =
                negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
            putInteger(out, field, magnitude, negative, 10, false);
            break;
        }
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            std::uint64_t value;
            switch (length) {
            case Size::LongLong:
            case Size::IntMax: value = va_arg(args, unsigned long long); break;
            case Size::Long: value = va_arg(args, unsigned long); break;
            case Size::SizeT:
            case Size::PtrDiff: value = va_arg(args, std::size_t); break;
            case Size::Short: value = static_cast<unsigned short>(va_arg(args, unsigned)); break;
            case Size::Char: value = static_cast<unsigned char>(va_arg(args, unsigned)); break;
            default: value = va_arg(args, unsigned); break;
            }
            const unsigned base = conversion == 'u' ? 10 : (conversion == 'o' ? 8 : 16);
            Field unsignedField = field;
            unsignedField.plus = unsignedField.space = false;
            putInteger(out, unsignedField, value, false, base, conversion == 'X');
            break;
        }
        case 'p': {
            Field pointerField;
            pointerField.precision = 2 * static_cast<int>(sizeof(void*));
            pointerField.width = field.width;
            pointerField.left = field.left;
            putInteger(out, pointerField,
                       reinterpret_cast<std::uintptr_t>(va_arg(args, void*)), false, 16, true);
            break;
        }
        case 'c': {
            const char c = static_cast<char>(va_arg(args, int));
            putText(out, field, &c, 1);
            break;
        }
        case 's': {
            const char* text = va_arg(args, const char*);
            if (text == nullptr) text = "(null)";
            int textLength = 0;
            while (text[textLength] != '\0' &&
                   (field.precision < 0 || textLength < field.precision)) {
                ++textLength;
            }
            putText(out, field, text, textLength);
            break;
        }
        case '%': out.put('%'); break;
        default:
            // Not a conversion of ours (a floating-point one, say): written out unconverted.
            while (start != format) out.put(*start++);
            break;
        }
    }
    va_end(args);
    out.finish();
    const std::size_t length = out.length();
    return length > 0x7FFFFFFF ? -1 : static_cast<int>(length);
}

extern "C" int TUNARA_C_NAME(snprintf)(char* buffer, std::size_t size, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const int length = TUNARA_C_NAME(vsnprintf)(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}

#if defined(_WIN32)
// The names mingw's <stdio.h> gives snprintf and vsnprintf in C++ (its own ISO formatter).
extern "C" int __mingw_vsnprintf(char* buffer, std::size_t size, const char* format,
                                 std::va_list arguments) {
    return vsnprintf(buffer, size, format, arguments);
}

extern "C" int __mingw_snprintf(char* buffer, std::size_t size, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    const int length = vsnprintf(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}
#endif
