// Helpers shared by the window tests, and the names and settings they use.
#pragma once

#include "forms/forms.h"
#include "imagecanvas.h"
#include "layout.h"
#include "params/sliders.h"
#include "plot/commands.h"

#include <QAccessible>
#include <QImage>
#include <QProcess>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

// The main window's sliders, HScroll1 to HScroll7, as the user meets them:
// the readout on the right, the last position, the page step, and the
// positions that make one unit of the readout.
struct SliderRow {
    const char *slider;
    const char *readout;
    int maximum;
    int pageStep;
    int positionsPerUnit;
};

inline constexpr std::array<SliderRow, 7> kSliderRows{{
    {"HScroll1", "Label3", 50, 5, 1},
    {"HScroll2", "Label4", 50, 5, 1},
    {"HScroll3", "Label7", 100, 1, 10},
    {"HScroll4", "Label8", 100, 1, 10},
    {"HScroll5", "Label11", 1000, 1, 100},
    {"HScroll6", "Label12", 1000, 1, 100},
    {"HScroll7", "Label14", 1000, 5, 10},
}};

// The plot buttons, what each runs and the curves it draws.
struct PlotButton {
    const char *name;
    vorel::PlotCommand command;
    bool blue, green, red;
};

inline constexpr PlotButton kPlotButtons[] = {
    {"Command1", vorel::PlotCommand::Wave1, true, false, false},     // Onda 1
    {"Command2", vorel::PlotCommand::Wave2, false, true, false},     // Onda 2
    {"Command6", vorel::PlotCommand::BothWaves, true, true, false},  // Vorel 1 y 2
    {"Command5", vorel::PlotCommand::Resultant, false, false, true}, // Resultante
    {"Command3", vorel::PlotCommand::All, true, true, true},         // Todas
};

inline constexpr char kRegresar[] = "Command4";
inline constexpr char kPlotBox[] = "Picture1";
inline constexpr char kContinuar[] = "Command1"; // the title window's
inline constexpr char kSalir[] = "Command2";

// Settings as slider positions: A1, A2, ω1·10, ω2·10, φ1·100, φ2·100, T·10.
// Each wave alone: A = 20, ω = 1.0, T = 10. The curve starts on the time
// axis, touches the top at x = 1974 and the bottom at x = 4958, and ends at
// (10000, 4360).
inline constexpr vorel::SliderPositions kEqualWaves{20, 20, 10, 10, 0, 0, 100};
// At x = 1450 wave 1 lies at y ≈ 1597.55, wave 2 at y ≈ 2242.25 and the
// resultant at y = 840.
inline constexpr vorel::SliderPositions kExample{20, 10, 10, 20, 0, 0, 100};

template <typename T = QWidget>
T *control(const QWidget *window, std::string_view name)
{
    T *found = window->findChild<T *>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    if (!found)
        qFatal("no control %s", std::string(name).c_str());
    return found;
}

// One data row for each control in the window's table, tagged with its name.
inline void addControlRows(const vorel::forms::Window &window)
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < window.controls.size(); ++i)
        QTest::newRow(std::string(window.controls[i].name).c_str()) << int(i);
}

// What a screen reader is told to say, in order, while this lives: the
// name of each notification as it shows, whatever has the focus. Qt tells
// the platform's accessibility bridge at that moment, where there is one;
// the offscreen platform has none.
class Heard : public QObject {
public:
    Heard() { QCoreApplication::instance()->installEventFilter(this); }

    QStringList said;
    QString last() const { return said.isEmpty() ? QString() : said.last(); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
            if (iface && iface->role() == QAccessible::Notification)
                said << iface->text(QAccessible::Name);
        }
        return false;
    }
};

