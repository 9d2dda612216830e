#include "imagecanvas.h"

#include "plot/geometry.h"

#include <algorithm>
#include <cmath>


QImage wrapPixels(vorel::PixelBuffer &pixels)
{
    // Red, green, blue, then an opaque byte: the buffer's own byte order.
    QImage image(reinterpret_cast<uchar *>(pixels.data()), pixels.width(), pixels.height(),
                 qsizetype(pixels.width()) * qsizetype(sizeof(vorel::Pixel)), QImage::Format_RGBX8888);
    image.setDevicePixelRatio(pixels.ratio());
    return image;
}

void QtTextDrawer::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    m_painter.reset();
    forgetLabels();
}

QRect QtTextDrawer::inkBox(const vorel::PixelBuffer &pixels, int x, int y, const QString &text) const
{
    // The font's whole line and the glyphs' own bounds, and a margin for
    // the smoothing of their edges, in logical pixels from the baseline.
    const QFontMetricsF metrics = m_painter->fontMetrics();
    constexpr qreal kMargin = 2;
    QRectF box = metrics.boundingRect(text) | QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text),
                                                     metrics.ascent() + metrics.descent());
    box.adjust(-kMargin, -kMargin, kMargin, kMargin);
    const qreal ratio = pixels.ratio();
    box.translate(x / ratio, y / ratio + m_ascent);
    const QRect device(QPoint(int(std::floor(box.left() * ratio)), int(std::floor(box.top() * ratio))),
                       QPoint(int(std::ceil(box.right() * ratio)), int(std::ceil(box.bottom() * ratio))));
    return device & QRect(0, 0, pixels.width(), pixels.height());
}

namespace {

// The pixels of a box, row by row, taken out of the picture or put back.
void copyBox(const vorel::PixelBuffer &pixels, const QRect &box, std::vector<vorel::Pixel> &into)
{
    into.resize(std::size_t(box.width()) * std::size_t(box.height()));
    auto out = into.begin();
    for (int y = box.top(); y <= box.bottom(); ++y, out += box.width()) {
        const vorel::Pixel *row = pixels.data() + std::ptrdiff_t(y) * pixels.width() + box.left();
        std::copy(row, row + box.width(), out);
    }
}

bool boxHolds(const vorel::PixelBuffer &pixels, const QRect &box, const std::vector<vorel::Pixel> &these)
{
    auto kept = these.begin();
    for (int y = box.top(); y <= box.bottom(); ++y, kept += box.width()) {
        const vorel::Pixel *row = pixels.data() + std::ptrdiff_t(y) * pixels.width() + box.left();
        if (!std::equal(row, row + box.width(), kept))
            return false;
    }
    return true;
}

void putBox(vorel::PixelBuffer &pixels, const QRect &box, const std::vector<vorel::Pixel> &these)
{
    auto kept = these.begin();
    for (int y = box.top(); y <= box.bottom(); ++y, kept += box.width())
        std::copy(kept, kept + box.width(), pixels.data() + std::ptrdiff_t(y) * pixels.width() + box.left());
}

// Enough for the labels of many plots; a full store starts again.
constexpr std::size_t kMaxKeptLabels = 256;

} // namespace

void QtTextDrawer::drawText(vorel::PixelBuffer &pixels, int x, int y, std::string_view text,
                            vorel::Colour colour)
{
    const bool resized = m_image.width() != pixels.width() || m_image.height() != pixels.height()
                      || m_image.devicePixelRatio() != pixels.ratio();
    if (resized)
        forgetLabels();
    const auto kept = std::find_if(m_kept.begin(), m_kept.end(), [&](const KeptLabel &label) {
        return label.x == x && label.y == y && label.colour == colour && label.text == text;
    });
    if (kept != m_kept.end() && !resized && boxHolds(pixels, kept->box, kept->before)) {
        putBox(pixels, kept->box, kept->after);
        return;
    }

    const bool moved = resized || m_image.constBits() != reinterpret_cast<const uchar *>(pixels.data());
    if (!m_painter || moved) {
        m_painter.reset();
        m_image = wrapPixels(pixels);
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setFont(m_font);
        m_ascent = m_painter->fontMetrics().ascent();
    }
    const QString shown = QString::fromUtf8(text.data(), qsizetype(text.size()));
    KeptLabel &label = kept != m_kept.end() ? *kept
                     : (m_kept.size() < kMaxKeptLabels ? m_kept.emplace_back() : (forgetLabels(), m_kept.emplace_back()));
    label.text.assign(text);
    label.x = x;
    label.y = y;
    label.colour = colour;
    label.box = inkBox(pixels, x, y, shown);
    copyBox(pixels, label.box, label.before);
    m_painter->setPen(QColor(vorel::redOf(colour), vorel::greenOf(colour), vorel::blueOf(colour)));
    const qreal ratio = pixels.ratio();
    m_painter->drawText(QPointF(x / ratio, y / ratio + m_ascent), shown);
    copyBox(pixels, label.box, label.after);
}

ImageCanvas::ImageCanvas(qreal devicePixelRatio) : RasterCanvas(devicePixelRatio)
{
    setTextDrawer(&m_text);
}

QImage ImageCanvas::view()
{
    return wrapPixels(pixels());
}
