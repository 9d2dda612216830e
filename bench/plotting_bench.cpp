// How long the plots take, against what bare QPainter needs for the same
// picture. Run once per device pixel ratio: QT_SCALE_FACTOR=1 and 2.
#include "form1.h"
#include "imagecanvas.h"
#include "layout.h"
#include "plotbox.h"
#include "plot/commands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// "Todas" with A1 = 20, A2 = 10, ω1 = 1.0, ω2 = 2.0, phases 0, T = 10.
constexpr vorel::SliderPositions kTodas{20, 10, 10, 20, 0, 0, 100};
// "Todas" with A1 = A2 = 50, ω1 = 10.0, ω2 = 7.3, phases 0, T = 100: the
// curves fill the frame in a dense band.
constexpr vorel::SliderPositions kDense{50, 50, 100, 73, 0, 0, 1000};
const QSize kSize(709, 397);

qreal ratio() { return qApp->devicePixelRatio(); }

struct Samples {
    QPolygonF wave1, wave2, resultant;
};

// The three curves in pixels, as directly as it can be done.
Samples computeSamples(const vorel::SliderPositions &p = kTodas)
{
    const double T = p.range / 10.0, U = p.amplitude1 + p.amplitude2;
    const double w1 = p.frequency1 / 10.0, w2 = p.frequency2 / 10.0, f1 = p.phase1 / 100.0, f2 = p.phase2 / 100.0;
    Samples s;
    s.wave1.reserve(9501);
    s.wave2.reserve(9501);
    s.resultant.reserve(9501);
    const double sx = (kSize.width() - 1) / 10500.0;
    const double sy = (kSize.height() - 1) / 6000.0;
    for (int x = 500; x <= 10000; ++x) {
        const double t = T * (x - 500) / 9500;
        const double s1 = p.amplitude1 * std::sin(f1 + w1 * t);
        const double s2 = p.amplitude2 * std::sin(f2 + w2 * t);
        s.wave1.append(QPointF(x * sx, (3000 - 2500 * s1 / U) * sy));
        s.wave2.append(QPointF(x * sx, (3000 - 2500 * s2 / U) * sy));
        s.resultant.append(QPointF(x * sx, std::nearbyint(3000 - 2500 * (s1 + s2) / U) * sy));
    }
    return s;
}

QImage freshImage()
{
    QImage image(kSize * ratio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio());
    return image;
}

// Fill, axes, 17 ticks with their labels.
void drawFrame(QPainter &p, const vorel::SliderPositions &positions = kTodas)
{
    const int U = positions.amplitude1 + positions.amplitude2;
    const double T = positions.range / 10.0;
    p.fillRect(QRect(QPoint(), kSize), Qt::white);
    p.setPen(QPen(Qt::black, 0));
    const double sx = (kSize.width() - 1) / 10500.0;
    const double sy = (kSize.height() - 1) / 6000.0;
    const qreal ascent = p.fontMetrics().ascent();
    p.drawLine(QPointF(500 * sx, 500 * sy), QPointF(500 * sx, 5500 * sy));
    for (int i = 0; i < 6; ++i) {
        const int y = 500 + 1000 * i;
        p.drawLine(QPointF(450 * sx, y * sy), QPointF(500 * sx, y * sy));
        p.drawText(QPointF(100 * sx, (y - 100) * sy + ascent), QString::number(U - 0.4 * U * i, 'f', 1));
    }
    p.drawLine(QPointF(500 * sx, 3000 * sy), QPointF(10000 * sx, 3000 * sy));
    for (int i = 0; i < 11; ++i) {
        const int x = 500 + 950 * i;
        p.drawLine(QPointF(x * sx, 3000 * sy), QPointF(x * sx, 3050 * sy));
        p.drawText(QPointF((x - 100) * sx, 3100 * sy + ascent), QString::number(T * i / 10, 'f', 1));
    }
}

