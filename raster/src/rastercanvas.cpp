#include "raster/rastercanvas.h"

#include "plot/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vorel {
namespace {

// The plot box's foreground colour: lines and text drawn without a colour
// of their own.
constexpr Colour kForeground = rgb(0, 0, 0);

// Canvas positions far outside the area are held here before they become
// integers, so that no conversion overflows; such lines are clipped anyway.
constexpr double kFarAway = 1 << 20;

// The nearest pixel, halves upwards. Written out rather than a call to the
// C library: it runs twice for every line. Not a number counts as far away.
int toDeviceCoordinate(double v)
{
    const double shifted = (v > -kFarAway ? std::min(v, kFarAway) : -kFarAway) + 0.5;
    const int truncated = static_cast<int>(shifted);
    return truncated - (shifted < truncated ? 1 : 0);
}

// Two unit steps along different axes: a across, then b down, or the other
// way round.
inline bool isStaircase(DevicePoint a, DevicePoint b, DevicePoint c)
{
    const int ax = b.x - a.x, ay = b.y - a.y;
    const int bx = c.x - b.x, by = c.y - b.y;
    const bool firstAlongX = std::abs(ax) == 1 && ay == 0;
    const bool firstAlongY = ax == 0 && std::abs(ay) == 1;
    const bool secondAlongX = std::abs(bx) == 1 && by == 0;
    const bool secondAlongY = bx == 0 && std::abs(by) == 1;
    return (firstAlongX && secondAlongY) || (firstAlongY && secondAlongX);
}

} // namespace

RasterCanvas::RasterCanvas(double ratio, TextDrawer *textDrawer)
    : m_pixels(kLogicalWidth, kLogicalHeight, ratio), m_textDrawer(textDrawer)
{
    setScale();
    Cls();
}

int RasterCanvas::lineWidth(double ratio)
{
    return std::max(1, static_cast<int>(std::lround(ratio)));
}

void RasterCanvas::setScale()
{
    m_pen = lineWidth(m_pixels.ratio());
    m_scaleX = double(m_pixels.width() - m_pen) / kCanvasWidth;
    m_scaleY = double(m_pixels.height() - m_pen) / kCanvasHeight;
}

DevicePoint RasterCanvas::toDevice(float x, float y) const
{
    return {toDeviceCoordinate(double(x) * m_scaleX), toDeviceCoordinate(double(y) * m_scaleY)};
}

DevicePoint RasterCanvas::toDevice(float x, float y, int deviceWidth, int deviceHeight, double ratio)
{
    const int pen = lineWidth(ratio);
    return {toDeviceCoordinate(double(x) * (double(deviceWidth - pen) / kCanvasWidth)),
            toDeviceCoordinate(double(y) * (double(deviceHeight - pen) / kCanvasHeight))};
}

void RasterCanvas::Cls()
{
    m_calls.clear();
    m_texts.clear();
    m_curves.clear();
    m_currentX = 0;
    m_currentY = 0;
    m_drawn = false;
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2)
{
    Line(x1, y1, x2, y2, kForeground);
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    m_currentX = x2;
    m_currentY = y2;
    if ((x1 == x2 && y1 == y2) || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2)
        || !std::isfinite(y2))
        return;
    m_drawn = false;

    // The curves drawn together step by step are few: a plain search.
    std::size_t slot = 0;
    while (slot < m_curves.size() && m_curves[slot].colour != colour)
        ++slot;
    bool continues = false;
    if (slot == m_curves.size()) {
        m_curves.push_back({colour, x2, y2, 0});
    } else {
        OpenCurve &curve = m_curves[slot];
        continues = curve.endX == x1 && curve.endY == y1;
        if (continues)
            m_calls[curve.lastCall].last = false;
        curve.endX = x2;
        curve.endY = y2;
    }
    m_curves[slot].lastCall = m_calls.size();
    m_calls.push_back({x1, y1, x2, y2, colour, -1, static_cast<std::uint16_t>(slot), continues, true});
}

void RasterCanvas::Print(std::string_view text)
{
    m_drawn = false;
    m_texts.emplace_back(text);
    m_calls.push_back({m_currentX, m_currentY, m_currentX, m_currentY, kForeground,
                       static_cast<std::int32_t>(m_texts.size() - 1), 0, false, false});
}

void RasterCanvas::setRatio(double ratio)
{
    if (PixelBuffer::usableRatio(ratio) == m_pixels.ratio())
        return;
    m_pixels.setRatio(ratio);
    setScale();
    m_drawn = false;
}

void RasterCanvas::setTextDrawer(TextDrawer *textDrawer)
{
    m_textDrawer = textDrawer;
    m_drawn = false;
}

PixelBuffer &RasterCanvas::pixels()
{
    if (!m_drawn)
        drawPicture();
    return m_pixels;
}

