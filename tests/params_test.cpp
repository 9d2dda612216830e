#include "params/numbertext.h"
#include "params/sliders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>

using namespace vorel;

namespace {

struct ReadoutCase {
    int slider;
    std::int16_t position;
    const char *separator;
    const char *text;
    friend void PrintTo(const ReadoutCase &c, std::ostream *os) { *os << c.text; }
};

class readout_text : public ::testing::TestWithParam<ReadoutCase> {};

TEST_P(readout_text, shows_the_parameter_in_its_units)
{
    const ReadoutCase c = GetParam();
    EXPECT_EQ(readoutText(slider(c.slider).quantity, c.position, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(examples, readout_text, ::testing::Values(
    ReadoutCase{1, 50, ".", "50"}, ReadoutCase{2, 0, ".", "0"},
    ReadoutCase{3, 25, ".", "2.5"}, ReadoutCase{3, 10, ".", "1"},
    ReadoutCase{3, 100, ".", "10"}, ReadoutCase{4, 1, ".", "0.1"},
    ReadoutCase{5, 7, ".", "0.07"}, ReadoutCase{5, 10, ".", "0.1"},
    ReadoutCase{5, 157, ".", "1.57"}, ReadoutCase{6, 314, ".", "3.14"},
    ReadoutCase{6, 1000, ".", "10"}, ReadoutCase{7, 1000, ".", "100"},
    ReadoutCase{7, 5, ".", "0.5"}, ReadoutCase{3, 25, ",", "2,5"},
    ReadoutCase{5, 7, ",", "0,07"}, ReadoutCase{7, 5, ",", "0,5"},
    ReadoutCase{1, 35, ",", "35"}),
    [](const auto &info) {
        const ReadoutCase &c = info.param;
        return "HScroll" + std::to_string(c.slider) + "_at_" + std::to_string(c.position)
             + (std::string(c.separator) == "," ? "_comma" : "");
    });

// Each slider's caption, range, arrow step and page step: the amplitudes
// and the time range page by 5 in the track, everything else by 1.
TEST(slider_table, gives_each_slider_its_range_and_steps)
{
    const struct {
        const char *caption;
        int minimum, maximum, arrowStep, pageStep;
    } expected[] = {{"Amplitud 1", 0, 50, 1, 5},    {"Amplitud 2", 0, 50, 1, 5}, {"Frecuencia 1", 0, 100, 1, 1},
                    {"Frecuencia 2", 0, 100, 1, 1}, {"Fase 1", 0, 1000, 1, 1},   {"Fase 2", 0, 1000, 1, 1},
                    {"Rango", 0, 1000, 1, 5}};
    for (int number = 1; number <= 7; ++number) {
        const SliderSpec &s = slider(number);
        const auto &e = expected[number - 1];
        EXPECT_EQ(std::tie(s.caption, s.minimum, s.maximum, s.singleStep, s.pageStep),
                  std::tie(e.caption, e.minimum, e.maximum, e.arrowStep, e.pageStep))
            << "HScroll" << number;
    }
}

// Every position of every slider reads back as exactly its parameter, in
// the shortest form: no trailing zeros, no float noise such as 0.07000001.
TEST(readout_text, is_exact_and_shortest_at_every_position)
{
    for (int number = 1; number <= 7; ++number) {
        const SliderSpec &spec = slider(number);
        const double divisor = spec.quantity == Quantity::Amplitude ? 1
                             : spec.quantity == Quantity::Phase     ? 100
                                                                    : 10;
        for (int p = spec.minimum; p <= spec.maximum; ++p) {
            const std::string text = readoutText(spec.quantity, std::int16_t(p));
            SCOPED_TRACE("HScroll" + std::to_string(number) + " at " + std::to_string(p) + ": " + text);
            EXPECT_EQ(std::stod(text), p / divisor);
            EXPECT_LE(text.size(), 6u);
            if (text.find('.') != std::string::npos) {
                EXPECT_NE(text.back(), '0');
            }
            EXPECT_NE(text.front(), ' ');
        }
    }
}

TEST(general_number_text, keeps_at_most_fifteen_significant_digits)
{
    EXPECT_EQ(generalNumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(generalNumberText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(generalNumberText(-0.0), "0");
    EXPECT_EQ(generalNumberText(2.0), "2");
}

// Cases where a conversion of our own could go wrong and printf's "%.15g"
// and "%.1f" (in the C locale) show the answer: carries, halves that are
// exact in binary, the switch to an exponent, and doubles just off a half.
struct TextCase {
    double value;
    const char *general;
    const char *oneDecimal;
};

TEST(number_text, matches_the_c_formats_at_their_edges)
{
    const TextCase cases[] = {
        {0.25, "0.25", "0.2"},     // an exact half goes to the even tenth
        {0.75, "0.75", "0.8"},
        {-0.25, "-0.25", "-0.2"},
        {0.05, "0.05", "0.1"},     // 0.05 is a little above its decimal
        {0.15, "0.15", "0.1"},     // and 0.15 a little below
        {9.95, "9.95", "9.9"},
        {99.95, "99.95", "100.0"}, // a carry through every digit
        {999999999999999.5, "1e+15", "999999999999999.5"},
        {123456789012345678.0, "1.23456789012346e+17", "123456789012345680.0"},
        {0.0001, "0.0001", "0.0"},
        {0.000015, "1.5e-05", "0.0"},
        {1e21, "1e+21", "1000000000000000000000.0"},
        {5e-324, "4.94065645841247e-324", "0.0"},
        {77.7, "77.7", "77.7"},
        {1.0 / 3.0 * 100, "33.3333333333333", "33.3"},
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(c.general);
        EXPECT_EQ(generalNumberText(c.value), c.general);
        EXPECT_EQ(oneDecimalText(c.value), c.oneDecimal);
    }
}

TEST(one_decimal_text, rounds_to_the_nearest_tenth_with_one_decimal)
{
    EXPECT_EQ(oneDecimalText(20), "20.0");
    EXPECT_EQ(oneDecimalText(-4), "-4.0");
    EXPECT_EQ(oneDecimalText(0.6), "0.6");
    EXPECT_EQ(oneDecimalText(0.59999999999), "0.6");
    EXPECT_EQ(oneDecimalText(100), "100.0");
    EXPECT_EQ(oneDecimalText(-50), "-50.0");
    EXPECT_EQ(oneDecimalText(-0.04), "0.0");
    EXPECT_EQ(oneDecimalText(10.8, ","), "10,8");
    EXPECT_EQ(oneDecimalText(-0.01, ","), "0,0");
}

// A slider wired to the wrong parameter is an easy fault to make and a hard
// one to see on the screen.
TEST(slider_positions, make_each_wave_from_its_own_sliders)
{
    const SliderPositions p{11, 22, 33, 44, 555, 666, 777};
    const WaveParams w1 = wave1(p);
    const WaveParams w2 = wave2(p);
    EXPECT_EQ(w1.amplitude, 11);
    EXPECT_DOUBLE_EQ(w1.angularFrequency, 3.3);
    EXPECT_DOUBLE_EQ(w1.phase, 5.55);
    EXPECT_EQ(w2.amplitude, 22);
    EXPECT_DOUBLE_EQ(w2.angularFrequency, 4.4);
    EXPECT_DOUBLE_EQ(w2.phase, 6.66);
    EXPECT_DOUBLE_EQ(timeRange(p), 77.7);
}

TEST(wave_params, has_no_factor_two_pi)
{
    const WaveParams w{20, 1.0, 0.0};
    EXPECT_DOUBLE_EQ(w.valueAt(3.14159265358979 / 2), 20.0);
    const WaveParams w2{1, 2.0, 0.5};
    EXPECT_DOUBLE_EQ(w2.valueAt(1.0), std::sin(2.5));
}

// What an assistive tool sees: the parameter, its range and its step.
TEST(slider_value, is_the_parameter_with_the_readouts_step)
{
    EXPECT_EQ(valueStep(Quantity::Amplitude), 1.0);
    EXPECT_EQ(valueStep(Quantity::AngularFrequency), 0.1);
    EXPECT_EQ(valueStep(Quantity::Phase), 0.01);
    EXPECT_EQ(valueStep(Quantity::TimeRange), 0.1);
    EXPECT_EQ(valueAt(Quantity::Amplitude, 50), 50.0);
    EXPECT_EQ(valueAt(Quantity::AngularFrequency, 100), 10.0);
    EXPECT_EQ(valueAt(Quantity::Phase, 1000), 10.0);
    EXPECT_EQ(valueAt(Quantity::TimeRange, 1000), 100.0);
    EXPECT_EQ(valueAt(Quantity::Phase, 157), 1.57);
}

// Every value that a position reports leads back to that position, so a
// tool that reads a value and sets it again moves nothing.
TEST(nearest_position, of_every_positions_value_is_that_position)
{
    for (const SliderSpec &spec : kSliders)
        for (int p = spec.minimum; p <= spec.maximum; ++p)
            ASSERT_EQ(nearestPosition(spec, valueAt(spec.quantity, std::int16_t(p))), p) << spec.caption;
}

struct NearestCase {
    int slider;
    double value;
    std::int16_t position;
    friend void PrintTo(const NearestCase &c, std::ostream *os)
    {
        *os << "HScroll" << c.slider << " to " << c.value;
    }
};

class nearest_position : public ::testing::TestWithParam<NearestCase> {};

TEST_P(nearest_position, rounds_halves_up_and_clamps_to_the_range)
{
    const NearestCase c = GetParam();
    EXPECT_EQ(nearestPosition(slider(c.slider), c.value), c.position) << c.value;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(cases, nearest_position, ::testing::Values(
    // the ends
    NearestCase{1, 0, 0}, NearestCase{1, 50, 50}, NearestCase{3, 10, 100},
    NearestCase{5, 10, 1000}, NearestCase{7, 100, 1000},
    // halves between two positions, and just below them
    NearestCase{1, 2.5, 3}, NearestCase{2, 49.5, 50}, NearestCase{2, 0.49, 0},
    NearestCase{4, 2.45, 25}, NearestCase{4, 2.449, 24}, NearestCase{3, 0.05, 1},
    NearestCase{5, 1.565, 157}, NearestCase{6, 0.005, 1}, NearestCase{6, 9.995, 1000},
    NearestCase{7, 99.95, 1000}, NearestCase{7, 0.04, 0},
    // beyond the range
    NearestCase{1, -3, 0}, NearestCase{2, 51, 50}, NearestCase{6, 12, 1000},
    NearestCase{7, 1e300, 1000}, NearestCase{3, -kInfinity, 0}, NearestCase{4, kInfinity, 100}));

TEST(nearest_position, of_not_a_number_is_none)
{
    EXPECT_EQ(nearestPosition(slider(5), std::nan("")), std::nullopt);
}

} // namespace
