#include "recordingcanvas.h"

#include "raster/rastercanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <tuple>

using namespace vorel;

namespace {

// Slider positions: A1, A2, ω1·10, ω2·10, φ1·100, φ2·100, T·10.
constexpr SliderPositions kExample{20, 10, 10, 20, 0, 0, 100};

constexpr Pixel kBlue = 0xffe10000u, kGreen = 0xff00e100u, kRed = 0xff0000e1u, kBlack = 0xff000000u,
                kWhite = 0xffffffffu;

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
                    pixels.setPixel(px, py, 0xff000000u | colour);
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

// The pixels of one colour that touch a given pixel, diagonals included.
int neighbours(const PixelBuffer &pixels, int x, int y, Pixel colour)
{
    int n = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            n += (dx || dy) && pixels.contains(x + dx, y + dy) && pixels.pixel(x + dx, y + dy) == colour;
    return n;
}

// Empty when the two pictures are the same, else where they first differ.
std::string difference(const PixelBuffer &a, const PixelBuffer &b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return "sizes differ";
    int count = 0;
    std::string first;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0)
                first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return count ? std::to_string(count) + " pixels differ, the first at " + first : "";
}

// The picture by its definition, written out as plainly as possible: every
// curve's whole pixel path first, its corners marked along it, then the
// calls laid down in their order, each Line its pixels less the corners.
PixelBuffer reference(const RecordingCanvas &recording, double ratio, TextDrawer *text = nullptr)
{
    PixelBuffer pixels(RasterCanvas::kLogicalWidth, RasterCanvas::kLogicalHeight, ratio);
    const int pen = std::max(1, int(std::lround(ratio)));
    const double sx = double(pixels.width() - pen) / 10500, sy = double(pixels.height() - pen) / 6000;
    auto device = [&](float x, float y) {
        return DevicePoint{int(std::floor(x * sx + 0.5)), int(std::floor(y * sy + 0.5))};
    };
    struct Curve { std::vector<DevicePoint> path; std::vector<bool> corner; };
    struct Open { Colour colour; float x, y; std::size_t curve; };
    // A call, and a Line's pixels as places on its curve's path.
    struct Laid { const Call *call; std::size_t curve; std::vector<std::size_t> at; };
    std::vector<Curve> curves;
    std::vector<Open> open;
    std::vector<Laid> order;
    for (const Call &c : recording.calls) {
        if (c.kind == Call::Cls) {
            curves.clear(), open.clear(), order.clear();
            continue;
        }
        if (c.kind == Call::Print)
            order.push_back({&c, 0, {}});
        if (c.kind != Call::Line || (c.x1 == c.x2 && c.y1 == c.y2))
            continue;
        const Colour colour = c.colour.value_or(0);
        auto o = std::find_if(open.begin(), open.end(), [&](const Open &o) { return o.colour == colour; });
        if (o == open.end())
            o = open.insert(open.end(), {colour, 0, 0, 0});
        if (o->curve >= curves.size() || o->x != c.x1 || o->y != c.y1) {
            o->curve = curves.size();
            curves.emplace_back();
        }
        o->x = c.x2, o->y = c.y2;
        // Nearest the exact line at each step along the longer axis, a tie
        // towards the end.
        const DevicePoint a = device(c.x1, c.y1), b = device(c.x2, c.y2);
        const int n = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        auto along = [n](int d, int i) {
            const int m = n ? (2 * i * std::abs(d) + n) / (2 * n) : 0;
            return d < 0 ? -m : m;
        };
        Laid laid{&c, o->curve, {}};
        std::vector<DevicePoint> &path = curves[o->curve].path;
        for (int i = 0; i <= n; ++i) {
            const DevicePoint p{a.x + along(b.x - a.x, i), a.y + along(b.y - a.y, i)};
            if (path.empty() || !(path.back() == p))
                path.push_back(p);
            laid.at.push_back(path.size() - 1);
        }
        order.push_back(std::move(laid));
    }
    for (Curve &curve : curves) {
        const std::vector<DevicePoint> &p = curve.path;
        curve.corner.assign(p.size(), false);
        auto unit = [](DevicePoint from, DevicePoint to) { return std::abs(to.x - from.x) + std::abs(to.y - from.y) == 1; };
        for (std::size_t k = 1; k + 1 < p.size(); ++k)
            curve.corner[k] = !curve.corner[k - 1] && unit(p[k - 1], p[k]) && unit(p[k], p[k + 1])
                           && (p[k].x == p[k - 1].x) != (p[k + 1].x == p[k].x);
    }
    pixels.fill(kWhite);
    for (const Laid &laid : order) {
        const Call &c = *laid.call;
        if (c.kind == Call::Print) {
            if (text)
                text->drawText(pixels, device(c.x1, c.y1).x, device(c.x1, c.y1).y, c.text, 0);
            continue;
        }
        const Curve &curve = curves[laid.curve];
        for (std::size_t at : laid.at)
            for (int y = 0; y < pen * !curve.corner[at]; ++y)
                for (int x = 0; x < pen; ++x)
                    if (pixels.contains(curve.path[at].x + x, curve.path[at].y + y))
                        pixels.setPixel(curve.path[at].x + x, curve.path[at].y + y, 0xff000000u | c.colour.value_or(0));
    }
    return pixels;
}

