#include "recordingcanvas.h"

#include "plot/commands.h"
#include "plot/frame.h"
#include "plot/int16.h"
#include "plot/singlewave.h"
#include "plot/trace.h"
#include "plot/twowave.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using namespace vorel;

namespace {

// Each segment starts where the one before it ended, one unit further on.
void expectJoinedEveryUnit(const std::vector<Call> &segments)
{
    ASSERT_EQ(segments.size(), 9500u);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        ASSERT_EQ(segments[i].x1, 500 + i);
        ASSERT_EQ(segments[i].x2, 501 + i);
        if (i > 0) {
            ASSERT_EQ(segments[i].y1, segments[i - 1].y2);
        }
    }
}

TEST(to_int16, rounds_halves_to_the_even_integer)
{
    EXPECT_EQ(toInt16(2500.5), 2500);
    EXPECT_EQ(toInt16(2501.5), 2502);
    EXPECT_EQ(toInt16(2997.37), 2997);
    EXPECT_EQ(toInt16(-0.5), 0);
    EXPECT_EQ(toInt16(-1.5), -2);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(add16(20, 30), 50);
    EXPECT_EQ(negate16(50), -50);
}

// What does not fit 16 bits is an error, never a silent wrap, and a plot
// that meets one draws nothing at all.
TEST(sixteen_bits, are_refused_instead_of_wrapping)
{
    const struct {
        const char *name;
        void (*run)(RecordingCanvas &);
    } cases[] = {
        {"a half above the top", [](RecordingCanvas &) { (void)toInt16(32767.5); }},
        {"one below the bottom", [](RecordingCanvas &) { (void)toInt16(-32769); }},
        {"far beyond", [](RecordingCanvas &) { (void)toInt16(1e300); }},
        {"not a number", [](RecordingCanvas &) { (void)toInt16(std::numeric_limits<double>::quiet_NaN()); }},
        {"a sum", [](RecordingCanvas &) { (void)add16(32767, 1); }},
        {"a negation", [](RecordingCanvas &) { (void)negate16(-32768); }},
        {"one wave whose amplitude cannot be negated",
         [](RecordingCanvas &c) { SingleWavePlot(c, 10, WaveParams{-32768, 1, 0}, kWave1Colour); }},
        {"two waves whose amplitudes sum beyond the top",
         [](RecordingCanvas &c) { TwoWavePlot(c, 10, WaveParams{32767, 1, 0}, WaveParams{1, 1, 0}, kAllCurves); }},
        {"two waves whose sum cannot be negated",
         [](RecordingCanvas &c) { TwoWavePlot(c, 10, WaveParams{-32767, 1, 0}, WaveParams{-1, 1, 0}, kAllCurves); }},
    };
    for (const auto &c : cases) {
        RecordingCanvas canvas;
        EXPECT_THROW(c.run(canvas), std::overflow_error) << c.name;
        EXPECT_TRUE(canvas.calls.empty()) << c.name;
    }
}

TEST(trace_window, includes_its_edges_and_nothing_beyond)
{
    EXPECT_TRUE(TraceWindow::contains(501, 500));
    EXPECT_TRUE(TraceWindow::contains(10000, 6000));
    EXPECT_FALSE(TraceWindow::contains(501, 499));
    EXPECT_FALSE(TraceWindow::contains(501, 6001));
    EXPECT_FALSE(TraceWindow::contains(500, 3000));
    EXPECT_FALSE(TraceWindow::contains(10001, 3000));
}

TEST(onda_1, draws_the_worked_example_sample_by_sample)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::Wave1, {20, 0, 10, 0, 0, 0, 100});
    const std::vector<Call> blue = canvas.segments(kWave1Colour);
    expectJoinedEveryUnit(blue);
    EXPECT_EQ(canvas.coloured().size(), blue.size());
    EXPECT_EQ(blue.front().y2, 2997);
    EXPECT_EQ(blue.back().y2, 4360);

    float firstTop = 0, firstBottom = 0;
    for (const Call &c : blue) {
        if (firstTop == 0 && c.y2 == 500)
            firstTop = c.x2;
        if (firstBottom == 0 && c.y2 == 5500)
            firstBottom = c.x2;
    }
    EXPECT_EQ(firstTop, 1974);
    EXPECT_EQ(firstBottom, 4958);
    EXPECT_EQ(canvas.printedTexts().front(), "20.0");
}

TEST(onda_1, draws_the_same_curve_for_every_amplitude)
{
    const RecordingCanvas a20 = recordPlot(PlotCommand::Wave1, {20, 0, 10, 0, 0, 0, 100});
    const RecordingCanvas a1 = recordPlot(PlotCommand::Wave1, {1, 0, 10, 0, 0, 0, 100});
    const std::vector<Call> s20 = a20.segments(kWave1Colour);
    const std::vector<Call> s1 = a1.segments(kWave1Colour);
    ASSERT_EQ(s1.size(), s20.size());
    for (std::size_t i = 0; i < s1.size(); ++i)
        ASSERT_EQ(s1[i].y2, s20[i].y2) << i;
    EXPECT_EQ(a1.printedTexts().front(), "1.0");
    EXPECT_EQ(a1.printedTexts()[5], "-1.0");
}

