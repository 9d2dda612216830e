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
    // Row by row: a single large memset bypasses the cache, and the lines
    // drawn next would then fetch every row they touch from memory.
    if (pixel == (pixel & 0xffu) * 0x01010101u) {
        const std::size_t row = std::size_t(m_width) * sizeof(Pixel);
        for (int y = 0; y < m_height; ++y)
            std::memset(m_pixels.data() + std::size_t(y) * std::size_t(m_width), int(pixel & 0xffu), row);
    } else {
        std::fill(m_pixels.begin(), m_pixels.end(), pixel);
    }
}

} // namespace vorel
