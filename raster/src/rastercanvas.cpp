#include "raster/rastercanvas.h"

#include "plot/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

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

// The pixels of an integer line between its ends, for a pen of known size
// inside the area: plain stores. Each step goes along the longer axis, and
// along the other as the error says, as in the general loop below. Apart,
// so that the loop keeps its registers.
template <int Pen>
[[gnu::noinline]] void layBetween(Pixel *at, std::ptrdiff_t width, int steps, int dx, int dy, int sx, int sy,
                                  Pixel pixel)
{
    int err = dx + dy;
    const std::ptrdiff_t down = sy * width;
    const auto lay = [&] {
        for (int y = 0; y < Pen; ++y)
            for (int x = 0; x < Pen; ++x)
                at[y * width + x] = pixel;
    };
    if (dx == 0) {
        // Straight down or up, as most of a dense curve's Lines are.
        for (int i = 1; i < steps; ++i) {
            at += down;
            lay();
        }
    } else if (dx >= -dy) {
        for (int i = 1; i < steps; ++i) {
            if (2 * err <= dx) {
                err += dx;
                at += down;
            }
            err += dy;
            at += sx;
            lay();
        }
    } else {
        for (int i = 1; i < steps; ++i) {
            if (2 * err >= dy) {
                err += dy;
                at += sx;
            }
            err += dx;
            at += down;
            lay();
        }
    }
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
    m_right = m_pixels.width() - m_pen;
    m_bottom = m_pixels.height() - m_pen;
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
    m_waitingCount = 0;
    m_recordCount = 0;
    m_texts.clear();
    m_curves.clear();
    m_last = m_predicted = kNoCurve;
    m_currentX = 0;
    m_currentY = 0;
    m_pixels.fill(kWhitePixel);
    m_stale = false;
}

template <bool Clipped, int Pen>
inline void RasterCanvas::layEnd(Curve &curve, Joint joint)
{
    if (curve.into == Step::Other || joint == Joint::NoCorner) {
        stamp<Clipped, Pen>(curve.end, curve.pixel);
        return;
    }
    if (joint == Joint::Corner)
        return;
    // Laid over what came since, with what it covers kept; laid before,
    // it is taken back first, so that it is one provisional pixel, on top.
    const bool printedOver = curve.provisional && curve.printedOver;
    if (curve.provisional)
        takeBack<Clipped, Pen>(curve);
    const int pen = Pen > 0 ? Pen : m_pen;
    const int width = m_pixels.width();
    // Held apart: a pixel is an integer that a store may alias.
    Pixel *const data = m_pixels.data();
    Pixel *const under = curve.under.data();
    const Pixel pixel = curve.pixel;
    const DevicePoint end = curve.end;
    for (int y = 0; y < pen; ++y)
        for (int x = 0; x < pen; ++x) {
            const int px = end.x + x, py = end.y + y;
            if (Clipped && !m_pixels.contains(px, py))
                continue;
            Pixel &p = data[std::ptrdiff_t(py) * width + px];
            under[y * pen + x] = p;
            p = pixel;
        }
    curve.provisional = true;
    curve.printedOver = printedOver;
    curve.layer = ++m_layers;
}

// A curve's last pixel, covered again by a Line that stays on it, inside
// the area. A provisional pixel that nothing has covered since is on top
// already.
template <int Pen>
inline void RasterCanvas::coverEnd(Curve &curve, Joint joint)
{
    const int pen = Pen > 0 ? Pen : m_pen;
    const std::ptrdiff_t width = m_pixels.width();
    Pixel *at = m_pixels.data() + std::ptrdiff_t(curve.end.y) * width + curve.end.x;
    if (curve.into == Step::Other || joint == Joint::NoCorner) {
        for (int y = 0; y < pen; ++y)
            for (int x = 0; x < pen; ++x)
                at[y * width + x] = curve.pixel;
        return;
    }
    if (joint == Joint::Corner)
        return;
    bool shows = curve.provisional;
    for (int y = 0; y < pen; ++y)
        for (int x = 0; x < pen; ++x)
            shows &= at[y * width + x] == curve.pixel;
    if (!shows)
        layEnd<false, Pen>(curve, joint);
}

// Grown apart, so that keeping a record costs Line a store.
inline void RasterCanvas::keep(Record record)
{
    if (m_recordCount == m_recordRoom) [[unlikely]]
        growRecords();
    m_records[m_recordCount++] = record;
}

