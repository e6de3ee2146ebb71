#pragma once
#include <cstdarg>
#include <cstdio>
#include <string>

namespace text {

// printf into a string of whatever length the result needs; the callers decide what length
// they accept, so nothing is ever cut here.
inline std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

inline std::string Format(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string result;
    if (length > 0) {
        result.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(result.data(), result.size(), format, again);
        result.resize(static_cast<size_t>(length));
    }
    va_end(again);
    return result;
}

}  // namespace text