struct PictureCase {
    const char *name;
    PlotCommand command;
    SliderPositions positions;
    friend void PrintTo(const PictureCase &c, std::ostream *os) { *os << c.name; }
};

const PictureCase kPictures[] = {
    {"example", PlotCommand::All, kExample},
    {"identical_waves_vorel", PlotCommand::BothWaves, {10, 10, 10, 10, 0, 0, 100}},
    {"identical_waves_todas", PlotCommand::All, {10, 10, 10, 10, 0, 0, 100}},
    {"a1_zero", PlotCommand::All, {0, 20, 10, 10, 0, 0, 100}},
    {"a2_zero", PlotCommand::All, {20, 0, 10, 10, 0, 0, 100}},
    {"dense", PlotCommand::All, {50, 50, 100, 73, 0, 0, 1000}},
    {"phases", PlotCommand::All, {30, 20, 37, 52, 123, 456, 250}},
};

class raster_picture : public ::testing::TestWithParam<std::tuple<PictureCase, double>> {};

TEST_P(raster_picture, is_the_one_its_definition_gives)
{
    const auto [c, ratio] = GetParam();
    BlockText text;
    RasterCanvas canvas(ratio, &text);
    runPlotCommand(c.command, canvas, c.positions);
    EXPECT_EQ(difference(canvas.pixels(), reference(recordPlot(c.command, c.positions), ratio, &text)), "");
}

INSTANTIATE_TEST_SUITE_P(plots, raster_picture,
    ::testing::Combine(::testing::ValuesIn(kPictures), ::testing::Values(1.0, 1.5, 2.0, 3.0)),
    [](const auto &info) {
        const double ratio = std::get<1>(info.param);
        return std::string(std::get<0>(info.param).name) + "_ratio_" + std::to_string(int(ratio))
             + (ratio != std::floor(ratio) ? "_5" : "");
    });

// Stands in for a font engine that blends with what lies under the text:
// a small block of inverted pixels.
class InvertingText final : public TextDrawer {
public:
    void drawText(PixelBuffer &pixels, int x, int y, std::string_view, Colour) override
    {
        for (int py = y; py < y + 3; ++py)
            for (int px = x; px < x + 2; ++px)
                if (pixels.contains(px, py))
                    pixels.setPixel(px, py, pixels.pixel(px, py) ^ 0x00ffffffu);
    }
};

