// A restless class: thousands of random clicks, keys, drags and window moves
// on the real windows, checking after each one what must always hold.
// VOREL_SEED and VOREL_ACTIONS replay or lengthen a run.
#include "windowtest.h"

#include "form1.h"
#include "form2.h"
#include "imagecanvas.h"
#include "layout.h"
#include "plot/commands.h"
#include "plotbox.h"

#include <QLabel>
#include <QPushButton>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>

using vorel::PlotCommand;

namespace {

struct Plot {
    PlotCommand command;
    vorel::SliderPositions positions;
    bool operator<(const Plot &o) const
    {
        auto key = [](const Plot &p) {
            const auto &s = p.positions;
            return std::tuple(int(p.command), s.amplitude1, s.amplitude2, s.frequency1, s.frequency2,
                              s.phase1, s.phase2, s.range);
        };
        return key(*this) < key(o);
    }
};

vorel::SliderPositions positionsOf(const Form1 *form)
{
    auto at = [&](int i) { return std::int16_t(control<QScrollBar>(form, kSliderRows[std::size_t(i)].slider)->value()); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6)};
}

// Written apart from the program's own guards on purpose: which values a
// command refuses.
bool guardPasses(PlotCommand command, const vorel::SliderPositions &p)
{
    if (p.range == 0)
        return false;
    switch (command) {
    case PlotCommand::Wave1:
        return p.amplitude1 != 0 && p.frequency1 != 0;
    case PlotCommand::Wave2:
        return p.amplitude2 != 0 && p.frequency2 != 0;
    default:
        return p.amplitude1 + p.amplitude2 != 0 && p.frequency1 != 0 && p.frequency2 != 0;
    }
}

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

} // namespace

class tst_RandomUse : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void randomActionsKeepEveryInvariant();
    void openingAndClosingLeavesNothingBehind();

private:
    void startProgram();
    void watch(Form1 *form);
    QString act(std::mt19937 &random, bool &ending);
    QString actOnTitle(std::mt19937 &random, bool &ending);
    QString actOnMain(std::mt19937 &random);
    QString checkInvariants(bool ending);
    const QImage &reference(const std::optional<Plot> &plot);

    std::unique_ptr<Form2> m_title;
    QPointer<Form1> m_watched;
    std::optional<Plot> m_lastPlot;
    std::map<Plot, QImage> m_references;
    QImage m_blank;
    bool m_ended = false;
};

void tst_RandomUse::initTestCase()
{
    useProgramFont();
    QApplication::setQuitOnLastWindowClosed(false);
    m_blank = ImageCanvas().image();
}

void tst_RandomUse::startProgram()
{
    m_title = std::make_unique<Form2>();
    m_title->show();
    m_ended = false;
}

// Follows the plot buttons of each new main window to know the last plot
// whose guard passed.
void tst_RandomUse::watch(Form1 *form)
{
    if (form == m_watched)
        return;
    m_watched = form;
    m_lastPlot.reset();
    if (!form)
        return;
    for (const PlotButton &button : kPlotButtons) {
        connect(control<QPushButton>(form, button.name), &QPushButton::clicked, this, [this, form, &button] {
            const Plot plot{button.command, positionsOf(form)};
            if (guardPasses(plot.command, plot.positions))
                m_lastPlot = plot;
        });
    }
}

const QImage &tst_RandomUse::reference(const std::optional<Plot> &plot)
{
    if (!plot)
        return m_blank;
    auto found = m_references.find(*plot);
    if (found == m_references.end()) {
        if (m_references.size() > 64)
            m_references.clear();
        ImageCanvas canvas;
        vorel::runPlotCommand(plot->command, canvas, plot->positions);
        found = m_references.emplace(*plot, canvas.image()).first;
    }
    return found->second;
}

QString tst_RandomUse::act(std::mt19937 &random, bool &ending)
{
    ending = false;
    if (m_ended) {
        startProgram();
        return QStringLiteral("start the program again");
    }
    Form1 *main = m_title->mainWindow();
    if (main && main->isVisible())
        return actOnMain(random);
    return actOnTitle(random, ending);
}

