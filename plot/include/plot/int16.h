// 16-bit integer arithmetic of amplitudes, bounds and curve positions. A
// result that does not fit is an error, never a silent wrap.
#pragma once

#include <cstdint>

namespace vorel {

// The nearest integer, a value halfway between two going to the even one
// (2500.5 to 2500, 2501.5 to 2502). Throws std::overflow_error when the
// result does not fit 16 bits or the value is not a number.
std::int16_t toInt16(double value);

// Throw std::overflow_error when the result does not fit 16 bits.
std::int16_t add16(std::int16_t a, std::int16_t b);
std::int16_t negate16(std::int16_t a);

} // namespace vorel