// Short Lines of four colours crowded into a few pixels, curves crossing
// and turning on each other's pixels, texts among them, the picture looked
// at and the ratio changed between calls: at every look it is the one the
// calls so far give.
TEST(raster_picture, is_the_one_its_definition_gives_at_every_look_between_calls)
{
    const Colour colours[] = {kWave1Colour, kWave2Colour, kResultantColour, 0};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        auto chance = [&](int percent) { return int(random() % 100) < percent; };
        auto near = [&](float from) { return from + 15.0f * float(int(random() % 7) - 3); };
        InvertingText text;
        double ratio = 1.0;
        RasterCanvas canvas(ratio, &text);
        RecordingCanvas calls;
        float ends[4][2] = {};
        for (int i = 0; i < 300; ++i) {
            // In half the runs the curves take turns, as a plot's do.
            const int c = seed % 2 ? i % 3 : int(random() % 4);
            if (chance(4)) {
                const float x = near(3000), y = near(3000);
                calls.Line(x, y, x, y);
                calls.Print("a");
                canvas.Line(x, y, x, y);
                canvas.Print("a");
            } else if (chance(3)) {
                ratio = std::vector{1.0, 1.5, 2.0, 3.0}[random() % 4];
                canvas.setRatio(ratio);
            } else if (chance(5)) {
                ASSERT_EQ(difference(canvas.pixels(), reference(calls, ratio, &text)), "")
                    << "seed " << seed << ", call " << i << ", ratio " << ratio;
            } else {
                const bool from = ends[c][0] != 0 && chance(90);
                const float x1 = from ? ends[c][0] : near(3000), y1 = from ? ends[c][1] : near(3000);
                const float x2 = near(x1), y2 = near(y1);
                calls.Line(x1, y1, x2, y2, colours[c]);
                canvas.Line(x1, y1, x2, y2, colours[c]);
                if (!(x1 == x2 && y1 == y2))
                    ends[c][0] = x2, ends[c][1] = y2;
            }
        }
        ASSERT_EQ(difference(canvas.pixels(), reference(calls, ratio, &text)), "") << "seed " << seed;
    }
}

// Lines of one colour that meet in x but not in y are two curves: the
// pixel below the first line's end is no corner of the first.
TEST(raster_picture, joins_only_lines_that_start_where_the_last_one_ended)
{
    RecordingCanvas calls;
    calls.Line(1000, 1500, 2000, 1500, kResultantColour);
    calls.Line(2000, 1515, 3000, 1515, kResultantColour);
    calls.Line(3000, 1515, 3000, 2000, kResultantColour);
    calls.Line(2500, 500, 2500, 2500, kWave1Colour);
    calls.Line(3000, 2000, 3015, 2015, kResultantColour);
    for (const double ratio : {1.0, 1.5, 2.0}) {
        RasterCanvas canvas(ratio);
        for (const Call &c : calls.calls)
            canvas.Line(c.x1, c.y1, c.x2, c.y2, *c.colour);
        EXPECT_EQ(difference(canvas.pixels(), reference(calls, ratio)), "") << "ratio " << ratio;
    }
}

// Two identical waves: green covers blue completely.
TEST(raster_picture, shows_no_blue_under_the_green_of_identical_waves)
{
    for (const PlotCommand command : {PlotCommand::BothWaves, PlotCommand::All})
        for (const SliderPositions p : {SliderPositions{10, 10, 10, 10, 0, 0, 100}, {50, 50, 37, 37, 123, 123, 250}})
            for (const double ratio : {1.0, 1.5, 2.0, 3.0}) {
                RasterCanvas canvas(ratio);
                runPlotCommand(command, canvas, p);
                const std::map<Pixel, int> counts = countColours(canvas.pixels());
                EXPECT_FALSE(counts.contains(kBlue)) << "ratio " << ratio << ", A1 = " << p.amplitude1;
                EXPECT_GT(counts.at(kGreen), 600);
            }
}

// A1 = 0: the resultant is wave 2, drawn after it at every step. Green
// shows only where the rounding of yR moves red a pixel off it: at ratio 1
// fewer than the 91 pixels that drawing each line alone leaves, and each
// beside red.
TEST(raster_picture, shows_wave_2_under_an_equal_resultant_only_where_it_rounds_apart)
{
    RasterCanvas canvas;
    runPlotCommand(PlotCommand::All, canvas, {0, 20, 10, 10, 0, 0, 100});
    const PixelBuffer &pixels = canvas.pixels();
    int green = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x)
            if (pixels.pixel(x, y) == kGreen) {
                ++green;
                EXPECT_GT(neighbours(pixels, x, y, kRed), 0) << "(" << x << ", " << y << ")";
            }
    EXPECT_GT(green, 0);
    EXPECT_LE(green, 91);
}

