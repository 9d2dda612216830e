// Prints every text the program derives from a number: each readout at
// every position of its slider, and each tick label of the frame for every
// time range and for the value bounds 1 to 100. Built natively and for the
// browser, the two outputs must be the same byte for byte.
#include "params/sliders.h"
#include "plot/canvas.h"
#include "plot/frame.h"

#include <cstdio>
#include <string>

namespace {

// Keeps only the labels; the lines of the frame are not text.
class LabelCanvas : public vorel::PlotCanvas {
public:
    void Cls() override {}
    void Line(float, float, float, float) override {}
    void Line(float, float, float, float, vorel::Colour) override {}
    void Print(std::string_view text) override { labels += " " + std::string(text); }

    std::string labels;
};

void printFrame(const char *what, int position, const vorel::PlotFrame &frame)
{
    LabelCanvas canvas;
    frame.draw(canvas);
    std::printf("%s %d:%s\n", what, position, canvas.labels.c_str());
}

} // namespace

int main()
{
    for (int number = 1; number <= 7; ++number) {
        const vorel::SliderSpec &spec = vorel::slider(number);
        for (int p = spec.minimum; p <= spec.maximum; ++p)
            std::printf("HScroll%d %d: %s\n", number, p,
                        vorel::readoutText(spec.quantity, static_cast<std::int16_t>(p)).c_str());
    }
    for (int p = 1; p <= 1000; ++p)
        printFrame("HScroll7", p, {vorel::ValueScale(1, -1), vorel::TimeScale(vorel::timeRangeAt(static_cast<std::int16_t>(p)))});
    for (int bound = 1; bound <= 100; ++bound)
        printFrame("bound", bound, {vorel::ValueScale(bound, -bound), vorel::TimeScale(1.0)});
    return 0;
}