void RasterCanvas::growRecords()
{
    m_records.resize(std::max<std::size_t>(1024, 2 * m_records.size()));
    m_recordRoom = m_records.size();
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2)
{
    Line(x1, y1, x2, y2, kForeground);
}

void RasterCanvas::Line(float x1, float y1, float x2, float y2, Colour colour)
{
    colour &= 0xffffffu;
    m_currentX = x2;
    m_currentY = y2;
    if (x1 == x2 && y1 == y2)
        return;
    // A plot's Lines go on from the last Line of their curve, and their
    // curves come in turn, so the curve is most likely the one that came
    // after the last one the last time. Inside the area both ends are
    // finite and their pixels need no clamping.
    if (!m_stale && m_predicted != kNoCurve) {
        Curve &curve = m_curves[m_predicted];
        if (curve.colour == colour && curve.endX == x1 && curve.endY == y1 && x2 >= 0 && y2 >= 0
            && x2 <= float(kCanvasWidth) && y2 <= float(kCanvasHeight) && curve.endInside) {
            keep({x2, y2, colour | kLineTo});
            Waiting &waiting = m_waiting[m_waitingCount++];
            waiting.curve = std::uint32_t(m_predicted);
            waiting.to = {int(double(x2) * m_scaleX + 0.5), int(double(y2) * m_scaleY + 0.5)};
            m_last = m_predicted;
            m_predicted = curve.follower;
            curve.endX = x2;
            curve.endY = y2;
            if (m_waitingCount == kWaitingRoom) [[unlikely]]
                layWaiting();
            return;
        }
    }
    addLine(x1, y1, x2, y2, colour);
}

void RasterCanvas::layWaiting()
{
    if (m_pen == 1)
        layWaitingWith<1>();
    else if (m_pen == 2)
        layWaitingWith<2>();
    else
        layWaitingWith<0>();
    m_waitingCount = 0;
}

template <int Pen>
void RasterCanvas::layWaitingWith()
{
    for (std::size_t i = 0; i < m_waitingCount; ++i) {
        const Waiting w = m_waiting[i];
        Curve &curve = m_curves[w.curve];
        std::uint32_t joint = 0;
        // Most are far shorter than a pixel, and only cover the pixel they
        // start from again.
        if (w.to == curve.end)
            coverEnd<Pen>(curve, Joint::Undecided);
        else
            drawLine<false, Pen, true>(curve, true, curve.end, w.to, joint, false);
    }
}

void RasterCanvas::addLine(float x1, float y1, float x2, float y2, Colour colour)
{
    if (m_waitingCount)
        layWaiting();
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    keep({x1, y1, kStart});
    keep({x2, y2, colour | kLineTo});
    if (m_stale)
        return;
    std::uint32_t joint = 0;
    draw({x1, y1, x2, y2, colour}, joint, false);
}

void RasterCanvas::Print(std::string_view text)
{
    if (m_waitingCount)
        layWaiting();
    m_texts.emplace_back(text);
    keep({m_currentX, m_currentY, static_cast<std::uint32_t>(m_texts.size() - 1) | kPrint});
    if (!m_stale)
        printText(m_texts.size() - 1, m_currentX, m_currentY);
}

void RasterCanvas::setRatio(double ratio)
{
    if (PixelBuffer::usableRatio(ratio) == m_pixels.ratio())
        return;
    if (m_waitingCount)
        layWaiting();
    m_pixels.setRatio(ratio);
    setScale();
    m_stale = true;
}

void RasterCanvas::setTextDrawer(TextDrawer *textDrawer)
{
    if (m_waitingCount)
        layWaiting();
    m_textDrawer = textDrawer;
    if (m_recordCount > 0)
        m_stale = true;
}

PixelBuffer &RasterCanvas::pixels()
{
    if (m_waitingCount)
        layWaiting();
    if (m_stale) {
        redraw(false);
        // A text fell on a pixel that was taken back after it: this time
        // every corner is known before its pixel is laid.
        if (m_stale)
            redraw(true);
    }
    return m_pixels;
}

