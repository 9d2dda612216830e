#include "raster/pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vorel {

PixelBuffer::PixelBuffer(int logicalWidth, int logicalHeight, double ratio)
    : m_logicalWidth(logicalWidth), m_logicalHeight(logicalHeight)
{
    setRatio(ratio);
}

int PixelBuffer::deviceLength(int logicalLength, double ratio)
{
    // Halves away from zero, as Qt's qRound rounds a size times a ratio.
    return std::max(1, static_cast<int>(std::lround(logicalLength * ratio)));
}

double PixelBuffer::usableRatio(double ratio)
{
    return ratio > 0.0 && ratio <= 16.0 ? ratio : 1.0;
}

void PixelBuffer::setRatio(double ratio)
{
    ratio = usableRatio(ratio);
    m_ratio = ratio;
    m_width = deviceLength(m_logicalWidth, ratio);
    m_height = deviceLength(m_logicalHeight, ratio);
    m_pixels.resize(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
}

void PixelBuffer::fill(Pixel pixel)
{
    // Every plot starts with a white fill, and white is one byte repeated.
    if (pixel == (pixel & 0xffu) * 0x01010101u)
        std::memset(m_pixels.data(), int(pixel & 0xffu), m_pixels.size() * sizeof(Pixel));
    else
        std::fill(m_pixels.begin(), m_pixels.end(), pixel);
}

} // namespace vorel
