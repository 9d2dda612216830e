#include "plot/frame.h"

#include "params/numbertext.h"
#include "plot/canvas.h"
#include "plot/geometry.h"

namespace vorel {
namespace {

// The canvas has no "move to": a line of zero length leaves the current
// position at the anchor, where the label is printed.
void printAt(PlotCanvas &canvas, int x, int y, const std::string &text)
{
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    canvas.Line(fx, fy, fx, fy);
    canvas.Print(text);
}

} // namespace

void PlotFrame::draw(PlotCanvas &canvas, std::string_view decimalSeparator) const
{
    canvas.Cls();

    canvas.Line(kPlotLeft, kPlotTop, kPlotLeft, kPlotBottom);
    for (int i = 0; i < kValueTickCount; ++i) {
        const int y = kValueTickSpacing * i + kPlotTop;
        canvas.Line(kPlotLeft - kTickLength, y, kPlotLeft, y);
        printAt(canvas, kValueLabelX, y - kLabelOffset, oneDecimalText(values.value(y), decimalSeparator));
    }

    canvas.Line(kPlotLeft, kTimeAxisY, kPlotRight, kTimeAxisY);
    for (int i = 0; i < kTimeTickCount; ++i) {
        const int x = kTimeTickSpacing * i + kPlotLeft;
        canvas.Line(x, kTimeAxisY, x, kTimeAxisY + kTickLength);
        printAt(canvas, x - kLabelOffset, kTimeAxisY + kLabelOffset, oneDecimalText(times.t(x), decimalSeparator));
    }
}

} // namespace vorel