void RasterCanvas::redraw(bool known)
{
    m_pixels.fill(kWhitePixel);
    m_curves.clear();
    m_last = m_predicted = kNoCurve;
    m_stale = false;
    m_findingCorners = !known;
    if (!known)
        m_joints.assign(1, Joint::NoCorner);
    std::size_t line = 0;
    for (std::size_t i = 0; i < m_recordCount; ++i) {
        const Record &r = m_records[i];
        const std::uint32_t kind = r.word & 0xff000000u;
        if (kind == kPrint) {
            printText(r.word & 0xffffffu, r.x, r.y);
            continue;
        }
        LineCall call{r.x, r.y, 0, 0, 0};
        if (kind == kStart) {
            const Record &to = m_records[++i];
            call.x2 = to.x, call.y2 = to.y, call.colour = to.word & 0xffffffu;
        } else {
            // It went on from its curve, which is there again by now.
            call.colour = r.word & 0xffffffu;
            const auto curve = std::find_if(m_curves.begin(), m_curves.end(),
                                            [&](const Curve &c) { return c.colour == call.colour; });
            call.x1 = curve->endX, call.y1 = curve->endY, call.x2 = r.x, call.y2 = r.y;
        }
        if (line == m_lineJoints.size())
            m_lineJoints.push_back(0);
        draw(call, m_lineJoints[line++], known);
    }
    m_findingCorners = false;
}

void RasterCanvas::printText(std::size_t index, float x, float y)
{
    for (Curve &curve : m_curves)
        curve.printedOver |= curve.provisional;
    const std::string &text = m_texts[index];
    if (!m_textDrawer || text.empty() || !std::isfinite(x) || !std::isfinite(y))
        return;
    const DevicePoint at = toDevice(x, y);
    m_textDrawer->drawText(m_pixels, at.x, at.y, text, kForeground);
}

void RasterCanvas::draw(const LineCall &line, std::uint32_t &joint, bool known)
{
    // The curves drawn together step by step are few: a plain search.
    std::size_t slot = 0;
    while (slot < m_curves.size() && m_curves[slot].colour != line.colour)
        ++slot;
    if (slot == m_curves.size()) {
        Curve &curve = m_curves.emplace_back();
        curve.colour = line.colour;
        curve.pixel = toPixel(line.colour);
        curve.endX = curve.endY = std::numeric_limits<float>::quiet_NaN(); // continued by nothing
        curve.provisional = false;
        curve.follower = kNoCurve;
        curve.under.resize(std::size_t(m_pen) * std::size_t(m_pen));
    }
    if (m_last < m_curves.size())
        m_curves[m_last].follower = slot;
    m_last = slot;
    m_predicted = m_curves[slot].follower;

    Curve &curve = m_curves[slot];
    const bool continues = curve.endX == line.x1 && curve.endY == line.y1;
    const DevicePoint a = continues ? curve.end : toDevice(line.x1, line.y1);
    const DevicePoint b = toDevice(line.x2, line.y2);
    curve.endX = line.x2;
    curve.endY = line.y2;
    curve.endInside = b.x >= 0 && b.y >= 0 && b.x <= m_right && b.y <= m_bottom;
    const bool inside = std::min(a.x, b.x) >= 0 && std::min(a.y, b.y) >= 0 && std::max(a.x, b.x) <= m_right
                     && std::max(a.y, b.y) <= m_bottom;
    if (!inside)
        drawLine<true, 0>(curve, continues, a, b, joint, known);
    else if (m_pen == 1)
        drawLine<false, 1>(curve, continues, a, b, joint, known);
    else if (m_pen == 2)
        drawLine<false, 2>(curve, continues, a, b, joint, known);
    else
        drawLine<false, 0>(curve, continues, a, b, joint, known);
}

