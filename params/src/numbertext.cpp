// Our own decimal conversion, from the exact binary value of the double:
// printf follows the C locale that Qt sets from the environment, and the
// WebAssembly build's C++ library has no std::to_chars for double. Working
// on exact digits gives the same text in every build, whatever the locale.
#include "params/numbertext.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace vorel {
namespace {

constexpr int kGeneralDigits = 15; // significant digits, as "%.15g"

// A non-negative finite double written exactly as digits / 10^scale, with
// no leading zeros in digits ("" for zero).
struct ExactDecimal {
    std::string digits;
    int scale = 0;
};

// A big natural number in base 10^9, least significant limb first.
class BigNatural {
public:
    explicit BigNatural(std::uint64_t value)
    {
        while (value != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(value % kBase));
            value /= kBase;
        }
    }

    void multiply(std::uint32_t factor)
    {
        std::uint64_t carry = 0;
        for (std::uint32_t &limb : m_limbs) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            m_limbs.push_back(static_cast<std::uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    // Multiplies by base^count in factors that keep each product in 64 bits.
    void multiplyByPower(std::uint32_t base, std::uint32_t chunk, int chunkCount, int count)
    {
        for (; count >= chunkCount; count -= chunkCount)
            multiply(chunk);
        for (; count > 0; --count)
            multiply(base);
    }

    std::string digits() const
    {
        std::string text;
        for (auto limb = m_limbs.rbegin(); limb != m_limbs.rend(); ++limb) {
            std::string part = std::to_string(*limb);
            if (!text.empty())
                part.insert(0, 9 - part.size(), '0');
            text += part;
        }
        return text;
    }

private:
    static constexpr std::uint64_t kBase = 1'000'000'000;
    std::vector<std::uint32_t> m_limbs;
};

// |value| = mantissa · 2^exponent exactly; 2^-e = 5^e / 10^e turns a binary
// fraction into a decimal one without losing anything.
ExactDecimal exactDecimal(double value)
{
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    constexpr int kMantissaBits = 53;
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
    exponent -= kMantissaBits;
    while (mantissa != 0 && mantissa % 2 == 0 && exponent < 0) {
        mantissa /= 2;
        ++exponent;
    }
    BigNatural number(mantissa);
    ExactDecimal result;
    if (exponent >= 0) {
        number.multiplyByPower(2, 1u << 29, 29, exponent);
    } else {
        number.multiplyByPower(5, 244'140'625, 12, -exponent); // 5^12
        result.scale = -exponent;
    }
    result.digits = number.digits();
    return result;
}

// Keeps the first `keep` digits, rounding the rest away to the nearest, ties
// to the even digit. Returns the kept digits, one longer when the rounding
// carries out of the first digit (999.5 → 1000).
std::string roundDigits(const std::string &digits, int keep)
{
    if (keep >= static_cast<int>(digits.size()))
        return digits;
    if (keep < 0)
        return {};
    const auto cut = static_cast<std::size_t>(keep);
    std::string kept = digits.substr(0, cut);
    const char first = digits[cut];
    bool up = first > '5';
    if (first == '5') {
        const bool moreThanHalf = digits.find_first_not_of('0', cut + 1) != std::string::npos;
        const bool lastOdd = keep > 0 && (kept.back() - '0') % 2 == 1;
        up = moreThanHalf || lastOdd;
    }
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && kept[static_cast<std::size_t>(i)] == '9'; --i)
            kept[static_cast<std::size_t>(i)] = '0';
        if (i >= 0)
            ++kept[static_cast<std::size_t>(i)];
        else
            kept.insert(kept.begin(), '1');
    }
    return kept;
}

std::string nonFiniteText(double value)
{
    if (std::isnan(value))
        return "nan";
    return value < 0 ? "-inf" : "inf";
}

std::string exponentText(int exponent)
{
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (digits.size() < 2)
        digits.insert(0, 1, '0');
    return (exponent < 0 ? "e-" : "e+") + digits;
}

} // namespace

std::string generalNumberText(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const ExactDecimal exact = exactDecimal(value);
    if (exact.digits.empty())
        return "0"; // also for -0
    // The decimal exponent of the first significant digit, as in d.ddd·10^e.
    int exponent = static_cast<int>(exact.digits.size()) - 1 - exact.scale;
    std::string digits = roundDigits(exact.digits, kGeneralDigits);
    if (digits.size() > static_cast<std::size_t>(kGeneralDigits)) {
        digits.pop_back(); // a carry: 9.99…5 became 10.0…
        ++exponent;
    }
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string text = std::signbit(value) ? "-" : "";
    if (exponent < -4 || exponent >= kGeneralDigits) {
        text += digits[0];
        if (digits.size() > 1)
            text.append(decimalSeparator).append(digits, 1);
        return text + exponentText(exponent);
    }
    if (exponent < 0) {
        text.append("0").append(decimalSeparator).append(static_cast<std::size_t>(-exponent - 1), '0');
        return text + digits;
    }
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits)
        return text + digits + std::string(integerDigits - digits.size(), '0');
    return text + digits.substr(0, integerDigits) + std::string(decimalSeparator) + digits.substr(integerDigits);
}

std::string oneDecimalText(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const ExactDecimal exact = exactDecimal(value);
    // The value in tenths, rounded: drop all but one of the scale's digits.
    std::string tenths = exact.scale == 0 ? exact.digits + "0"
                                          : roundDigits(exact.digits, static_cast<int>(exact.digits.size()) - (exact.scale - 1));
    if (tenths.empty() || tenths.find_first_not_of('0') == std::string::npos)
        return std::string("0").append(decimalSeparator).append("0"); // never "-0.0"
    if (tenths.size() < 2)
        tenths.insert(0, 1, '0');
    std::string text = std::signbit(value) ? "-" : "";
    return text + tenths.substr(0, tenths.size() - 1) + std::string(decimalSeparator) + tenths.back();
}

} // namespace vorel
