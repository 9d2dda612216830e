#include "recordingcanvas.h"

#include "plot/commands.h"
#include "plot/frame.h"
#include "plot/twowave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

using namespace vorel;

namespace {

// Slider positions: A1, A2, ω1·10, ω2·10, φ1·100, φ2·100, T·10.
constexpr SliderPositions kExample{20, 10, 10, 20, 0, 0, 100};

std::pair<float, float> yRange(const std::vector<Call> &segments)
{
    float low = 1e9f, high = -1e9f;
    for (const Call &c : segments) {
        low = std::min({low, c.y1, c.y2});
        high = std::max({high, c.y1, c.y2});
    }
    return {low, high};
}

TEST(two_wave_sample, keeps_the_waves_fractions_and_rounds_the_resultant)
{
    const WaveParams w1{20, 1.0, 0.0};
    const WaveParams w2{10, 2.0, 0.0};
    const PlotFrame frame{ValueScale(30, -30), TimeScale(10)};

    const TwoWaveSample at975 = twoWaveSampleAt(975, frame, w1, w2);
    EXPECT_DOUBLE_EQ(at975.t, 0.5);
    EXPECT_NEAR(at975.y1, 2200.96, 0.01);
    EXPECT_NEAR(at975.y2, 2298.77, 0.01);
    EXPECT_NEAR(frame.values.y(at975.sR), 1499.73, 0.01);
    EXPECT_EQ(at975.yR, 1500);
    EXPECT_DOUBLE_EQ(at975.sR, at975.s1 + at975.s2);

    const TwoWaveSample at1450 = twoWaveSampleAt(1450, frame, w1, w2);
    EXPECT_NEAR(at1450.y1, 1597.55, 0.01);
    EXPECT_NEAR(at1450.y2, 2242.25, 0.01);
    EXPECT_EQ(at1450.yR, 840);
}

TEST(todas, draws_blue_green_red_at_every_step_on_the_summed_frame)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::All, kExample);
    EXPECT_EQ(canvas.calls.front().kind, Call::Cls);
    const std::vector<std::string> labels = canvas.printedTexts();
    EXPECT_EQ(std::vector(labels.begin(), labels.begin() + 6),
              (std::vector<std::string>{"30.0", "18.0", "6.0", "-6.0", "-18.0", "-30.0"}));

    const std::vector<Call> curves = canvas.coloured();
    ASSERT_EQ(curves.size(), 28500u);
    for (std::size_t i = 0; i < curves.size(); i += 3) {
        ASSERT_EQ(curves[i].colour, kWave1Colour);
        ASSERT_EQ(curves[i + 1].colour, kWave2Colour);
        ASSERT_EQ(curves[i + 2].colour, kResultantColour);
        const float x = float(501 + i / 3);
        ASSERT_TRUE(curves[i].x2 == x && curves[i + 1].x2 == x && curves[i + 2].x2 == x);
    }
    // The three curves start together on the time axis.
    EXPECT_EQ(curves[0].y1, 3000);
    EXPECT_EQ(curves[1].y1, 3000);
    EXPECT_EQ(curves[2].y1, 3000);

    // At x = 975 the waves are drawn with their fractions, the sum rounded.
    const std::size_t at975 = 3 * (975 - 501);
    EXPECT_NEAR(curves[at975].y2, 2200.96, 0.01);
    EXPECT_NE(curves[at975].y2, std::nearbyint(curves[at975].y2));
    EXPECT_NEAR(curves[at975 + 1].y2, 2298.77, 0.01);
    EXPECT_EQ(curves[at975 + 2].y2, 1500);
}

struct SelectionCase {
    const char *name;
    PlotCommand command;
    std::size_t blue, green, red;
    friend void PrintTo(const SelectionCase &c, std::ostream *os) { *os << c.name; }
};

class two_wave_selection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(two_wave_selection, draws_only_its_curves_each_whole)
{
    const SelectionCase c = GetParam();
    const RecordingCanvas canvas = recordPlot(c.command, kExample);
    EXPECT_EQ(canvas.segments(kWave1Colour).size(), c.blue);
    EXPECT_EQ(canvas.segments(kWave2Colour).size(), c.green);
    EXPECT_EQ(canvas.segments(kResultantColour).size(), c.red);
    EXPECT_EQ(canvas.printedTexts().front(), "30.0");