// An integer line from pixel to pixel, both ends included, one pixel per
// step along the longer axis. Such a line never steps along one axis and
// then along the other, so a corner can only be where two Lines of a curve
// meet: the pixels between the ends are laid at once, the first one is
// decided by the line's first step, and the last one is laid provisionally
// until the curve's next step decides it. Whether a line's first and last steps are diagonal follows
// from its two lengths: the first is when the shorter is at least half the
// longer, the last when it is more than half, the tie going towards the end.
template <bool Clipped, int Pen, bool Streaming>
void RasterCanvas::drawLine(Curve &curve, bool continues, DevicePoint a, DevicePoint b, std::uint32_t &joint,
                            bool known)
{
    const Pixel pixel = curve.pixel;
    const Joint end = !Streaming && known ? m_joints[joint] : Joint::Undecided;
    const bool finding = !Streaming && m_findingCorners;
    if (!continues) {
        // The curve of this colour before it ends here, its last pixel laid
        // as no corner; the new one's first pixel is none either.
        curve.provisional = false;
        curve.into = Step::Other;
        curve.joint = 0;
        curve.end = a;
        stamp<Clipped, Pen>(a, pixel);
    }
    const int dx = std::abs(b.x - a.x);
    const int dy = -std::abs(b.y - a.y);
    const int steps = std::max(dx, -dy);
    if (steps == 0) {
        // The path stays on its last pixel, which this Line covers again.
        if (continues) {
            if constexpr (Clipped)
                layEnd<true, 0>(curve, end);
            else
                coverEnd<Pen>(curve, end);
        }
        if (finding)
            joint = curve.joint;
        return;
    }
    const int shorter = std::min(dx, -dy);
    const Step along = dx > -dy ? Step::AlongX : Step::AlongY;
    const Step first = 2 * shorter >= steps ? Step::Other : along;
    bool corner = false;
    if (continues) {
        corner = curve.into != Step::Other && first != Step::Other && curve.into != first;
        if (finding)
            m_joints[curve.joint] = corner ? Joint::Corner : Joint::NoCorner;
        if (!corner)
            stamp<Clipped, Pen>(a, pixel);
        else if (curve.provisional) {
            takeBack<Clipped, Pen>(curve);
            // What a text drew over it cannot be taken back with it.
            if (curve.printedOver)
                m_stale = true;
        }
        curve.provisional = false;
    }

    const int sx = a.x < b.x ? 1 : -1;
    const int sy = a.y < b.y ? 1 : -1;
    if constexpr (!Clipped && Pen > 0) {
        const std::ptrdiff_t width = m_pixels.width();
        layBetween<Pen>(m_pixels.data() + std::ptrdiff_t(a.y) * width + a.x, width, steps, dx, dy, sx, sy, pixel);
    } else {
        DevicePoint p = a;
        int err = dx + dy;
        for (int i = 1; i < steps; ++i) {
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                p.x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                p.y += sy;
            }
            stamp<Clipped, Pen>(p, pixel);
        }
    }

    // The pixel before the last is a corner only when the line has a
    // single step; then the last cannot be one.
    if (steps == 1)
        curve.into = corner ? Step::Other : first;
    else
        curve.into = 2 * shorter > steps ? Step::Other : along;
    curve.end = b;
    if (finding) {
        curve.joint = 0;
        if (curve.into != Step::Other) {
            curve.joint = static_cast<std::uint32_t>(m_joints.size());
            m_joints.push_back(Joint::Undecided);
        }
        joint = curve.joint;
    }
    layEnd<Clipped, Pen>(curve, end);
}

// Where the provisional pixel still shows, what it covered shows again.
// Where a later provisional pixel of another curve lies over it, that one
// now covers what this one covered.
template <bool Clipped, int Pen>
void RasterCanvas::takeBack(Curve &curve)
{
    const int pen = Pen > 0 ? Pen : m_pen;
    const int width = m_pixels.width();
    Pixel *data = m_pixels.data();
    for (int y = 0; y < pen; ++y)
        for (int x = 0; x < pen; ++x) {
            const int px = curve.end.x + x, py = curve.end.y + y;
            if (Clipped && !m_pixels.contains(px, py))
                continue;
            const Pixel under = curve.under[y * pen + x];
            Pixel &p = data[std::ptrdiff_t(py) * width + px];
            if (p == curve.pixel) {
                p = under;
                continue;
            }
            for (Curve &other : m_curves) {
                const int ox = px - other.end.x, oy = py - other.end.y;
                if (!other.provisional || other.layer <= curve.layer || ox < 0 || oy < 0 || ox >= pen || oy >= pen)
                    continue;
                Pixel &covered = other.under[oy * pen + ox];
                if (covered == curve.pixel)
                    covered = under;
            }
        }
    curve.provisional = false;
}

template <bool Clipped, int Pen>
void RasterCanvas::stamp(DevicePoint p, Pixel pixel)
{
    const int pen = Pen > 0 ? Pen : m_pen;
    if constexpr (!Clipped) {
        const std::ptrdiff_t width = m_pixels.width();
        Pixel *const at = m_pixels.data() + std::ptrdiff_t(p.y) * width + p.x;
        for (int y = 0; y < pen; ++y)
            for (int x = 0; x < pen; ++x)
                at[y * width + x] = pixel;
    } else {
        for (int y = p.y; y < p.y + pen; ++y)
            for (int x = p.x; x < p.x + pen; ++x)
                if (m_pixels.contains(x, y))
                    m_pixels.setPixel(x, y, pixel);
    }
}

} // namespace vorel
