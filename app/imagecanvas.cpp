#include "imagecanvas.h"

#include "plot/geometry.h"
#include "vectorstate.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace {

constexpr QRgb kBackground = qRgb(255, 255, 255);
constexpr QRgb kForeground = qRgb(0, 0, 0);

QRgb toQRgb(vorel::Colour c)
{
    return qRgb(vorel::redOf(c), vorel::greenOf(c), vorel::blueOf(c));
}

} // namespace

ImageCanvas::ImageCanvas(qreal devicePixelRatio) : m_requestedRatio(devicePixelRatio)
{
    Cls();
}

void ImageCanvas::Cls()
{
    if (m_image.isNull() || m_image.devicePixelRatio() != m_requestedRatio) {
        m_image = QImage(kLogicalSize * m_requestedRatio, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(m_requestedRatio);
    }
    m_image.fill(kBackground);
    m_pending.clear();
    m_firstJoinable = 0;
    clearUpperVectorState(); // Qt's SIMD code may leave it dirty
}

void ImageCanvas::Line(float x1, float y1, float x2, float y2)
{
    addSegment(QPointF(x1, y1), QPointF(x2, y2), kForeground);
}

void ImageCanvas::Line(float x1, float y1, float x2, float y2, vorel::Colour colour)
{
    addSegment(QPointF(x1, y1), QPointF(x2, y2), toQRgb(colour));
}

void ImageCanvas::Print(std::string_view text)
{
    if (text.empty())
        return;
    const QPointF at = toPixels(float(m_current.x()), float(m_current.y()));
    m_pending.push_back({kForeground, QPolygonF{at},
                         QString::fromUtf8(text.data(), qsizetype(text.size())), QPointF()});
    m_firstJoinable = m_pending.size();
    clearUpperVectorState(); // Qt's SIMD code may leave it dirty
}

void ImageCanvas::addSegment(QPointF from, QPointF to, QRgb colour)
{
    m_current = to;
    // A line of no length only moves the current position: the labels'
    // anchors leave no dot under their first character.
    if (from.x() == to.x() && from.y() == to.y())
        return;
    const QPointF b = toPixels(float(to.x()), float(to.y()));
    // Only the last few strokes are looked at: curves drawn together step
    // by step are never more than a few strokes apart.
    constexpr std::size_t kLookBack = 8;
    const std::size_t stop = std::max(m_firstJoinable, m_pending.size() - std::min(m_pending.size(), kLookBack));
    for (std::size_t i = m_pending.size(); i-- > stop;) {
        Item &item = m_pending[i];
        // Exact comparison: QPointF's == is fuzzy, and slower.
        if (item.colour == colour && item.end.x() == from.x() && item.end.y() == from.y()
            && item.text.isEmpty()) {
            item.points.append(b);
            item.end = to;
            return;
        }
    }
    m_pending.push_back({colour, QPolygonF{toPixels(float(from.x()), float(from.y())), b}, QString(), to});
}

void ImageCanvas::rasterise()
{
    if (m_pending.empty())
        return;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(m_font);
    const qreal ascent = painter.fontMetrics().ascent();
    for (const Item &item : m_pending) {
        if (!item.text.isEmpty()) {
            painter.setPen(QColor::fromRgb(item.colour));
            painter.drawText(item.points.front() + QPointF(0, ascent), item.text);
        } else {
            // Width 0: one device pixel whatever the scale, and many times
            // faster to rasterise than a wide pen.
            painter.setPen(QPen(QColor::fromRgb(item.colour), 0));
            painter.drawPolyline(item.points);
        }
    }
    m_pending.clear();
    m_firstJoinable = 0;
}

const QImage &ImageCanvas::image()
{
    rasterise();
    return m_image;
}
