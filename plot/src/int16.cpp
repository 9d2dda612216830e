#include "plot/int16.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace vorel {
namespace {

constexpr int kMin = std::numeric_limits<std::int16_t>::min();
constexpr int kMax = std::numeric_limits<std::int16_t>::max();

std::int16_t checked(long long value, const char *what)
{
    if (value < kMin || value > kMax)
        throw std::overflow_error(std::string(what) + " " + std::to_string(value)
                                  + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(value);
}

} // namespace

std::int16_t toInt16(double value)
{
    // nearbyint rounds in the current mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= kMin && rounded <= kMax))
        throw std::overflow_error("position " + std::to_string(value)
                                  + " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(rounded);
}

std::int16_t add16(std::int16_t a, std::int16_t b)
{
    return checked(static_cast<long long>(a) + b, "sum");
}

std::int16_t negate16(std::int16_t a)
{
    return checked(-static_cast<long long>(a), "negation");
}

} // namespace vorel
