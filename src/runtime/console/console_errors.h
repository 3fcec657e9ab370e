// Error sites of the console operations and the check every one of them starts with.
#pragma once

#include <cstdint>
#include <source_location>

namespace kestran {

struct Runtime;

// Site numbers (error site = site * 256 + point). Point 1 is always "no window" (error 1000).
namespace console_site {
constexpr uint32_t kCls = 0x31;
constexpr uint32_t kLocate = 0x32;
constexpr uint32_t kPrint = 0x33;
constexpr uint32_t kInputChars = 0x34;
constexpr uint32_t kInputBegin = 0x35;
constexpr uint32_t kLine = 0x36;
}  // namespace console_site

constexpr uint32_t ErrorSite(uint32_t site, uint32_t point) {
    return site * 256 + point;
}

// Error 1000 when the program has no window (it was closed, or never opened).
void RequireWindow(Runtime& rt, uint32_t site, std::source_location where);

}  // namespace kestran