void drawPolylines(QPainter &p, const Samples &s)
{
    p.setPen(QPen(QColor(0, 0, 225), 0));
    p.drawPolyline(s.wave1);
    p.setPen(QPen(QColor(0, 225, 0), 0));
    p.drawPolyline(s.wave2);
    p.setPen(QPen(QColor(225, 0, 0), 0));
    p.drawPolyline(s.resultant);
}

void BM_BareComputeSamples(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(computeSamples());
    }
}
BENCHMARK(BM_BareComputeSamples)->Unit(benchmark::kMillisecond);

void BM_BareFramePolylines(benchmark::State &state)
{
    const Samples samples = computeSamples();
    QImage image = freshImage();
    for (auto _ : state) {
        QPainter p(&image);
        drawFrame(p);
        drawPolylines(p, samples);
    }
}
BENCHMARK(BM_BareFramePolylines)->Unit(benchmark::kMillisecond);

void BM_BareFrameSeparateLines(benchmark::State &state)
{
    const Samples s = computeSamples();
    QImage image = freshImage();
    const QColor colours[] = {QColor(0, 0, 225), QColor(0, 225, 0), QColor(225, 0, 0)};
    for (auto _ : state) {
        QPainter p(&image);
        drawFrame(p);
        for (int i = 1; i < s.wave1.size(); ++i) {
            const QPolygonF *curves[] = {&s.wave1, &s.wave2, &s.resultant};
            for (int c = 0; c < 3; ++c) {
                p.setPen(QPen(colours[c], 0));
                p.drawLine((*curves[c])[i - 1], (*curves[c])[i]);
            }
        }
    }
}
BENCHMARK(BM_BareFrameSeparateLines)->Unit(benchmark::kMillisecond);

// The baseline of the "Todas" target: everything the picture needs.
void bareComputeFramePolylines(benchmark::State &state, const vorel::SliderPositions &positions)
{
    QImage image = freshImage();
    for (auto _ : state) {
        const Samples samples = computeSamples(positions);
        QPainter p(&image);
        drawFrame(p, positions);
        drawPolylines(p, samples);
    }
}

void BM_BareComputeFramePolylines(benchmark::State &state) { bareComputeFramePolylines(state, kTodas); }
BENCHMARK(BM_BareComputeFramePolylines)->Unit(benchmark::kMillisecond);

void BM_BareComputeFramePolylinesDense(benchmark::State &state) { bareComputeFramePolylines(state, kDense); }
BENCHMARK(BM_BareComputeFramePolylinesDense)->Unit(benchmark::kMillisecond);

// From the call of the click handler to the finished picture in the plot
// box's pixels, as the box's paint first looks at them, which the loop does
// here without a paint.
void todasClick(benchmark::State &state, const vorel::SliderPositions &p)
{
    Form1 form;
    const std::pair<const char *, int> sliders[] = {
        {"HScroll1", p.amplitude1}, {"HScroll2", p.amplitude2}, {"HScroll3", p.frequency1},
        {"HScroll4", p.frequency2}, {"HScroll5", p.phase1},     {"HScroll6", p.phase2},
        {"HScroll7", p.range}};
    for (const auto &[name, value] : sliders)
        form.findChild<QScrollBar *>(QString::fromLatin1(name))->setValue(value);
    auto &canvas = static_cast<ImageCanvas &>(form.findChild<PlotBox *>(QStringLiteral("Picture1"))->canvas());
    for (auto _ : state) {
        form.Command3_Click();
        benchmark::DoNotOptimize(canvas.view().constBits());
        benchmark::ClobberMemory();
    }
    state.counters["ratio"] = ratio();
}

void BM_TodasClick(benchmark::State &state) { todasClick(state, kTodas); }
BENCHMARK(BM_TodasClick)->Unit(benchmark::kMillisecond);

void BM_TodasClickDense(benchmark::State &state) { todasClick(state, kDense); }
BENCHMARK(BM_TodasClickDense)->Unit(benchmark::kMillisecond);