// The frame of every plot, at ratio 1: the value axis in column 34 from
// row 33 to row 363 with its ticks from column 30, the time axis in row 198
// to column 674 with its ticks down to row 201. The labels' anchors, at
// column 7 and row 205, stay white when nothing prints there.
TEST(raster_picture, draws_the_frame_at_its_pixels)
{
    RasterCanvas canvas;
    runPlotCommand(PlotCommand::Wave1, canvas, {0, 0, 0, 0, 0, 0, 0}); // refused: stays white
    EXPECT_EQ(countColours(canvas.pixels()).at(kWhite), 709 * 397);
    RecordingCanvas frame;
    runPlotCommand(PlotCommand::Wave1, frame, {20, 0, 10, 0, 0, 0, 100});
    for (const Call &c : frame.calls)
        if (c.kind == Call::Line && !c.colour)
            canvas.Line(c.x1, c.y1, c.x2, c.y2);
        else if (c.kind == Call::Print)
            canvas.Print(c.text);

    std::set<std::pair<int, int>> expected;
    for (int y = 33; y <= 363; ++y)
        expected.insert({34, y});
    for (const int y : {33, 99, 165, 231, 297, 363})
        for (int x = 30; x <= 34; ++x)
            expected.insert({x, y});
    for (int x = 34; x <= 674; ++x)
        expected.insert({x, 198});
    for (const int x : {34, 98, 162, 226, 290, 354, 418, 482, 546, 610, 674})
        for (int y = 198; y <= 201; ++y)
            expected.insert({x, y});
    std::set<std::pair<int, int>> black;
    const PixelBuffer &pixels = canvas.pixels();
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            if (pixels.pixel(x, y) == kBlack)
                black.insert({x, y});
            else
                ASSERT_EQ(pixels.pixel(x, y), kWhite) << x << ", " << y;
        }
    EXPECT_EQ(black, expected);
    EXPECT_EQ(pixels.pixel(7, 26), kWhite);
    EXPECT_EQ(pixels.pixel(27, 205), kWhite);
}

// What the desktop and the browser read without conversion: red, green,
// blue and an opaque alpha byte, in this order in memory.
TEST(raster_picture, writes_each_colour_as_red_green_blue_and_opaque_alpha_bytes)
{
    EXPECT_EQ(kWave1Colour, 14745600u);
    EXPECT_EQ(kWave2Colour, 57600u);
    EXPECT_EQ(kResultantColour, 225u);
    const struct {
        Colour colour;
        float y;
        std::uint8_t bytes[4];
    } lines[] = {{kWave1Colour, 1000, {0, 0, 225, 255}},
                 {kWave2Colour, 2000, {0, 225, 0, 255}},
                 {kResultantColour, 4000, {225, 0, 0, 255}}};
    RasterCanvas canvas;
    for (const auto &line : lines)
        canvas.Line(500, line.y, 10000, line.y, line.colour);
    const std::uint8_t *bytes = reinterpret_cast<const std::uint8_t *>(canvas.pixels().data());
    for (const auto &line : lines) {
        const std::size_t at = (std::size_t(std::lround(line.y * 0.066)) * 709 + 300) * 4;
        EXPECT_EQ(std::vector(bytes + at, bytes + at + 4), std::vector(line.bytes, line.bytes + 4)) << line.colour;
    }
    EXPECT_EQ(std::vector(bytes, bytes + 4), (std::vector<std::uint8_t>{255, 255, 255, 255}));
}

// 709 × 397 logical pixels at 1.5 are 1063.5 × 595.5 device pixels, which
// the toolkits round up to 1064 × 596; the pen is 2 pixels.
TEST(raster_picture, sizes_its_buffer_to_the_nearest_device_pixel)
{
    EXPECT_EQ(PixelBuffer::deviceLength(709, 1.5), 1064);
    EXPECT_EQ(PixelBuffer::deviceLength(397, 1.5), 596);
    RasterCanvas canvas(1.5);
    EXPECT_EQ(canvas.pixels().width(), 1064);
    EXPECT_EQ(canvas.pixels().height(), 596);
    for (const auto &[ratio, pen] : {std::pair{1.0, 1}, {1.5, 2}, {2.0, 2}, {3.0, 3}})
        EXPECT_EQ(RasterCanvas::lineWidth(ratio), pen);
}

