#include "plot/scales.h"

#include "params/numbertext.h"
#include "plot/geometry.h"

#include <stdexcept>

namespace vorel {

ValueScale::ValueScale(double upper, double lower) : m_upper(upper), m_lower(lower)
{
    if (upper == lower)
        throw std::invalid_argument("value bounds are equal: U = L = " + generalNumberText(upper));
}

// Both computations are evaluated in this order on purpose: the curves are
// rounded to whole canvas units afterwards, and a different order moves a
// sample that lies near a half by one unit.
double ValueScale::y(double value) const
{
    const double L = m_lower;
    const double U = m_upper;
    return (kPlotTop * L - kPlotBottom * U) / (L - U) + (kPlotHeight * value) / (L - U);
}

double ValueScale::value(double y) const
{
    const double L = m_lower;
    const double U = m_upper;
    return (kPlotBottom * U - kPlotTop * L) / kPlotHeight + y * ((L - U) / kPlotHeight);
}

double TimeScale::t(int x) const
{
    return m_range * (x - kPlotLeft) / kPlotWidth;
}

} // namespace vorel
