#include "recordingcanvas.h"

#include "raster/rastercanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

using namespace vorel;

namespace {

// Slider positions: A1, A2, ω1·10, ω2·10, φ1·100, φ2·100, T·10.
constexpr SliderPositions kExample{20, 10, 10, 20, 0, 0, 100};
// ω1 = 10.0, ω2 = 7.3, T = 100: the curves fill the frame in a dense band.
constexpr SliderPositions kDense{50, 50, 100, 73, 0, 0, 1000};

// Stands in for a font engine: a label is a solid block of 4 × 7 logical
// pixels a character, in the text's colour.
class BlockText final : public TextDrawer {
public:
    void drawText(PixelBuffer &pixels, int x, int y, std::string_view text, Colour colour) override
    {
        const int width = int(4 * text.size() * pixels.ratio());
        const int height = int(7 * pixels.ratio());
        for (int py = y; py < y + height; ++py)
            for (int px = x; px < x + width; ++px)
                if (pixels.contains(px, py))
                    pixels.setPixel(px, py, toPixel(colour));
    }
};

std::map<Pixel, int> countColours(const PixelBuffer &pixels)
{
    std::map<Pixel, int> counts;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            ++counts[pixels.pixel(x, y)];
    return counts;
}

bool samePixels(const PixelBuffer &a, const PixelBuffer &b)
{
    return a.width() == b.width() && a.height() == b.height()
        && std::equal(a.data(), a.data() + std::size_t(a.width()) * a.height(), b.data());
}

// Hands the recorded calls to a canvas one at a time, in their order.
void replay(const RecordingCanvas &recording, PlotCanvas &canvas)
{
    for (const Call &c : recording.calls) {
        switch (c.kind) {
        case Call::Cls:
            canvas.Cls();
            break;
        case Call::Line:
            if (c.colour)
                canvas.Line(c.x1, c.y1, c.x2, c.y2, *c.colour);
            else
                canvas.Line(c.x1, c.y1, c.x2, c.y2);
            break;
        case Call::Print:
            canvas.Line(c.x1, c.y1, c.x1, c.y1);
            canvas.Print(c.text);
            break;
        }
    }
}

// The plainest drawing of the calls: each line alone, a pixel per step
// between its rounded ends, over whatever was drawn before.
std::map<Pixel, int> countPerCall(const RecordingCanvas &recording, const RasterCanvas &mapping)
{
    PixelBuffer pixels(RasterCanvas::kLogicalWidth, RasterCanvas::kLogicalHeight, 1.0);
    pixels.fill(kWhitePixel);
    for (const Call &c : recording.calls) {
        if (c.kind != Call::Line || (c.x1 == c.x2 && c.y1 == c.y2))
            continue;
        const DevicePoint a = mapping.toDevice(c.x1, c.y1);
        const DevicePoint b = mapping.toDevice(c.x2, c.y2);
        const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        for (int i = 0; i <= steps; ++i) {
            const int x = a.x + int(std::lround(double(b.x - a.x) * i / steps));
            const int y = a.y + int(std::lround(double(b.y - a.y) * i / steps));
            pixels.setPixel(x, y, toPixel(c.colour.value_or(rgb(0, 0, 0))));
        }
    }
    return countColours(pixels);
}

// Red, drawn last at every step, lies on top only where it really crosses:
// each colour keeps the share that drawing each call alone, in order,
// gives it. Corners of the staircases are taken back, so the counts may
// differ a little, never by a whole band.
TEST(raster_canvas, draws_the_dense_plot_in_call_order)
{
    BlockText text;
    RasterCanvas plotted(1.0, &text);
    runPlotCommand(PlotCommand::All, plotted, kDense);
    const RecordingCanvas recording = recordPlot(PlotCommand::All, kDense);

    RasterCanvas oneByOne(1.0, &text);
    replay(recording, oneByOne);
    EXPECT_TRUE(samePixels(plotted.pixels(), oneByOne.pixels()));

    std::map<Pixel, int> drawn = countColours(plotted.pixels());
    std::map<Pixel, int> perCall = countPerCall(recording, plotted);
    for (const Colour colour : {kWave1Colour, kWave2Colour, kResultantColour}) {
        const double expected = perCall[toPixel(colour)];
        EXPECT_GT(expected, 10000);
        EXPECT_NEAR(drawn[toPixel(colour)], expected, 0.02 * expected) << "colour " << colour;
    }
}

// A later call lies over an earlier one wherever they cross, whatever their
// colours, and a curve's joint is drawn again when something crossed it.
TEST(raster_canvas, lets_a_later_line_lie_over_an_earlier_one)
{
    RasterCanvas canvas;
    const DevicePoint crossing = canvas.toDevice(5000, 3000);
    canvas.Line(500, 3000, 10000, 3000, kResultantColour);
    canvas.Line(5000, 500, 5000, 5500, kWave1Colour);
    EXPECT_EQ(canvas.pixels().pixel(crossing.x, crossing.y), toPixel(kWave1Colour));
    canvas.Line(500, 3000, 10000, 3000, kResultantColour);
    EXPECT_EQ(canvas.pixels().pixel(crossing.x, crossing.y), toPixel(kResultantColour));

    // Blue ends at the joint, green crosses it, blue goes on from it.
    const DevicePoint joint = canvas.toDevice(2000, 2000);
    canvas.Line(1000, 1000, 2000, 2000, kWave1Colour);
    canvas.Line(1000, 2000, 3000, 2000, kWave2Colour);
    canvas.Line(2000, 2000, 3000, 3000, kWave1Colour);
    EXPECT_EQ(canvas.pixels().pixel(joint.x, joint.y), toPixel(kWave1Colour));
}

// The pixels of one colour that touch a given pixel, diagonals included.
int neighbours(const PixelBuffer &pixels, int x, int y, Pixel colour)
{
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            n += (dx || dy) && pixels.contains(x + dx, y + dy) && pixels.pixel(x + dx, y + dy) == colour;
    return n;
}

struct ThinCase {
    const char *name;
    SliderPositions positions;
    friend void PrintTo(const ThinCase &c, std::ostream *os) { *os << c.name; }
};

class thin_curve : public ::testing::TestWithParam<ThinCase> {};

// "Onda 1" alone: its blue pixels form one clean chain. Away from the rows
// of its peaks, where the curve turns, every pixel touches exactly one or
// two others: no stray dots, no doubled joints, no staircase corners.
TEST_P(thin_curve, is_one_pixel_thick_and_connected)
{
    RasterCanvas canvas;
    runPlotCommand(PlotCommand::Wave1, canvas, GetParam().positions);
    const PixelBuffer &pixels = canvas.pixels();
    const Pixel blue = toPixel(kWave1Colour);
    const int top = canvas.toDevice(0, 500).y;
    const int bottom = canvas.toDevice(0, 5500).y;

    int checked = 0;
    for (int y = top + 5; y <= bottom - 5; ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            if (pixels.pixel(x, y) != blue)
                continue;
            const int n = neighbours(pixels, x, y, blue);
            ASSERT_TRUE(n == 1 || n == 2) << "pixel (" << x << ", " << y << ") touches " << n;
            ++checked;
        }
    EXPECT_GT(checked, 500);
}

INSTANTIATE_TEST_SUITE_P(settings, thin_curve, ::testing::Values(
    ThinCase{"worked_example", {20, 0, 10, 0, 0, 0, 100}},
    ThinCase{"slow_wave", {5, 0, 3, 0, 0, 0, 100}},
    ThinCase{"fast_wave", {50, 0, 100, 0, 1000, 0, 100}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(raster_canvas, draws_lines_one_logical_pixel_wide)
{
    for (const double ratio : {1.0, 1.5, 2.0, 3.0}) {
        RasterCanvas canvas(ratio);
        canvas.Line(500, 3000, 10000, 3000, kResultantColour);
        const PixelBuffer &pixels = canvas.pixels();
        int rows = 0;
        for (int y = 0; y < pixels.height(); ++y)
            rows += pixels.pixel(pixels.width() / 2, y) == toPixel(kResultantColour);
        EXPECT_EQ(rows, RasterCanvas::lineWidth(ratio)) << "ratio " << ratio;
    }
    EXPECT_EQ(RasterCanvas::lineWidth(1.25), 1);
    EXPECT_EQ(RasterCanvas::lineWidth(2.0), 2);
}

// The scale's edges fall on the outermost pixels, pen included, and what
// lies beyond them is clipped rather than wrapped onto another row.
TEST(raster_canvas, maps_the_scale_edges_onto_the_outermost_pixels_and_clips)
{
    for (const double ratio : {1.0, 2.0}) {
        RasterCanvas canvas(ratio);
        const PixelBuffer &pixels = canvas.pixels();
        const int pen = RasterCanvas::lineWidth(ratio);
        EXPECT_EQ(canvas.toDevice(0, 0), (DevicePoint{0, 0}));
        EXPECT_EQ(canvas.toDevice(10500, 6000), (DevicePoint{pixels.width() - pen, pixels.height() - pen}));

        canvas.Line(-5000, 6000, 20000, 6000, kWave2Colour);
        canvas.Line(12000, -100, 12000, 7000, kWave1Colour);
        const std::map<Pixel, int> counts = countColours(pixels);
        EXPECT_EQ(counts.at(toPixel(kWave2Colour)), pixels.width() * pen);
        EXPECT_FALSE(counts.contains(toPixel(kWave1Colour)));
    }
}

// Moving to a screen of another ratio draws the kept calls again: the
// picture is the one the same plot gives there, labels in their place.
TEST(raster_canvas, draws_its_picture_again_at_a_new_ratio)
{
    BlockText text;
    RasterCanvas moved(2.0, &text);
    runPlotCommand(PlotCommand::All, moved, kExample);
    moved.setRatio(1.0);

    RasterCanvas direct(1.0, &text);
    runPlotCommand(PlotCommand::All, direct, kExample);
    EXPECT_TRUE(samePixels(moved.pixels(), direct.pixels()));

    moved.setRatio(2.0);
    RasterCanvas direct2(2.0, &text);
    runPlotCommand(PlotCommand::All, direct2, kExample);
    EXPECT_TRUE(samePixels(moved.pixels(), direct2.pixels()));
}

// Labels are drawn at their moment: a curve drawn after a time label lies
// over it, and a Cls forgets both.
TEST(raster_canvas, draws_text_in_its_place_in_the_order)
{
    BlockText text;
    RasterCanvas canvas(1.0, &text);
    canvas.Line(4200, 3100, 4200, 3100);
    canvas.Print("4.0");
    const DevicePoint label = canvas.toDevice(4200, 3100);
    EXPECT_EQ(canvas.pixels().pixel(label.x + 2, label.y + 2), kBlackPixel);

    canvas.Line(4000, 3160, 5000, 3160, kWave1Colour);
    const DevicePoint through = canvas.toDevice(4300, 3160);
    EXPECT_EQ(canvas.pixels().pixel(through.x, through.y), toPixel(kWave1Colour));

    canvas.Cls();
    EXPECT_EQ(countColours(canvas.pixels()).at(kWhitePixel), canvas.pixels().width() * canvas.pixels().height());
}

} // namespace
