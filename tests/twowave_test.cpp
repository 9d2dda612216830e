#include "recordingcanvas.h"

#include "plot/commands.h"
#include "plot/twowave.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    // The waves are drawn with their fractions, the sum rounded: at x = 975,
    // t = 0.5, y = 3000 - 2500/30·s with s1 = 20·sin 0.5 = 9.5885 and
    // s2 = 10·sin 1 = 8.4147, and the sum's 1499.73 becomes 1500.
    const struct {
        int x;
        double y1, y2;
        float yR;
    } steps[] = {{975, 2200.96, 2298.77, 1500}, {1450, 1597.55, 2242.25, 840}};
    for (const auto &step : steps) {
        const std::size_t at = 3 * std::size_t(step.x - 501);
        EXPECT_NEAR(curves[at].y2, step.y1, 0.01) << step.x;
        EXPECT_NEAR(curves[at + 1].y2, step.y2, 0.01) << step.x;
        EXPECT_EQ(curves[at + 2].y2, step.yR) << step.x;
    }
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

// The highest and lowest y a curve reaches, drawn whole from x = 500 to
// x = 10000, and the top label of its frame.
TEST(curve_range, reaches_what_its_formula_gives)
{
    const struct {
        const char *name;
        PlotCommand command;
        SliderPositions positions;
        Colour colour;
        float low, high, within;
        const char *top;
    } cases[] = {
        // φ2 = 3.14 falls short of π by 0.0016: the sum is at most 50·0.0016
        // = 0.08, 1.99 units on a frame of ±100.
        {"resultante of waves that nearly cancel", PlotCommand::Resultant, {50, 50, 10, 10, 0, 314, 1000},
         kResultantColour, 2998, 3002, 0, "100.0"},
        {"resultante of two equal waves in step", PlotCommand::Resultant, {10, 10, 10, 10, 0, 0, 100},
         kResultantColour, 500, 5500, 0, "20.0"},
        {"todas with a silent wave 1", PlotCommand::All, {0, 20, 10, 10, 0, 0, 100}, kWave1Colour, 3000, 3000, 0,
         "20.0"},
        // 3000 ± 2500/20·10, never quite reached by a sample.
        {"todas with two identical waves", PlotCommand::All, {10, 10, 15, 15, 30, 30, 100}, kWave1Colour, 1750, 4250,
         0.01f, "20.0"},
    };
    for (const auto &c : cases) {
        const RecordingCanvas canvas = recordPlot(c.command, c.positions);
        const std::vector<Call> curve = canvas.segments(c.colour);
        EXPECT_EQ(curve.size(), 9500u) << c.name;
        const auto [low, high] = yRange(curve);
        EXPECT_NEAR(low, c.low, c.within) << c.name;
        EXPECT_NEAR(high, c.high, c.within) << c.name;
        EXPECT_EQ(canvas.printedTexts().front(), c.top) << c.name;
    }
}

TEST(todas, covers_blue_with_green_for_two_identical_waves)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::All, {10, 10, 15, 15, 30, 30, 100});
    const std::vector<Call> blue = canvas.segments(kWave1Colour);
    const std::vector<Call> green = canvas.segments(kWave2Colour);
    ASSERT_EQ(blue.size(), green.size());
    for (std::size_t i = 0; i < blue.size(); ++i)
        ASSERT_EQ(blue[i].y2, green[i].y2);
}

// The window test covers all three positions whether or not a curve is
// drawn. The sliders never give a negative amplitude, but with one a wave
// outgrows the frame and holds back the resultant, which would fit. Here
// the frame is ±10: wave 1 lies at 3000 - 7500·sin t and fits only while
// -0.4 <= sin t <= 1/3, wave 2 at 3000 + 5000·sin t, the resultant at
// 3000 - 2500·sin t. sin t = 1/3 at t = 0.3398, 2.8018, 6.6230 and 9.0849
// (x = 822.9, 3161.7, 6791.9, 9130.7); sin t = -0.4 at t = 3.5531, 5.8717
// and 9.8363 (x = 3875.5, 6078.1, 9844.5).
TEST(two_wave_plot, joins_only_where_all_three_positions_fit)
{
    RecordingCanvas canvas;
    ASSERT_TRUE(TwoWavePlot(canvas, 10, WaveParams{30, 1, 0}, WaveParams{-20, 1, 0}, kResultantOnly));
    const std::vector<Call> red = canvas.segments(kResultantColour);
    EXPECT_EQ(red.size(), 322u + 714 + 713 + 714);
    std::vector<std::vector<float>> chords;
    for (const Call &c : red)
        if (c.x2 - c.x1 > 1)
            chords.push_back({c.x1, c.y1, c.x2, c.y2});
    EXPECT_EQ(chords, (std::vector<std::vector<float>>{
                          {822, 2169, 3162, 2167}, {3875, 3999, 6079, 3998}, {6791, 2169, 9131, 2167}}));
    EXPECT_EQ(red.back().x2, 9844);
}

} // namespace
