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
    m_currentX = 0;
    m_currentY = 0;
    m_pixels.fill(kWhitePixel);
    resetStrokes();
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2)
{
    Line(x1, y1, x2, y2, kForeground);
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    m_calls.push_back({x1, y1, x2, y2, colour, -1});
    drawLine(x1, y1, x2, y2, colour);
}

void RasterCanvas::Print(std::string_view text)
{
    m_texts.emplace_back(text);
    m_calls.push_back({m_currentX, m_currentY, m_currentX, m_currentY, kForeground,
                       static_cast<int>(m_texts.size() - 1)});
    drawText(m_texts.back());
}

void RasterCanvas::setRatio(double ratio)
{
    if (PixelBuffer::usableRatio(ratio) == m_pixels.ratio())
        return;
    m_pixels.setRatio(ratio);
    setScale();
    replay();
}

void RasterCanvas::replay()
{
    m_pixels.fill(kWhitePixel);
    resetStrokes();
    m_currentX = 0;
    m_currentY = 0;
    for (const Call &call : m_calls) {
        if (call.text < 0) {
            drawLine(call.x1, call.y1, call.x2, call.y2, call.colour);
        } else {
            m_currentX = call.x1;
            m_currentY = call.y1;
            drawText(m_texts[static_cast<std::size_t>(call.text)]);
        }
    }
}

void RasterCanvas::drawText(const std::string &text)
{
    if (!m_textDrawer || text.empty() || !std::isfinite(m_currentX) || !std::isfinite(m_currentY))
        return;
    const DevicePoint at = toDevice(m_currentX, m_currentY);
    m_textDrawer->drawText(m_pixels, at.x, at.y, text, kForeground);
}

// An integer line from pixel to pixel, both ends included, one pixel per
// step along the longer axis. A line of no length only moves the current
// position: the labels' anchors leave no dot.
void RasterCanvas::drawLine(float x1, float y1, float x2, float y2, Colour colour)
{
    m_currentX = x2;
    m_currentY = y2;
    if ((x1 == x2 && y1 == y2) || !std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2)
        || !std::isfinite(y2))
        return;

    Stroke &stroke = strokeFor(colour, x1, y1);
    // A line that goes on from its stroke starts on the stroke's last pixel.
    const DevicePoint a = stroke.hasLast ? stroke.last : toDevice(x1, y1);
    stroke.endX = x2;
    stroke.endY = y2;

    const DevicePoint b = toDevice(x2, y2);
    const Pixel pixel = toPixel(colour);
    if (stroke.hasLast && b == stroke.last) {
        // Most segments of a curve are shorter than a pixel: only the joint,
        // which a curve drawn since may cover.
        if (m_pen == 1 && m_pixels.contains(b.x, b.y)) {
            Pixel &at = m_pixels.data()[std::size_t(b.y) * std::size_t(m_pixels.width()) + b.x];
            if (at != pixel) {
                if (stroke.lastOwned)
                    stroke.under[0] = at;
                at = pixel;
            }
        } else if (b.x >= 0 && b.y >= 0 && b.x <= m_pixels.width() - m_pen && b.y <= m_pixels.height() - m_pen) {
            if (m_pen == 2)
                plot<false, 2>(stroke, b, pixel);
            else
                plot<false, 0>(stroke, b, pixel);
        } else {
            plot<true, 0>(stroke, b, pixel);
        }
        return;
    }
    // Lines inside the area, every curve among them, skip the bounds checks.
    const int right = m_pixels.width() - m_pen;
    const int bottom = m_pixels.height() - m_pen;
    const bool inside = std::min(a.x, b.x) >= 0 && std::min(a.y, b.y) >= 0
                     && std::max(a.x, b.x) <= right && std::max(a.y, b.y) <= bottom;
    if (!inside)
        trace<true, 0>(stroke, a, b, pixel);
    else if (m_pen == 1)
        trace<false, 1>(stroke, a, b, pixel);
    else if (m_pen == 2)
        trace<false, 2>(stroke, a, b, pixel);
    else
        trace<false, 0>(stroke, a, b, pixel);
}

// Only the first two pixels of a line can turn a corner with the stroke
// before it, and only its last pixel can be taken back by the next line:
// the pixels between are simply drawn.
template <bool Clipped, int Pen>
void RasterCanvas::trace(Stroke &stroke, DevicePoint a, DevicePoint b, Pixel pixel)
{
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    const int steps = std::max(dx, -dy);
    const std::ptrdiff_t width = m_pixels.width();
    // Where the pen stands, followed step by step; only inside the area.
    Pixel *at = nullptr;
    if constexpr (!Clipped)
        at = m_pixels.data() + std::ptrdiff_t(a.y) * width + a.x;
    int err = dx + dy;
    DevicePoint p = a;
    DevicePoint before = a;
    for (int i = 0;; ++i) {
        if (i < 2) {
            plot<Clipped, Pen>(stroke, p, pixel);
        } else if (i == steps) {
            // The last pixel: remembered with what lies under it, so that
            // the next line may take it back.
            stroke.prev = before;
            stroke.hasPrev = true;
            stroke.last = p;
            stroke.lastOwned = Pen > 0 ? Pen <= kMaxPen : m_pen <= kMaxPen;
            if (stroke.lastOwned)
                saveStamp<Clipped, Pen>(p, stroke.under);
            stamp<Clipped, Pen>(p, pixel);
        } else if constexpr (!Clipped && Pen > 0) {
            // A pen of known size inside the area: plain stores.
            Pixel *row = at;
            for (int y = 0; y < Pen; ++y, row += width)
                for (int x = 0; x < Pen; ++x)
                    row[x] = pixel;
        } else {
            stamp<Clipped, Pen>(p, pixel);
        }
        if (i == steps)
            break;
        before = p;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
            if constexpr (!Clipped)
                at += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
            if constexpr (!Clipped)
                at += sy * width;
        }
    }
}