// A sound server of the test's own, Debian's PulseAudio, whose one output
// is a null sink: it plays to no sound card, and its monitor records what
// reached it, as a user would have heard it. Qt connects to the server in
// PULSE_SERVER when the program first plays, so this comes before that.
class SoundServer {
public:
    // The sink's samples as PulseAudio names them: s16le, float32le.
    explicit SoundServer(const QString &sampleFormat)
    {
        const QString socket = m_home.filePath("native");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_home.path()); // for its cookie and state
        environment.insert("XDG_RUNTIME_DIR", m_home.path());
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::ForwardedChannels);
        m_server.start("pulseaudio", {"--daemonize=no", "-n", "--use-pid-file=no", "--exit-idle-time=-1",
                                      "--log-level=error", "--disable-shm=yes", "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
                                      "-L", "module-null-sink sink_name=vorel norewinds=1 rate=44100 channels=1 format=" + sampleFormat});
        qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
    }
    ~SoundServer()
    {
        for (QProcess *process : {&m_recorder, &m_server}) {
            process->kill();
            process->waitForFinished();
        }
    }

    // Whether the server answers and its monitor is being recorded: then
    // the program may play.
    bool ready()
    {
        if (m_recorder.state() == QProcess::NotRunning) {
            QProcess info;
            info.start("pactl", {"info"});
            if (!info.waitForFinished() || info.exitStatus() != QProcess::NormalExit || info.exitCode() != 0)
                return false;
            m_recorder.start("parec", {"--device=vorel.monitor", "--format=s16le", "--rate=44100", "--channels=1",
                                       "--latency-msec=20"});
        }
        m_recorded += m_recorder.readAllStandardOutput();
        return !m_recorded.isEmpty();
    }

    // Each sound recorded so far that a tenth of a second of silence has
    // ended, silence being below a hundredth of full scale: its length in
    // seconds, over its last second its frequency (rising zero crossings a
    // second), and from a tenth of a second in its level (its peak, of full
    // scale), so that a sound left playing under it shows.
    struct Sound {
        double seconds, hertz, level;
    };
    QList<Sound> sounds()
    {
        m_recorded += m_recorder.readAllStandardOutput();
        std::vector<std::int16_t> s(std::size_t(m_recorded.size()) / 2);
        std::memcpy(s.data(), m_recorded.constData(), s.size() * 2);
        constexpr std::size_t kRate = 44100, kGap = kRate / 10;
        constexpr int kQuiet = 328;
        QList<Sound> found;
        std::size_t start = 0, end = 0; // of the sound going on, if end > start
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (std::abs(s[i]) >= kQuiet) {
                if (end <= start || i - end >= kGap)
                    start = i;
                end = i + 1;
            } else if (end > start && i + 1 - end == kGap) {
                const std::size_t from = std::max(start, end - std::min(end, kRate));
                int peak = 0, rising = 0;
                for (std::size_t j = start + kGap; j < end; ++j)
                    peak = std::max(peak, std::abs(int(s[j])));
                for (std::size_t j = from + 1; j < end; ++j)
                    rising += s[j - 1] < 0 && s[j] >= 0;
                found << Sound{double(end - start) / kRate, rising * double(kRate) / double(end - from), peak / 32768.0};
            }
        }
        return found;
    }

private:
    QTemporaryDir m_home;
    QProcess m_server, m_recorder;
    QByteArray m_recorded;
};

// Moves the named sliders only.
inline void setSliders(const QWidget *window, std::initializer_list<std::pair<const char *, int>> values)
{
    for (const auto &[name, value] : values)
        control<QScrollBar>(window, name)->setValue(value);
}

// Moves all seven sliders to a setting.
inline void setSliders(const QWidget *window, const vorel::SliderPositions &p)
{
    const int values[] = {p.amplitude1, p.amplitude2, p.frequency1, p.frequency2, p.phase1, p.phase2, p.range};
    for (std::size_t i = 0; i < kSliderRows.size(); ++i)
        control<QScrollBar>(window, kSliderRows[i].slider)->setValue(values[i]);
}

// Where a part of the scroll bar lies: an arrow, a page area, the thumb.
inline QRect subControl(const QScrollBar *bar, QStyle::SubControl which)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, which, bar);
}

// Each control of the window sits where its table row puts it, keeps its
// tab index, and shows the row's text; what shows no text carries it as
// the name that assistive technology reads. Labels and the picture take no
// focus, and no button is a default one.
inline void checkPlacedAsInTable(const QWidget *window, const vorel::forms::Control &row)
{
    const QWidget *w = control(window, row.name);
    const vorel::forms::Twips &t = row.where;
    QCOMPARE(w->geometry(), QRect(t.left / 15, t.top / 15, t.width / 15, t.height / 15));
    if (row.tabIndex == vorel::forms::kNoTabIndex)
        QVERIFY(!w->property(kTabIndexProperty).isValid());
    else
        QCOMPARE(w->property(kTabIndexProperty).toInt(), row.tabIndex);
    using vorel::forms::Kind;
    const QString text = QString::fromUtf8(row.text.data(), qsizetype(row.text.size()));
    if (row.kind == Kind::Label || row.kind == Kind::Button)
        QCOMPARE(w->property("text").toString(), text);
    else if (row.kind != Kind::Slider)
        QCOMPARE(w->accessibleName(), text);
    if (row.kind == Kind::Label || row.kind == Kind::Picture)
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    if (row.kind == Kind::Button)
        QVERIFY(!w->property("default").toBool() && !w->property("autoDefault").toBool());
}

// Whether a pixel of exactly this colour lies within `radius` pixels of the
// point of the canvas (in canvas units).
inline bool colourNear(const QImage &image, float x, float y, QRgb colour, int radius = 1)
{
    const vorel::DevicePoint p =
        vorel::RasterCanvas::toDevice(x, y, image.width(), image.height(), image.devicePixelRatio());
    const int cx = p.x;
    const int cy = p.y;
    for (int py = cy - radius; py <= cy + radius; ++py)
        for (int px = cx - radius; px <= cx + radius; ++px)
            if (image.valid(px, py) && image.pixel(px, py) == colour)
                return true;
    return false;
}

inline int countColour(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

inline constexpr QRgb kBlue = qRgb(0, 0, 225);
inline constexpr QRgb kGreen = qRgb(0, 225, 0);
inline constexpr QRgb kRed = qRgb(225, 0, 0);
inline constexpr QRgb kWhite = qRgb(255, 255, 255);
