#include "imagecanvas.h"

#include "plot/geometry.h"


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
}

void QtTextDrawer::drawText(vorel::PixelBuffer &pixels, int x, int y, std::string_view text,
                            vorel::Colour colour)
{
    const bool moved = m_image.constBits() != reinterpret_cast<const uchar *>(pixels.data())
                    || m_image.width() != pixels.width() || m_image.height() != pixels.height()
                    || m_image.devicePixelRatio() != pixels.ratio();
    if (!m_painter || moved) {
        m_painter.reset();
        m_image = wrapPixels(pixels);
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setFont(m_font);
        m_ascent = m_painter->fontMetrics().ascent();
    }
    m_painter->setPen(QColor(vorel::redOf(colour), vorel::greenOf(colour), vorel::blueOf(colour)));
    const qreal ratio = pixels.ratio();
    m_painter->drawText(QPointF(x / ratio, y / ratio + m_ascent),
                        QString::fromUtf8(text.data(), qsizetype(text.size())));
}

ImageCanvas::ImageCanvas(qreal devicePixelRatio) : RasterCanvas(devicePixelRatio)
{
    setTextDrawer(&m_text);
}

QImage ImageCanvas::view()
{
    return wrapPixels(pixels());
}
