// Feeds arbitrary text to the number parsing of the operator's input, with either
// decimal separator, and checks that what it accepts reads back the same when formatted.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "state/number_format.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte picks the separator.
    zav::SetDecimalSeparator(data[0] % 2 ? ',' : '.');
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::int32_t n = 0;
    if (zav::TryParseInt(text, n)) {
        std::int32_t again = 0;
        Check(zav::TryParseInt(std::to_string(n), again) && again == n);
    }
    double x = 0;
    if (zav::TryParseFloat(text, x)) {
        Check(!std::isnan(x));
        if (std::isfinite(x)) {
            // Fifteen significant digits read back within their rounding.
            double again = 0;
            Check(zav::TryParseFloat(zav::FormatGeneral(x), again));
            Check(std::fabs(again - x) <= std::fabs(x) * 1e-14 || again == x);
        }
    }
    return 0;
}
