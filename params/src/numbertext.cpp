// std::to_chars rather than printf: printf follows the C locale that Qt sets
// from the environment, and the separator must be ours to choose.
#include "params/numbertext.h"

#include <array>
#include <charconv>

namespace vorel {
namespace {

std::string withSeparator(std::string_view text, std::string_view decimalSeparator)
{
    std::string result;
    result.reserve(text.size() + decimalSeparator.size());
    for (char c : text) {
        if (c == '.')
            result += decimalSeparator;
        else
            result += c;
    }
    return result;
}

template <typename... Format>
std::string toChars(double value, std::string_view decimalSeparator, Format... format)
{
    std::array<char, 64> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format...);
    (void)error; // 64 characters hold any double in these formats
    return withSeparator(std::string_view(buffer.data(), end - buffer.data()), decimalSeparator);
}

} // namespace

std::string generalNumberText(double value, std::string_view decimalSeparator)
{
    if (value == 0.0)
        value = 0.0; // no "-0"
    return toChars(value, decimalSeparator, std::chars_format::general, 15);
}

std::string oneDecimalText(double value, std::string_view decimalSeparator)
{
    std::string text = toChars(value, decimalSeparator, std::chars_format::fixed, 1);
    if (text == "-0" + std::string(decimalSeparator) + "0")
        text.erase(0, 1);
    return text;
}

} // namespace vorel
