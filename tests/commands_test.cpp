#include "recordingcanvas.h"

#include "plot/commands.h"
#include "plot/trace.h"

#include <gtest/gtest.h>

using namespace vorel;

namespace {

struct GuardCase {
    const char *name;
    PlotCommand command;
    SliderPositions positions; // A1, A2, ω1·10, ω2·10, φ1·100, φ2·100, T·10
    friend void PrintTo(const GuardCase &c, std::ostream *os) { *os << c.name; }
};

class plot_guard : public ::testing::TestWithParam<GuardCase> {};

// A refused plot does nothing at all: not even the canvas is cleared, so
// the previous picture stays.
TEST_P(plot_guard, leaves_the_canvas_untouched_when_a_value_it_needs_is_zero)
{
    RecordingCanvas canvas;
    EXPECT_FALSE(runPlotCommand(GetParam().command, canvas, GetParam().positions));
    EXPECT_TRUE(canvas.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(zero_values, plot_guard, ::testing::Values(
    GuardCase{"onda1_no_amplitude", PlotCommand::Wave1, {0, 20, 10, 10, 0, 0, 100}},
    GuardCase{"onda1_no_frequency", PlotCommand::Wave1, {20, 20, 0, 10, 0, 0, 100}},
    GuardCase{"onda1_no_range", PlotCommand::Wave1, {20, 20, 10, 10, 0, 0, 0}},
    GuardCase{"onda2_no_amplitude", PlotCommand::Wave2, {20, 0, 10, 10, 0, 0, 100}},
    GuardCase{"onda2_no_frequency", PlotCommand::Wave2, {20, 20, 10, 0, 0, 0, 100}},
    GuardCase{"onda2_no_range", PlotCommand::Wave2, {20, 20, 10, 10, 0, 0, 0}},
    GuardCase{"vorel_no_amplitude", PlotCommand::BothWaves, {0, 0, 10, 10, 0, 0, 100}},
    GuardCase{"vorel_no_frequency1", PlotCommand::BothWaves, {20, 10, 0, 10, 0, 0, 100}},
    GuardCase{"vorel_no_frequency2", PlotCommand::BothWaves, {20, 10, 10, 0, 0, 0, 100}},
    GuardCase{"vorel_no_range", PlotCommand::BothWaves, {20, 10, 10, 10, 0, 0, 0}},
    GuardCase{"resultante_no_amplitude", PlotCommand::Resultant, {0, 0, 10, 10, 0, 0, 100}},
    GuardCase{"resultante_silent_wave2_without_frequency", PlotCommand::Resultant, {10, 0, 10, 0, 0, 0, 100}},
    GuardCase{"resultante_no_range", PlotCommand::Resultant, {20, 10, 10, 10, 0, 0, 0}},
    GuardCase{"todas_no_frequency1", PlotCommand::All, {20, 10, 0, 10, 0, 0, 100}},
    GuardCase{"todas_no_frequency2", PlotCommand::All, {20, 10, 10, 0, 0, 0, 100}},
    GuardCase{"todas_no_amplitude", PlotCommand::All, {0, 0, 10, 10, 0, 0, 100}},
    GuardCase{"todas_no_range", PlotCommand::All, {20, 10, 10, 10, 0, 0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

// Neither phase is tested, nor each amplitude alone in the two-wave plots.
TEST(plot_guard, lets_zero_phases_and_one_silent_wave_through)
{
    const PlotCommand all[] = {PlotCommand::Wave1, PlotCommand::Wave2, PlotCommand::BothWaves,
                               PlotCommand::Resultant, PlotCommand::All};
    for (PlotCommand command : all) {
        RecordingCanvas canvas;
        EXPECT_TRUE(runPlotCommand(command, canvas, {20, 10, 10, 20, 0, 0, 100}));
    }
    RecordingCanvas canvas;
    EXPECT_TRUE(runPlotCommand(PlotCommand::All, canvas, {0, 10, 10, 20, 0, 0, 100}));
}

// Each button hands the separator on to its frame: one that dropped it
// would label its ticks with a point where the others show a comma.
TEST(plot_labels, use_the_callers_decimal_separator_for_every_button)
{
    const std::pair<PlotCommand, const char *> topLabels[] = {
        {PlotCommand::Wave1, "20,0"},     {PlotCommand::Wave2, "10,0"}, {PlotCommand::BothWaves, "30,0"},
        {PlotCommand::Resultant, "30,0"}, {PlotCommand::All, "30,0"}};
    for (const auto &[command, top] : topLabels) {
        RecordingCanvas canvas;
        ASSERT_TRUE(runPlotCommand(command, canvas, {20, 10, 10, 20, 0, 0, 120}, ","));
        const std::vector<std::string> labels = canvas.printedTexts();
        ASSERT_EQ(labels.size(), 17u);
        EXPECT_EQ(labels[0], top);
        EXPECT_EQ(labels[7], "1,2") << top; // the second time tick of T = 12.0
    }
}

// What a screen reader says of the plot after each button: the extremes
// come from the formulas at the plot's sample times, each at the earliest
// time its one-decimal text is reached (wave 1 is -20.0 from t = 4.642 on,
// though its trough lies at 4.712).
TEST(describe_plot, names_the_curves_the_bounds_the_range_and_the_extremes_for_each_button)
{
    const SliderPositions p{20, 10, 10, 20, 0, 0, 125};
    const std::string wave1 = "Onda 1: mínimo -20.0 en t = 4.6; máximo 20.0 en t = 1.5.";
    const std::string wave2 = "Onda 2: mínimo -10.0 en t = 2.3; máximo 10.0 en t = 0.7.";
    const std::string resultant = "Resultante: mínimo -26.0 en t = 5.2; máximo 26.0 en t = 1.0.";
    const std::pair<PlotCommand, std::string> expected[] = {
        {PlotCommand::Wave1, "Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 12.5. " + wave1},
        {PlotCommand::Wave2, "Onda 2, en verde. Valores de -10 a 10; tiempo de 0 a 12.5. " + wave2},
        {PlotCommand::BothWaves,
         "Onda 1, en azul, y onda 2, en verde. Valores de -30 a 30; tiempo de 0 a 12.5. " + wave1 + " " + wave2},
        {PlotCommand::Resultant, "Resultante, en rojo. Valores de -30 a 30; tiempo de 0 a 12.5. " + resultant},
        {PlotCommand::All, "Onda 1, en azul, onda 2, en verde, y resultante, en rojo. Valores de -30 a 30; "
                           "tiempo de 0 a 12.5. " + wave1 + " " + wave2 + " " + resultant}};
    for (const auto &[command, text] : expected) {
        EXPECT_EQ(describePlot(command, p), text);
        // The same from the values the plot computed as it drew.
        RecordingCanvas canvas;
        PlotValues values;
        ASSERT_TRUE(runPlotCommand(command, canvas, p, ".", &values));
        EXPECT_EQ(describePlot(command, p, ".", &values), text);
    }
    EXPECT_EQ(describePlot(PlotCommand::Resultant, {20, 10, 10, 20, 0, 0, 100}, ","),
              "Resultante, en rojo. Valores de -30 a 30; tiempo de 0 a 10. "
              "Resultante: mínimo -26,0 en t = 5,2; máximo 26,0 en t = 1,0.");
    // Two waves that nearly cancel: the sum is 0.0796 at t = 0 and never more.
    EXPECT_EQ(describePlot(PlotCommand::Resultant, {50, 50, 10, 10, 0, 314, 1000}, ","),
              "Resultante, en rojo. Valores de -100 a 100; tiempo de 0 a 100. "
              "Resultante: mínimo -0,1 en t = 2,3; máximo 0,1 en t = 0,0.");
    // A wave that rises from zero and a curve that stays at zero or below.
    EXPECT_EQ(describePlot(PlotCommand::Wave1, {20, 10, 10, 20, 0, 0, 5}, ","),
              "Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 0,5. Onda 1: mínimo 0,0 en t = 0,0; máximo 9,6 en t = 0,5.");
    EXPECT_EQ(describePlot(PlotCommand::Wave1, {20, 10, 10, 20, 314, 0, 5}, ","),
              "Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 0,5. Onda 1: mínimo -9,6 en t = 0,5; máximo 0,0 en t = 0,0.");
}

} // namespace
