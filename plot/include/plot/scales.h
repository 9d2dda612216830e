// The two mappings under every plot: a wave value to a canvas y, and a
// canvas x to a time.
#pragma once

namespace vorel {

// U is shown at the top of the value axis (y = 500), L at its bottom
// (y = 5500). Throws std::invalid_argument when U = L.
class ValueScale {
public:
    ValueScale(double upper, double lower);

    double upper() const { return m_upper; }
    double lower() const { return m_lower; }

    // The canvas y of a value, not rounded.
    double y(double value) const;
    // The value at a canvas y; the inverse of y().
    double value(double y) const;

private:
    double m_upper;
    double m_lower;
};

// Time 0 at x = 500, time T at x = 10000.
class TimeScale {
public:
    explicit TimeScale(double range) : m_range(range) {}

    double range() const { return m_range; }
    double t(int x) const;

private:
    double m_range;
};

} // namespace vorel
