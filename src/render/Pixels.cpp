#include "render/Pixels.h"

#include <cmath>
#include <limits>

std::int32_t toPixel(double value) {
    using Limits = std::numeric_limits<std::int32_t>;
    // Every double strictly between these two truncates into the range.
    constexpr double below = static_cast<double>(Limits::min()) - 1.0;
    constexpr double above = static_cast<double>(Limits::max()) + 1.0;
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= below) {
        return Limits::min();
    }
    if (value >= above) {
        return Limits::max();
    }
    return static_cast<std::int32_t>(value);
}