    // Each curve is one chain: it starts at x = 500 and every segment starts
    // where the one before it of the same colour ended.
    for (const Colour colour : {kWave1Colour, kWave2Colour, kResultantColour}) {
        const std::vector<Call> segments = canvas.segments(colour);
        if (segments.empty())
            continue;
        EXPECT_EQ(segments.front().x1, 500);
        for (std::size_t i = 1; i < segments.size(); ++i)
            ASSERT_TRUE(segments[i].x1 == segments[i - 1].x2 && segments[i].y1 == segments[i - 1].y2)
                << "colour " << colour << ", segment " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(buttons, two_wave_selection, ::testing::Values(
    SelectionCase{"vorel_1_y_2", PlotCommand::BothWaves, 9500, 9500, 0},
    SelectionCase{"resultante", PlotCommand::Resultant, 0, 0, 9500},
    SelectionCase{"todas", PlotCommand::All, 9500, 9500, 9500}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(vorel_1_y_2, draws_green_after_blue_at_each_step)
{
    const std::vector<Call> curves = recordPlot(PlotCommand::BothWaves, kExample).coloured();
    ASSERT_EQ(curves.size(), 19000u);
    for (std::size_t i = 0; i < curves.size(); i += 2) {
        ASSERT_EQ(curves[i].colour, kWave1Colour);
        ASSERT_EQ(curves[i + 1].colour, kWave2Colour);
    }
}

TEST(resultante, stays_on_the_time_axis_when_the_waves_nearly_cancel)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::Resultant, {50, 50, 10, 10, 0, 314, 1000});
    const auto [low, high] = yRange(canvas.segments(kResultantColour));
    EXPECT_GE(low, 2998);
    EXPECT_LE(high, 3002);
    EXPECT_EQ(canvas.printedTexts().front(), "100.0");
}

TEST(resultante, reaches_both_extreme_ticks_for_two_equal_waves_in_step)
{
    const auto [low, high] = yRange(recordPlot(PlotCommand::Resultant, {10, 10, 10, 10, 0, 0, 100}).segments(kResultantColour));
    EXPECT_EQ(low, 500);
    EXPECT_EQ(high, 5500);
}

TEST(todas, lets_a_silent_wave_lie_flat_on_the_time_axis)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::All, {0, 20, 10, 10, 0, 0, 100});
    const auto [low, high] = yRange(canvas.segments(kWave1Colour));
    EXPECT_EQ(low, 3000);
    EXPECT_EQ(high, 3000);
    EXPECT_EQ(canvas.segments(kWave1Colour).size(), 9500u);
    EXPECT_EQ(canvas.printedTexts().front(), "20.0");
}

TEST(todas, covers_blue_with_green_for_two_identical_waves)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::All, {10, 10, 15, 15, 30, 30, 100});
    const std::vector<Call> blue = canvas.segments(kWave1Colour);
    const std::vector<Call> green = canvas.segments(kWave2Colour);
    ASSERT_EQ(blue.size(), green.size());
    for (std::size_t i = 0; i < blue.size(); ++i)
        ASSERT_EQ(blue[i].y2, green[i].y2);
    const auto [low, high] = yRange(blue);
    EXPECT_GE(low, 1750);
    EXPECT_LE(high, 4250);
    EXPECT_EQ(canvas.printedTexts().front(), "20.0");
}

// The window test covers all three positions whether or not a curve is
// drawn. The sliders never give a negative amplitude, but with one a wave
// outgrows the frame and holds back the resultant, which would fit.
TEST(two_wave_plot, joins_only_where_all_three_positions_fit)
{
    RecordingCanvas canvas;
    ASSERT_TRUE(TwoWavePlot(canvas, 10, WaveParams{30, 1, 0}, WaveParams{-20, 1, 0}, kResultantOnly));
    const std::vector<Call> red = canvas.segments(kResultantColour);
    EXPECT_LT(red.size(), 9500u);
    EXPECT_TRUE(std::any_of(red.begin(), red.end(), [](const Call &c) { return c.x2 - c.x1 > 1; }));
    const PlotFrame frame{ValueScale(10, -10), TimeScale(10)};
    for (const Call &c : red) {
        const TwoWaveSample s = twoWaveSampleAt(int(c.x2), frame, {30, 1, 0}, {-20, 1, 0});
        ASSERT_TRUE(s.y1 >= 500 && s.y1 <= 6000) << c.x2;
        ASSERT_EQ(c.y2, s.yR);
    }
}

TEST(two_wave_plot, refuses_amplitudes_whose_sum_does_not_fit_16_bits)
{
    RecordingCanvas canvas;
    EXPECT_THROW(TwoWavePlot(canvas, 10, WaveParams{32767, 1, 0}, WaveParams{1, 1, 0}, kAllCurves),
                 std::overflow_error);
    EXPECT_TRUE(canvas.calls.empty());
}

} // namespace
