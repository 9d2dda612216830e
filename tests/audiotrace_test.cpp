#include "plot/audiotrace.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorel;

namespace {

// A1 = 20, A2 = 10, ω1 = 1, ω2 = 2, φ1 = 1.5, φ2 = 0.4, T = 10: neither
// phase zero, so a phase from the wrong slider or none moves every value.
constexpr SliderPositions kPhased{20, 10, 10, 20, 150, 40, 100};
constexpr std::size_t kCurve = 66150; // 1.5 s at 44100 a second
constexpr std::size_t kGap = 11025;   // 0.25 s

double rms(const std::vector<float> &s, std::size_t from, std::size_t count)
{
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(count));
}

// 10000 samples into each curve, t = 2π·44·10000/44100: wave 1 is
// 20·sin(1.5 + t)/100, wave 2 10·sin(0.4 + 2t)/100, the resultant their sum.
TEST(plot_sound, plays_each_drawn_curve_in_drawing_order_with_silence_between)
{
    const std::pair<PlotCommand, std::vector<double>> cases[] = {
        {PlotCommand::Wave1, {0.195469}},
        {PlotCommand::Wave2, {0.011479}},
        {PlotCommand::BothWaves, {0.195469, 0.011479}},
        {PlotCommand::Resultant, {0.206948}},
        {PlotCommand::All, {0.195469, 0.011479, 0.206948}}};
    for (const auto &[command, values] : cases) {
        const std::vector<float> s = plotSound(command, kPhased);
        ASSERT_EQ(s.size(), values.size() * kCurve + (values.size() - 1) * kGap) << int(command);
        for (std::size_t c = 0; c < values.size(); ++c) {
            const std::size_t start = c * (kCurve + kGap);
            EXPECT_NEAR(s[start + 10000], values[c], 1e-6) << int(command) << " curve " << c;
            if (c > 0) {
                EXPECT_EQ(rms(s, start - kGap, kGap), 0.0);
            }
        }
    }
}

// 10 ms is 441 samples: the gain climbs from 0 in a straight line.
TEST(plot_sound, fades_every_curve_in_and_out)
{
    const std::vector<float> s = plotSound(PlotCommand::All, kPhased);
    for (std::size_t start : {std::size_t{0}, kCurve + kGap, 2 * (kCurve + kGap)}) {
        EXPECT_EQ(s[start], 0.0f);
        EXPECT_EQ(s[start + kCurve - 1], 0.0f);
    }
    EXPECT_NEAR(s[147], 0.043962, 1e-6);   // a third of 0.131886
    EXPECT_NEAR(s[441], -0.180281, 1e-6);  // whole
    EXPECT_NEAR(s[66002], 0.036099, 1e-6); // a third of 0.108296, 147 samples before the end
}

// A1 = A2 = 20, ω = 5, φ2 = 3.14: the sum is 40·cos(1.57) ≈ 0.03 high.
TEST(plot_sound, waves_in_opposite_phase_fall_silent)
{
    const std::vector<float> s = plotSound(PlotCommand::All, {20, 20, 50, 50, 0, 314, 100});
    EXPECT_LT(rms(s, 2 * (kCurve + kGap), kCurve), 0.01 * rms(s, 0, kCurve));
}

// ω = 5 and 5.1 sound at 220 and 224.4 Hz: the sum swells and dies away
// 4.4 times a second.
TEST(plot_sound, close_frequencies_beat)
{
    const std::vector<float> s = plotSound(PlotCommand::Resultant, {20, 20, 50, 51, 0, 0, 100});
    constexpr std::size_t kBlock = 441; // 10 ms, two periods of 220 Hz
    std::vector<double> envelope;
    for (std::size_t at = 0; at + kBlock <= s.size(); at += kBlock)
        envelope.push_back(rms(s, at, kBlock));
    std::vector<std::size_t> quiet;
    for (std::size_t i = 1; i + 1 < envelope.size(); ++i) {
        if (envelope[i] < envelope[i - 1] && envelope[i] <= envelope[i + 1] && envelope[i] < 0.1)
            quiet.push_back(i);
    }
    ASSERT_GE(quiet.size(), 5u);
    const double period = double(quiet.back() - quiet.front()) * 0.010 / double(quiet.size() - 1);
    EXPECT_NEAR(period, 1 / 4.4, 0.02 / 4.4);
}

// What the keys say and do, one step after another.
TEST(audio_trace, walks_the_last_plot_only_in_audio_mode)
{
    struct Step {
        PlotKey key;
        bool handled;
        const char *say;
        bool play = false;
        bool stop = false;
    };
    AudioTrace trace;
    const auto run = [&trace](std::initializer_list<Step> steps, std::string_view separator) {
        for (const Step &step : steps) {
            const KeyAnswer answer = trace.key(step.key, separator);
            EXPECT_EQ(answer.handled, step.handled) << step.say;
            EXPECT_EQ(answer.say, step.say);
            EXPECT_EQ(answer.play, step.play) << step.say;
            EXPECT_EQ(answer.stop, step.stop) << step.say;
        }
    };
    run({{PlotKey::Forward, false, ""},
         {PlotKey::Play, false, ""},
         {PlotKey::AudioMode, true, "Modo de audio activado."},
         {PlotKey::Forward, true, "No hay gráfico."},
         {PlotKey::Play, true, "No hay gráfico."},
         {PlotKey::Stop, true, "No hay gráfico."}},
        ",");
    trace.plotted(PlotCommand::All, kPhased);
    run({{PlotKey::End, true, "t = 0,0: onda 1, 19,9; onda 2, 3,9; resultante, 23,8"},
         {PlotKey::Forward, true, "t = 0,1: onda 1, 20,0; onda 2, 5,6; resultante, 25,6"},
         {PlotKey::TickForward, true, "t = 1,1: onda 1, 10,3; onda 2, 5,2; resultante, 15,5"},
         {PlotKey::End, true, "t = 10,0: onda 1, -17,5; onda 2, 10,0; resultante, -7,5"},
         {PlotKey::Forward, true, "t = 10,0: onda 1, -17,5; onda 2, 10,0; resultante, -7,5"},
         {PlotKey::TickBack, true, "t = 9,0: onda 1, -17,6; onda 2, -4,3; resultante, -21,9"},
         {PlotKey::Play, true, "", true},
         {PlotKey::Stop, true, "", false, true}},
        ",");
    // A held key counts once: its repeats neither restart the sound nor
    // turn the mode off.
    for (PlotKey key : {PlotKey::Play, PlotKey::AudioMode}) {
        const KeyAnswer answer = trace.key(key, ",", true);
        EXPECT_TRUE(answer.handled && answer.say.empty() && !answer.play && !answer.stop);
    }
    // A short range is walked in steps finer than a tenth; a new plot
    // starts again at its beginning, and nothing goes before it.
    trace.plotted(PlotCommand::Wave2, {20, 10, 10, 20, 150, 40, 5});
    run({{PlotKey::Back, true, "t = 0.0: onda 2, 3.9"},
         {PlotKey::Forward, true, "t = 0.005: onda 2, 4.0"},
         {PlotKey::Start, true, "t = 0.0: onda 2, 3.9"},
         {PlotKey::Back, true, "t = 0.0: onda 2, 3.9"},
         {PlotKey::TickBack, true, "t = 0.0: onda 2, 3.9"},
         {PlotKey::AudioMode, true, "Modo de audio desactivado.", false, true},
         {PlotKey::Back, false, ""}},
        ".");
    EXPECT_EQ(trace.sound().size(), kCurve);
}

} // namespace