// The scale's edges fall on the outermost pixels, pen included, and what
// lies beyond them is clipped rather than wrapped onto another row.
TEST(raster_canvas, maps_the_scale_edges_onto_the_outermost_pixels_and_clips)
{
    const struct {
        double ratio;
        int right, bottom, pen;
    } cases[] = {{1.0, 708, 396, 1}, {2.0, 1416, 792, 2}};
    for (const auto &c : cases) {
        RasterCanvas canvas(c.ratio);
        EXPECT_EQ(canvas.toDevice(0, 0), (DevicePoint{0, 0}));
        EXPECT_EQ(canvas.toDevice(10500, 6000), (DevicePoint{c.right, c.bottom}));
        canvas.Line(-5000, 6000, 20000, 6000, kWave2Colour);
        canvas.Line(12000, -100, 12000, 7000, kWave1Colour);
        const std::map<Pixel, int> counts = countColours(canvas.pixels());
        EXPECT_EQ(counts.at(kGreen), (c.right + c.pen) * c.pen);
        EXPECT_FALSE(counts.contains(kBlue));
        EXPECT_EQ(canvas.pixels().pixel(c.right, c.bottom), kGreen);
    }
}

// Moving to a screen of another ratio draws the kept calls again: the
// picture is the one the same plot gives there, labels in their place.
TEST(raster_canvas, draws_its_picture_again_at_a_new_ratio)
{
    BlockText text;
    RasterCanvas moved(2.0, &text);
    runPlotCommand(PlotCommand::All, moved, kExample);
    moved.pixels();
    moved.setRatio(1.0);

    RasterCanvas direct(1.0, &text);
    runPlotCommand(PlotCommand::All, direct, kExample);
    EXPECT_EQ(difference(moved.pixels(), direct.pixels()), "");

    moved.setRatio(2.0);
    RasterCanvas direct2(2.0, &text);
    runPlotCommand(PlotCommand::All, direct2, kExample);
    EXPECT_EQ(difference(moved.pixels(), direct2.pixels()), "");
}

// A plot clears what was there: drawn again at another ratio, the picture
// holds the last plot only.
TEST(raster_canvas, draws_only_the_last_plot_after_a_ratio_change)
{
    RasterCanvas canvas;
    runPlotCommand(PlotCommand::All, canvas, kExample);
    canvas.pixels();
    runPlotCommand(PlotCommand::Wave1, canvas, {20, 0, 10, 0, 0, 0, 100});
    canvas.pixels();
    canvas.setRatio(2.0);
    const std::map<Pixel, int> counts = countColours(canvas.pixels());
    EXPECT_FALSE(counts.contains(kGreen));
    EXPECT_FALSE(counts.contains(kRed));
    EXPECT_GT(counts.at(kBlue), 1000);
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
    int checked = 0;
    for (int y = 33 + 5; y <= 363 - 5; ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            if (pixels.pixel(x, y) != kBlue)
                continue;
            const int n = neighbours(pixels, x, y, kBlue);
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

// Labels are drawn at their moment: a curve drawn after a time label lies
// over it, one drawn before lies under it, and a Cls forgets both.
TEST(raster_canvas, draws_text_in_its_place_in_the_order)
{
    BlockText text;
    RasterCanvas canvas(1.0, &text);
    canvas.Line(4000, 3130, 5000, 3130, kWave2Colour); // row 207, under the label
    canvas.Line(4200, 3100, 4200, 3100);
    canvas.Print("4.0");                                // columns 283 to 294, rows 205 to 211
    canvas.Line(4000, 3160, 5000, 3160, kWave1Colour); // row 209, over it
    EXPECT_EQ(canvas.pixels().pixel(285, 206), kBlack);
    EXPECT_EQ(canvas.pixels().pixel(285, 207), kBlack);
    EXPECT_EQ(canvas.pixels().pixel(285, 209), kBlue);
    EXPECT_EQ(canvas.pixels().pixel(280, 207), kGreen);

    canvas.Cls();
    EXPECT_EQ(countColours(canvas.pixels()).at(kWhite), 709 * 397);
}

} // namespace