TEST(onda_1, draws_every_segment_with_every_slider_at_its_maximum)
{
    const RecordingCanvas canvas = recordPlot(PlotCommand::Wave1, {50, 50, 100, 100, 1000, 1000, 1000});
    const std::vector<Call> blue = canvas.segments(kWave1Colour);
    expectJoinedEveryUnit(blue);
    EXPECT_EQ(blue.back().y2, 5499);
}

TEST(onda_2, draws_wave_2_from_its_own_sliders_in_green)
{
    // Wave 1's sliders are all at 0: any use of them would refuse the plot.
    const RecordingCanvas canvas = recordPlot(PlotCommand::Wave2, {0, 20, 0, 10, 0, 157, 100});
    const std::vector<Call> green = canvas.segments(kWave2Colour);
    expectJoinedEveryUnit(green);
    EXPECT_EQ(canvas.coloured().size(), green.size());
    EXPECT_EQ(canvas.printedTexts().front(), "20.0");
}

// Where a curve starts, at x = 500: 3000 - 2500·sin φ on a single wave's
// frame, 3000 - 2500/30·20·sin φ on the frame of A1 + A2 = 30. A single
// wave and the resultant are rounded to the nearest unit like every later
// sample, not cut; the two waves of a two-wave plot keep their fraction.
TEST(first_sample, lies_where_its_formula_puts_it)
{
    const struct {
        const char *name;
        PlotCommand command;
        SliderPositions positions; // A1, A2, ω1·10, ω2·10, φ1·100, φ2·100, T·10
        Colour colour;
        double y;
    } cases[] = {
        {"onda 1 on the time axis", PlotCommand::Wave1, {20, 0, 10, 0, 0, 0, 100}, kWave1Colour, 3000},
        {"onda 1 a quarter turn on, 500.0008", PlotCommand::Wave1, {20, 0, 10, 0, 157, 0, 100}, kWave1Colour, 500},
        {"onda 1 rounded from 726.76", PlotCommand::Wave1, {20, 0, 10, 0, 200, 0, 100}, kWave1Colour, 727},
        {"onda 1 at φ = 10, 4360.05", PlotCommand::Wave1, {50, 50, 100, 100, 1000, 1000, 1000}, kWave1Colour, 4360},
        // Wave 1's sliders are all at 0: any use of them would refuse the plot.
        {"onda 2 from its own sliders", PlotCommand::Wave2, {0, 20, 0, 10, 0, 157, 100}, kWave2Colour, 500},
        {"todas wave 1", PlotCommand::All, {20, 10, 10, 20, 0, 0, 100}, kWave1Colour, 3000},
        {"todas wave 2", PlotCommand::All, {20, 10, 10, 20, 0, 0, 100}, kWave2Colour, 3000},
        {"todas resultant", PlotCommand::All, {20, 10, 10, 20, 0, 0, 100}, kResultantColour, 3000},
        {"todas wave 1 keeps its fraction", PlotCommand::All, {20, 10, 10, 20, 200, 0, 100}, kWave1Colour, 1484.504},
        {"resultante rounded from 1484.504", PlotCommand::Resultant, {20, 10, 10, 20, 200, 0, 100}, kResultantColour,
         1485},
    };
    for (const auto &c : cases) {
        const std::vector<Call> curve = recordPlot(c.command, c.positions).segments(c.colour);
        ASSERT_FALSE(curve.empty()) << c.name;
        EXPECT_EQ(curve.front().x1, 500) << c.name;
        EXPECT_NEAR(curve.front().y1, c.y, 0.01) << c.name;
    }
}

// A sample outside the window is not joined; the next one inside is joined
// to the last one inside by one chord.
TEST(wave_trace, bridges_samples_outside_the_window_with_one_chord)
{
    const PlotFrame frame{ValueScale(1, -1), TimeScale(9500)}; // t = x - 500
    RecordingCanvas canvas;
    // y = 3000 - 2500·s: s = 1 gives 500 (inside), s = -1.2 gives 6000
    // (inside, the bottom edge), s = 1.01 gives 475 and s = -1.21 6025 (outside).
    auto s = [](double t) {
        if (t >= 100 && t < 110)
            return 1.01;
        if (t >= 200 && t < 205)
            return -1.21;
        if (t == 300)
            return 1.0;
        if (t == 301)
            return -1.2;
        return 0.0;
    };
    WaveTrace(canvas, s, frame, kWave2Colour);
    const std::vector<Call> lines = canvas.segments(kWave2Colour);
    ASSERT_EQ(lines.size(), 9500u - 10 - 5);
    for (std::size_t i = 1; i < lines.size(); ++i)
        ASSERT_EQ(lines[i].x1, lines[i - 1].x2);
    auto from = [&](float x) {
        for (const Call &c : lines)
            if (c.x1 == x)
                return c;
        ADD_FAILURE() << "no segment from " << x;
        return Call{};
    };
    const Call chord1 = from(599);
    EXPECT_EQ(chord1.x2, 610);
    EXPECT_EQ(chord1.y1, 3000);
    EXPECT_EQ(chord1.y2, 3000);
    EXPECT_EQ(from(699).x2, 705);
    EXPECT_EQ(from(799).y2, 500);
    EXPECT_EQ(from(800).y2, 6000);
}

} // namespace
