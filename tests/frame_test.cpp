#include "recordingcanvas.h"

#include "plot/frame.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vorel;

namespace {

TEST(value_scale, maps_bounds_to_plot_edges_and_back)
{
    for (auto [U, L] : {std::pair{20.0, -20.0}, {1.0, -1.0}, {30.0, -30.0}, {7.0, -3.0}}) {
        const ValueScale scale(U, L);
        EXPECT_DOUBLE_EQ(scale.y(U), 500);
        EXPECT_DOUBLE_EQ(scale.y(L), 5500);
        EXPECT_DOUBLE_EQ(scale.y((U + L) / 2), 3000);
        EXPECT_DOUBLE_EQ(scale.value(500), U);
        EXPECT_DOUBLE_EQ(scale.value(5500), L);
        EXPECT_DOUBLE_EQ(scale.value(scale.y(0.3 * U)), 0.3 * U);
        EXPECT_LT(scale.y(U + 1), 500);
        EXPECT_GT(scale.y(L - 1), 5500);
    }
}

TEST(value_scale, refuses_equal_bounds)
{
    EXPECT_THROW(ValueScale(0, 0), std::invalid_argument);
    EXPECT_THROW(ValueScale(5, 5), std::invalid_argument);
}

TEST(time_scale, runs_from_zero_at_500_to_the_range_at_10000)
{
    const TimeScale times(10.0);
    EXPECT_EQ(times.t(500), 0.0);
    EXPECT_DOUBLE_EQ(times.t(10000), 10.0);
    EXPECT_DOUBLE_EQ(times.t(975), 0.5);
    EXPECT_DOUBLE_EQ(times.t(501), 10.0 / 9500);
}

struct LabelCase {
    const char *name;
    double U, L, T;
    std::vector<std::string> values; // top to bottom
    std::vector<std::string> times;  // left to right
    friend void PrintTo(const LabelCase &c, std::ostream *os) { *os << c.name; }
};

class frame_labels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(frame_labels, read_from_the_bounds_and_the_range)
{
    const LabelCase c = GetParam();
    RecordingCanvas canvas;
    PlotFrame{ValueScale(c.U, c.L), TimeScale(c.T)}.draw(canvas);
    std::vector<std::string> texts = canvas.printedTexts();
    ASSERT_EQ(texts.size(), 17u);
    EXPECT_EQ(std::vector(texts.begin(), texts.begin() + 6), c.values);
    EXPECT_EQ(std::vector(texts.begin() + 6, texts.end()), c.times);
}

const std::vector<std::string> kZeroToTen{"0.0", "1.0", "2.0", "3.0", "4.0", "5.0",
                                          "6.0", "7.0", "8.0", "9.0", "10.0"};

INSTANTIATE_TEST_SUITE_P(examples, frame_labels, ::testing::Values(
    LabelCase{"pm20_T10", 20, -20, 10, {"20.0", "12.0", "4.0", "-4.0", "-12.0", "-20.0"}, kZeroToTen},
    LabelCase{"pm1_T10", 1, -1, 10, {"1.0", "0.6", "0.2", "-0.2", "-0.6", "-1.0"}, kZeroToTen},
    LabelCase{"pm50_T100", 50, -50, 100, {"50.0", "30.0", "10.0", "-10.0", "-30.0", "-50.0"},
              {"0.0", "10.0", "20.0", "30.0", "40.0", "50.0", "60.0", "70.0", "80.0", "90.0", "100.0"}},
    LabelCase{"pm30_T12", 30, -30, 12, {"30.0", "18.0", "6.0", "-6.0", "-18.0", "-30.0"},
              {"0.0", "1.2", "2.4", "3.6", "4.8", "6.0", "7.2", "8.4", "9.6", "10.8", "12.0"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(frame, clears_first_then_draws_axes_ticks_and_labels_in_the_foreground)
{
    RecordingCanvas canvas;
    PlotFrame{ValueScale(20, -20), TimeScale(10)}.draw(canvas);
    ASSERT_FALSE(canvas.calls.empty());
    EXPECT_EQ(canvas.calls.front().kind, Call::Cls);
    EXPECT_TRUE(canvas.coloured().empty());

    std::vector<Call> lines;
    for (const Call &c : canvas.calls)
        if (c.kind == Call::Line && (c.x1 != c.x2 || c.y1 != c.y2))
            lines.push_back(c);
    ASSERT_EQ(lines.size(), 1u + 6 + 1 + 11);
    auto same = [](const Call &c, float x1, float y1, float x2, float y2) {
        return c.x1 == x1 && c.y1 == y1 && c.x2 == x2 && c.y2 == y2;
    };
    EXPECT_TRUE(same(lines[0], 500, 500, 500, 5500));
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(same(lines[1 + i], 450, 500 + 1000 * i, 500, 500 + 1000 * i)) << i;
    EXPECT_TRUE(same(lines[7], 500, 3000, 10000, 3000));
    for (int i = 0; i < 11; ++i)
        EXPECT_TRUE(same(lines[8 + i], 500 + 950 * i, 3000, 500 + 950 * i, 3050)) << i;
}

// Labels sit at fixed anchors whatever their length: nothing is measured.
TEST(frame, prints_every_label_at_its_anchor)
{
    RecordingCanvas canvas;
    PlotFrame{ValueScale(50, -50), TimeScale(100)}.draw(canvas);
    const std::vector<Call> prints = canvas.prints();
    ASSERT_EQ(prints.size(), 17u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(prints[i].x1, 100);
        EXPECT_EQ(prints[i].y1, 400 + 1000 * i);
    }
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(prints[6 + i].x1, 400 + 950 * i);
        EXPECT_EQ(prints[6 + i].y1, 3100);
    }
}

TEST(frame, writes_labels_with_the_callers_decimal_separator)
{
    RecordingCanvas canvas;
    PlotFrame{ValueScale(5, -5), TimeScale(12)}.draw(canvas, ",");
    const std::vector<std::string> texts = canvas.printedTexts();
    EXPECT_EQ(texts[3], "-1,0"); // the tick at y = 3500
    EXPECT_EQ(texts[7], "1,2");
}

} // namespace
