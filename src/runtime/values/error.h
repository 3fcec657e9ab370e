// The one run-time error type. Runtime operations raise it; the program's top level reports it
// and the game's file traps catch it.
#pragma once

#include <cstdint>
#include <source_location>
#include <stdexcept>
#include <string>

namespace kestran {

class PbError : public std::runtime_error {
public:
    // number: the run-time error number; site: operation site * 256 + point within it.
    PbError(int number, uint32_t site, std::source_location where = std::source_location::current())
        : std::runtime_error("run-time error " + std::to_string(number)), number_(number), site_(site),
          where_(where) {}

    int number() const { return number_; }
    uint32_t site() const { return site_; }
    // The source position of the game statement that called the failing operation.
    const std::source_location& where() const { return where_; }
    uint32_t line() const { return where_.line(); }

private:
    int number_;
    uint32_t site_;
    std::source_location where_;
};

// Raises a run-time error. Operations take a defaulted std::source_location parameter and pass
// it on, so the error names the game line that called them.
[[noreturn]] inline void PbRaiseError(int number, uint32_t site, std::source_location where) {
    throw PbError(number, site, where);
}

}  // namespace kestran