void RasterCanvas::drawPicture()
{
    m_pixels.fill(kWhitePixel);
    m_paths.assign(m_curves.size(), Path{});
    // Lines inside the area, every curve among them, skip the bounds checks.
    const int right = m_pixels.width() - m_pen;
    const int bottom = m_pixels.height() - m_pen;
    for (const Call &call : m_calls) {
        if (call.text >= 0) {
            drawText(call);
            continue;
        }
        Path &path = m_paths[call.curve];
        const DevicePoint a = toDevice(call.x1, call.y1);
        const DevicePoint b = toDevice(call.x2, call.y2);
        const bool inside = std::min(a.x, b.x) >= 0 && std::min(a.y, b.y) >= 0
                         && std::max(a.x, b.x) <= right && std::max(a.y, b.y) <= bottom;
        if (!inside)
            drawLine<true, 0>(call, a, b, path);
        else if (m_pen == 1)
            drawLine<false, 1>(call, a, b, path);
        else if (m_pen == 2)
            drawLine<false, 2>(call, a, b, path);
        else
            drawLine<false, 0>(call, a, b, path);
    }
    m_drawn = true;
}

void RasterCanvas::drawText(const Call &call)
{
    const std::string &text = m_texts[static_cast<std::size_t>(call.text)];
    if (!m_textDrawer || text.empty() || !std::isfinite(call.x1) || !std::isfinite(call.y1))
        return;
    const DevicePoint at = toDevice(call.x1, call.y1);
    m_textDrawer->drawText(m_pixels, at.x, at.y, text, kForeground);
}

// Takes the next pixel of a curve's path. The pixel that waited for it is
// now known to be a corner or not, and is laid or left out; the new one
// waits in its turn.
template <bool Clipped, int Pen>
void RasterCanvas::extend(Path &path, DevicePoint next, Pixel pixel)
{
    if (path.hasPending) {
        if (next == path.pending)
            return;
        const bool corner = path.hasBefore && !path.beforeIsCorner && isStaircase(path.before, path.pending, next);
        if (!corner)
            stamp<Clipped, Pen>(path.pending, pixel);
        path.before = path.pending;
        path.beforeIsCorner = corner;
        path.hasBefore = true;
    }
    path.pending = next;
    path.hasPending = true;
}

// An integer line from pixel to pixel, both ends included, one pixel per
// step along the longer axis. Such a line never steps along one axis and
// then along the other, so a corner can only be where two Lines meet: only
// the first two pixels go through the path's reckoning, the pixels between
// are laid at once, and the last one waits for the next Line of the curve.
// A Line that nothing continues lays it too, as no corner.
//
// A pixel laid here for its Line may come later than that Line in the order
// (the one that waited), but it is laid before or by the curve's next Line,
// which covers that pixel again anyway: the picture is the one the order
// gives.
template <bool Clipped, int Pen>
void RasterCanvas::drawLine(const Call &call, DevicePoint a, DevicePoint b, Path &path)
{
    const Pixel pixel = toPixel(call.colour);
    if (!call.continues)
        path = Path{};
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    const int steps = std::max(dx, -dy);
    int err = dx + dy;
    DevicePoint p = a;
    auto step = [&] {
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    };

    extend<Clipped, Pen>(path, a, pixel);
    if (steps > 0) {
        step();
        extend<Clipped, Pen>(path, p, pixel);
    }
    if (steps > 1) {
        DevicePoint before = p;
        if constexpr (!Clipped && Pen > 0) {
            // A pen of known size inside the area: plain stores.
            const std::ptrdiff_t width = m_pixels.width();
            Pixel *at = m_pixels.data() + std::ptrdiff_t(p.y) * width + p.x;
            for (int i = 1; i < steps; ++i) {
                for (int y = 0; y < Pen; ++y)
                    for (int x = 0; x < Pen; ++x)
                        at[y * width + x] = pixel;
                before = p;
                const int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    p.x += sx;
                    at += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    p.y += sy;
                    at += sy * width;
                }
            }
        } else {
            for (int i = 1; i < steps; ++i) {
                stamp<Clipped, Pen>(p, pixel);
                before = p;
                step();
            }
        }
        path.before = before;
        path.beforeIsCorner = false;
        path.pending = p;
    }
    if (call.last)
        stamp<Clipped, Pen>(path.pending, pixel);
}

template <bool Clipped, int Pen>
void RasterCanvas::stamp(DevicePoint p, Pixel pixel)
{
    const int pen = Pen > 0 ? Pen : m_pen;
    for (int y = p.y; y < p.y + pen; ++y)
        for (int x = p.x; x < p.x + pen; ++x)
            if (!Clipped || m_pixels.contains(x, y))
                m_pixels.setPixel(x, y, pixel);
}

} // namespace vorel