QString tst_RandomUse::actOnTitle(std::mt19937 &random, bool &ending)
{
    auto *continuar = control<QPushButton>(m_title.get(), kContinuar);
    auto *salir = control<QPushButton>(m_title.get(), kSalir);
    const int choice = int(random() % 100);
    if (choice < 55) {
        QTest::mouseClick(continuar, Qt::LeftButton);
        return QStringLiteral("click Continuar");
    }
    if (choice < 85) {
        const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Space, Qt::Key_Return};
        const Qt::Key key = keys[random() % 5];
        QWidget *focus = m_title->focusWidget() ? m_title->focusWidget() : m_title.get();
        ending = focus == salir && (key == Qt::Key_Space || key == Qt::Key_Return);
        QTest::keyClick(focus, key);
        return QStringLiteral("key %1 on %2").arg(key).arg(focus->objectName());
    }
    ending = true;
    if (choice < 93) {
        QTest::mouseClick(salir, Qt::LeftButton);
        return QStringLiteral("click Salir");
    }
    m_title->close();
    return QStringLiteral("close the title window");
}

QString tst_RandomUse::actOnMain(std::mt19937 &random)
{
    Form1 *main = m_title->mainWindow();
    const int choice = int(random() % 100);
    auto *bar = control<QScrollBar>(main, kSliderRows[random() % 7].slider);
    if (choice < 12) {
        // The five plot buttons and Regresar, which comes up less often than
        // the plots, or little would be plotted.
        std::size_t button = random() % 6;
        if (button == 5 && random() % 3 != 0)
            button = 4;
        const char *name = button < 5 ? kPlotButtons[button].name : kRegresar;
        QTest::mouseClick(control<QPushButton>(main, name), Qt::LeftButton);
        return QStringLiteral("click %1").arg(QLatin1String(name));
    }
    if (choice < 40) {
        const QStyle::SubControl parts[] = {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine,
                                            QStyle::SC_ScrollBarAddPage, QStyle::SC_ScrollBarSubPage};
        const QStyle::SubControl part = parts[random() % 4];
        const QRect r = subControl(bar, part);
        if (r.isEmpty())
            return QStringLiteral("nothing to click on %1").arg(bar->objectName());
        QTest::mouseClick(bar, Qt::LeftButton, {}, r.center());
        return QStringLiteral("click part %1 of %2").arg(int(part)).arg(bar->objectName());
    }
    if (choice < 50) {
        const QRect handle = subControl(bar, QStyle::SC_ScrollBarSlider);
        const QRect groove = subControl(bar, QStyle::SC_ScrollBarGroove);
        QPoint at = handle.center();
        QTest::mousePress(bar, Qt::LeftButton, {}, at);
        const int steps = 1 + int(random() % 5);
        for (int i = 0; i < steps; ++i) {
            at.rx() = groove.left() + int(random() % uint(groove.width() + 20)) - 10;
            QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
            QApplication::sendEvent(bar, &move);
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
        return QStringLiteral("drag %1 to %2").arg(bar->objectName()).arg(at.x());
    }
    if (choice < 98) {
        const Qt::Key keys[] = {Qt::Key_Tab,    Qt::Key_Backtab,  Qt::Key_Left,  Qt::Key_Right,
                                Qt::Key_Up,     Qt::Key_Down,     Qt::Key_PageUp, Qt::Key_PageDown,
                                Qt::Key_Home,   Qt::Key_End,      Qt::Key_Space, Qt::Key_Return,
                                Qt::Key_Escape, Qt::Key_Right,    Qt::Key_PageDown, Qt::Key_Tab};
        const Qt::Key key = keys[random() % 16];
        QWidget *focus = main->focusWidget() ? main->focusWidget() : main;
        QTest::keyClick(focus, key);
        return QStringLiteral("key %1 on %2").arg(key).arg(focus->objectName());
    }
    main->close();
    return QStringLiteral("close the main window");
}

QString tst_RandomUse::checkInvariants(bool ending)
{
    int mainWindows = 0;
    int visible = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        mainWindows += qobject_cast<Form1 *>(w) != nullptr;
        visible += w->isVisible();
    }
    if (mainWindows > 1)
        return QStringLiteral("%1 main windows exist").arg(mainWindows);
    if (ending) {
        m_ended = true;
        return visible == 0 ? QString() : QStringLiteral("%1 windows visible after the end").arg(visible);
    }
    if (visible != 1)
        return QStringLiteral("%1 windows visible").arg(visible);

    Form1 *main = m_title->mainWindow();
    watch(main);
    if (!main)
        return {};
    for (const SliderRow &row : kSliderRows) {
        const int value = control<QScrollBar>(main, row.slider)->value();
        const QString expected = QString::number(double(value) / row.positionsPerUnit);
        const QString shown = control<QLabel>(main, row.readout)->text();
        if (shown != expected)
            return QStringLiteral("%1 shows %2 for %3").arg(QLatin1String(row.readout), shown, expected);
    }
    if (control<PlotBox>(main, kPlotBox)->image() != reference(m_lastPlot))
        return QStringLiteral("the plot box does not hold the last plot drawn");
    return {};
}