class CountingCanvas : public vorel::PlotCanvas {
public:
    void Cls() override { ++calls; }
    void Line(float, float, float, float) override { ++calls; }
    void Line(float, float, float, float, vorel::Colour) override { ++calls; }
    void Print(std::string_view) override { ++calls; }
    std::size_t calls = 0;
};

const vorel::PlotCommand kCommands[] = {vorel::PlotCommand::Wave1, vorel::PlotCommand::Wave2,
                                        vorel::PlotCommand::BothWaves, vorel::PlotCommand::Resultant,
                                        vorel::PlotCommand::All};
const char *const kCommandNames[] = {"Onda 1", "Onda 2", "Vorel 1 y 2", "Resultante", "Todas"};

// The algorithm alone: the canvas only counts what it is asked to draw.
void BM_CommandCounting(benchmark::State &state)
{
    const auto command = kCommands[state.range(0)];
    CountingCanvas canvas;
    for (auto _ : state) {
        vorel::runPlotCommand(command, canvas, kTodas);
    }
    state.SetLabel(kCommandNames[state.range(0)]);
    state.counters["calls"] = double(canvas.calls) / double(state.iterations());
}
BENCHMARK(BM_CommandCounting)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The floor of the dense "Todas".
void BM_CommandCountingDense(benchmark::State &state)
{
    CountingCanvas canvas;
    for (auto _ : state) {
        vorel::runPlotCommand(vorel::PlotCommand::All, canvas, kDense);
    }
    state.counters["calls"] = double(canvas.calls) / double(state.iterations());
}
BENCHMARK(BM_CommandCountingDense)->Unit(benchmark::kMillisecond);

void BM_CommandImage(benchmark::State &state)
{
    const auto command = kCommands[state.range(0)];
    ImageCanvas canvas(ratio());
    canvas.setFont(QApplication::font());
    for (auto _ : state) {
        vorel::runPlotCommand(command, canvas, kTodas);
        benchmark::DoNotOptimize(canvas.pixels().data());
    }
    state.SetLabel(kCommandNames[state.range(0)]);
}
BENCHMARK(BM_CommandImage)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// Stands in for the speakers: takes the samples as an audio output would.
class Sink : public SoundOutput {
public:
    bool play(const std::vector<float> &samples, int) override
    {
        taken.assign(samples.begin(), samples.end());
        return true;
    }
    void stop() override {}
    std::vector<float> taken;
};

// The plot box with "Todas" drawn for T = 100, its audio mode on and the
// keys sent as the box would get them.
struct AudioBox {
    Form1 form;
    Sink *sink = new Sink;
    PlotBox *box = form.findChild<PlotBox *>(QStringLiteral("Picture1"));

    AudioBox()
    {
        form.setSoundOutput(std::unique_ptr<SoundOutput>(sink));
        const std::pair<const char *, int> sliders[] = {
            {"HScroll1", 20}, {"HScroll2", 10}, {"HScroll3", 10}, {"HScroll4", 20}, {"HScroll7", 1000}};
        for (const auto &[name, value] : sliders)
            form.findChild<QScrollBar *>(QString::fromLatin1(name))->setValue(value);
        form.Command3_Click();
        press(Qt::Key_T, Qt::AltModifier);
    }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(box, &event);
    }
};

// From the key to the samples handed to the audio output: 5 s of sound.
void BM_PlayKeyTodas(benchmark::State &state)
{
    AudioBox audio;
    for (auto _ : state) {
        audio.press(Qt::Key_H);
        benchmark::DoNotOptimize(audio.sink->taken.data());
    }
    state.counters["samples"] = double(audio.sink->taken.size());
}
BENCHMARK(BM_PlayKeyTodas)->Unit(benchmark::kMillisecond);

// From the key to the point's text in the box's description.
void BM_TraceStep(benchmark::State &state)
{
    AudioBox audio;
    int i = 0;
    for (auto _ : state) {
        audio.press(++i % 200 < 100 ? Qt::Key_Right : Qt::Key_Left);
        benchmark::DoNotOptimize(audio.box->accessibleDescription().size());
    }
}
BENCHMARK(BM_TraceStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    useProgramFont();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
