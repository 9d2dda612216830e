// Number-to-text conversions shown to the user: the readouts beside the
// sliders and the tick labels of the plot. Both take the decimal separator
// from the caller, so the window can pass the user's locale.
#pragma once

#include <string>
#include <string_view>

namespace vorel {

// The shortest decimal form with at most 15 significant digits: 2 reads "2",
// 0.07 reads "0.07", never padded, never with a leading space.
std::string generalNumberText(double value, std::string_view decimalSeparator = ".");

// The value to the nearest tenth with exactly one decimal, like the format
// pattern "0.0": 20 reads "20.0", -4 reads "-4.0". A value that rounds to
// zero reads "0.0", never "-0.0".
std::string oneDecimalText(double value, std::string_view decimalSeparator = ".");

} // namespace vorel
