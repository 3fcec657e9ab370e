// Fuzz target: VAL over any bytes, and the number text of whatever it reads.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/values/error.h"
#include "runtime/values/number_scan.h"
#include "runtime/values/number_text.h"
#include "runtime/values/numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    kestran::ScannedNumber scanned = kestran::ScanPbNumber(text);
    if (scanned.length > size) std::abort();
    try {
        double v = kestran::PbVal(text);
        if (!std::isfinite(v)) std::abort();  // too large must raise, never come back infinite
        kestran::PbNumberText(v);
        if (std::fabs(v) < 3.4e38) kestran::PbNumberText(static_cast<float>(v));
    } catch (const kestran::PbError& e) {
        if (e.number() != 6) std::abort();
    }
    return 0;
}