void tst_RandomUse::randomActionsKeepEveryInvariant()
{
    const unsigned seed = qEnvironmentVariableIsSet("VOREL_SEED")
                              ? qEnvironmentVariable("VOREL_SEED").toUInt()
                              : std::random_device{}();
    const int actions = qEnvironmentVariableIsSet("VOREL_ACTIONS") ? qEnvironmentVariableIntValue("VOREL_ACTIONS") : 20000;
    std::mt19937 random(seed);
    std::fprintf(stderr, "random use: seed %u, %d actions\n", seed, actions);

    startProgram();
    int plots = 0;
    for (int n = 1; n <= actions; ++n) {
        bool ending = false;
        const std::optional<Plot> before = m_lastPlot;
        const QString action = act(random, ending);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QString broken = checkInvariants(ending);
        QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("seed %1, action %2 (%3): %4 - replay with VOREL_SEED=%1")
                                                  .arg(seed).arg(n).arg(action, broken)));
        plots += m_lastPlot.has_value() && (!before || before->command != m_lastPlot->command
                                            || before < m_lastPlot || m_lastPlot < before);
        if (n % 64 == 0)
            QCoreApplication::processEvents();
    }
    std::fprintf(stderr, "random use: %d plots drawn\n", plots);
    QVERIFY(plots > 100);
    m_title.reset();
}

// Opening the main window and closing it again, a thousand times, must not
// leave widgets behind or keep taking memory.
void tst_RandomUse::openingAndClosingLeavesNothingBehind()
{
    startProgram();
    auto cycle = [this] {
        QTest::mouseClick(control<QPushButton>(m_title.get(), kContinuar), Qt::LeftButton);
        Form1 *main = m_title->mainWindow();
        setSliders(main, kEqualWaves);
        QTest::mouseClick(control<QPushButton>(main, kPlotButtons[0].name), Qt::LeftButton);
        (void)control<PlotBox>(main, kPlotBox)->image();
        main->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    for (int i = 0; i < 20; ++i)
        cycle();
    const qsizetype widgets = QApplication::allWidgets().size();
    long rssAt100 = 0;
    for (int i = 1; i <= 1000; ++i) {
        cycle();
        if (i == 100)
            rssAt100 = residentKilobytes();
    }
    const long rssAt1000 = residentKilobytes();
    std::fprintf(stderr, "open and close: %lld widgets before and after; resident memory %ld kB after 100 cycles, %ld kB after 1000\n",
                 qlonglong(widgets), rssAt100, rssAt1000);
    QCOMPARE(QApplication::allWidgets().size(), widgets);
    QVERIFY(!m_title->mainWindow());
#if !defined(__SANITIZE_ADDRESS__)
    // 900 more windows with a plot each: a leak of one plot's image alone
    // would be about 1 MB a window.
    QVERIFY2(rssAt1000 - rssAt100 < 4096, "resident memory keeps growing");
#endif
    m_title.reset();
}

QTEST_MAIN(tst_RandomUse)
#include "tst_randomuse.moc"
