// Forced into the libFuzzer build only (-include): clang releases before 15 have no
// __builtin_source_location, so libstdc++'s <source_location> is empty for them. This stand-in
// gives the same interface from the older builtins. Any compiler that has the real one skips it.
#pragma once

#include <source_location>

#if !defined(__cpp_lib_source_location)
#include <cstdint>

namespace std {
struct source_location {
    static constexpr source_location current(const char* file = __builtin_FILE(),
                                             const char* function = __builtin_FUNCTION(),
                                             uint_least32_t line = __builtin_LINE(),
                                             uint_least32_t column = __builtin_COLUMN()) noexcept {
        source_location s;
        s.file_ = file;
        s.function_ = function;
        s.line_ = line;
        s.column_ = column;
        return s;
    }
    constexpr source_location() noexcept = default;
    constexpr uint_least32_t line() const noexcept { return line_; }
    constexpr uint_least32_t column() const noexcept { return column_; }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr const char* function_name() const noexcept { return function_; }

private:
    const char* file_ = "";
    const char* function_ = "";
    uint_least32_t line_ = 0;
    uint_least32_t column_ = 0;
};
}  // namespace std
#endif