void RasterCanvas::resetStrokes()
{
    for (Stroke &s : m_strokes)
        s.active = false;
    m_strokeClock = 0;
}

// A line continues the stroke of its colour when it starts exactly where
// that stroke ended; otherwise it begins a new stroke in the slot used
// longest ago. Curves drawn together step by step each keep their own.
RasterCanvas::Stroke &RasterCanvas::strokeFor(Colour colour, float x1, float y1)
{
    Stroke *found = nullptr;
    for (Stroke &s : m_strokes) {
        if (s.colour == colour && s.active) {
            found = &s;
            break;
        }
    }
    const bool continues = found && found->endX == x1 && found->endY == y1;
    if (!found) {
        found = &m_strokes[0];
        for (Stroke &s : m_strokes) {
            if (!s.active) {
                found = &s;
                break;
            }
            if (s.used < found->used)
                found = &s;
        }
    }
    if (!continues) {
        found->active = true;
        found->colour = colour;
        found->hasLast = false;
        found->hasPrev = false;
        found->lastOwned = false;
    }
    found->used = ++m_strokeClock;
    return *found;
}

// Adds one pixel to a stroke. A step across followed by a step down (or
// the other way round) is a staircase: its corner pixel would give the curve
// a doubled pixel, so it is taken back and the two steps become one
// diagonal step, provided nothing has drawn over that pixel since. Any other
// turn, a peak among them, keeps its pixel.
template <bool Clipped, int Pen>
void RasterCanvas::plot(Stroke &stroke, DevicePoint p, Pixel pixel)
{
    const int pen = Pen > 0 ? Pen : m_pen;
    if (stroke.hasLast && p == stroke.last) {
        // The joint with the previous segment: drawn again only when a
        // curve drawn since lies over it, as the segment alone would be.
        if (!stampIs<Clipped, Pen>(p, pixel)) {
            if (stroke.lastOwned)
                saveStamp<Clipped, Pen>(p, stroke.under);
            stamp<Clipped, Pen>(p, pixel);
        }
        return;
    }
    const bool cuttable = pen <= kMaxPen;
    if (cuttable && stroke.hasPrev && stroke.lastOwned && isStaircase(stroke.prev, stroke.last, p)
        && stampIs<Clipped, Pen>(stroke.last, pixel)) {
        restoreStamp<Clipped, Pen>(stroke.last, stroke.under);
        stroke.last = stroke.prev;
    }
    if (cuttable)
        saveStamp<Clipped, Pen>(p, stroke.under);
    stamp<Clipped, Pen>(p, pixel);
    stroke.prev = stroke.last;
    stroke.hasPrev = stroke.hasLast;
    stroke.last = p;
    stroke.hasLast = true;
    stroke.lastOwned = cuttable;
}

// The pen is a square of pen × pen device pixels with p at its top-left
// corner; Clipped leaves out what falls outside the area.

template <bool Clipped, int Pen>
bool RasterCanvas::stampIs(DevicePoint p, Pixel pixel) const
{
    const int pen = Pen > 0 ? Pen : m_pen;
    for (int y = p.y; y < p.y + pen; ++y)
        for (int x = p.x; x < p.x + pen; ++x)
            if ((!Clipped || m_pixels.contains(x, y)) && m_pixels.pixel(x, y) != pixel)
                return false;
    return true;
}

template <bool Clipped, int Pen>
void RasterCanvas::saveStamp(DevicePoint p, Pixel *under) const
{
    const int pen = Pen > 0 ? Pen : m_pen;
    for (int y = 0; y < pen; ++y)
        for (int x = 0; x < pen; ++x)
            if (!Clipped || m_pixels.contains(p.x + x, p.y + y))
                under[y * pen + x] = m_pixels.pixel(p.x + x, p.y + y);
}

template <bool Clipped, int Pen>
void RasterCanvas::restoreStamp(DevicePoint p, const Pixel *under)
{
    const int pen = Pen > 0 ? Pen : m_pen;
    for (int y = 0; y < pen; ++y)
        for (int x = 0; x < pen; ++x)
            if (!Clipped || m_pixels.contains(p.x + x, p.y + y))
                m_pixels.setPixel(p.x + x, p.y + y, under[y * pen + x]);
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
