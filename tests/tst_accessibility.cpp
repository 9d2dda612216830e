#include "windowtest.h"

#include "form1.h"
#include "form2.h"
#include "layout.h"
#include "plotbox.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

#include <memory>
#include <optional>
#include <vector>

namespace {

// Stands in for the speakers: keeps what it was given to play.
struct Recorder : SoundOutput {
    std::vector<std::vector<float>> played;
    int stops = 0;
    bool works = true;
    bool play(const std::vector<float> &samples, int sampleRate) override
    {
        if (sampleRate == 44100)
            played.push_back(samples);
        return works;
    }
    void stop() override { ++stops; }
};

} // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useProgramFont(); }
    void everyFocusableControlHasASpanishName_data();
    void everyFocusableControlHasASpanishName();
    void focusIsAlwaysVisible_data();
    void focusIsAlwaysVisible();
    void slidersDescribeTheirValueAsTheReadoutShowsIt();
    void windowsAreAnnouncedByTheirCaption();
    void slidersSpeakAndTakeTheirReadoutsUnits_data();
    void slidersSpeakAndTakeTheirReadoutsUnits();
    void plotBoxKeysTraceAndPlayOnlyInAudioMode();
    void plotBoxSoundIsHeardThroughTheSoundServer();

private:
    static std::unique_ptr<QWidget> openWindow(bool mainWindow)
    {
        std::unique_ptr<QWidget> window;
        if (mainWindow)
            window = std::make_unique<Form1>();
        else
            window = std::make_unique<Form2>();
        window->show();
        return window;
    }
};

void tst_Accessibility::everyFocusableControlHasASpanishName_data()
{
    QTest::addColumn<bool>("mainWindow");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("Form2") << false << QStringList{"Continuar", "Salir"};
    QTest::newRow("Form1") << true
                           << QStringList{"Gráfica", "Amplitud 1", "Amplitud 2", "Frecuencia 1",
                                          "Frecuencia 2", "Fase 1", "Fase 2", "Onda 1", "Onda 2",
                                          "Todas", "Regresar", "Rango", "Resultante", "Vorel 1 y 2"};
}

// Walks the tab order from the control that has the focus when the window
// opens, all the way round.
void tst_Accessibility::everyFocusableControlHasASpanishName()
{
    QFETCH(bool, mainWindow);
    QFETCH(QStringList, names);
    const std::unique_ptr<QWidget> window = openWindow(mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QStringList walked;
    QWidget *first = QApplication::focusWidget();
    QWidget *w = first;
    do {
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
        walked << name;
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
    } while (w != first && walked.size() < 50);
    QCOMPARE(walked, names);
}

void tst_Accessibility::focusIsAlwaysVisible_data()
{
    everyFocusableControlHasASpanishName_data();
}

// Each control looks different with the focus than without it, also when
// the focus came from the window opening rather than from a key.
void tst_Accessibility::focusIsAlwaysVisible()
{
    QFETCH(bool, mainWindow);
    const std::unique_ptr<QWidget> window = openWindow(mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *first = QApplication::focusWidget();
    QWidget *w = first;
    do {
        const QImage focused = w->grab().toImage();
        QTest::keyClick(w, Qt::Key_Tab);
        QWidget *next = QApplication::focusWidget();
        QVERIFY2(w->grab().toImage() != focused, qPrintable(w->objectName()));
        w = next;
    } while (w != first);
}

void tst_Accessibility::slidersDescribeTheirValueAsTheReadoutShowsIt()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    Form1 form;
    auto *frequency = control<QScrollBar>(&form, "HScroll3");
    QCOMPARE(QAccessible::queryAccessibleInterface(frequency)->text(QAccessible::Description), QStringLiteral("0"));
    frequency->setValue(25);
    QLocale::setDefault(previous);
    QCOMPARE(QAccessible::queryAccessibleInterface(frequency)->text(QAccessible::Description), QStringLiteral("2,5"));
    // The readouts and captions are the sliders' labels.
    QCOMPARE(control<QLabel>(&form, "Label7")->buddy(), frequency);
    QCOMPARE(control<QLabel>(&form, "Label5")->buddy(), frequency);
    QCOMPARE(control<QLabel>(&form, "Label14")->buddy(), control<QScrollBar>(&form, "HScroll7"));
}

void tst_Accessibility::windowsAreAnnouncedByTheirCaption()
{
    for (bool mainWindow : {false, true}) {
        const std::unique_ptr<QWidget> window = openWindow(mainWindow);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(window.get());
        QCOMPARE(iface->role(), QAccessible::Window);
        QCOMPARE(iface->text(QAccessible::Name), window->windowTitle());
    }
}

void tst_Accessibility::slidersSpeakAndTakeTheirReadoutsUnits_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<double>("wanted");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    auto row = [](const char *tag, const char *slider, const char *readout, double maximum, double step,
                  double wanted, int position, const char *text) {
        QTest::newRow(tag) << slider << readout << maximum << step << wanted << position << text;
    };
    row("Amplitud 1", "HScroll1", "Label3", 50, 1, 20, 20, "20");
    row("Amplitud 2 rounds", "HScroll2", "Label4", 50, 1, 37.4, 37, "37");
    row("Frecuencia 1", "HScroll3", "Label7", 10, 0.1, 1, 10, "1");
    row("Frecuencia 2", "HScroll4", "Label8", 10, 0.1, 2.5, 25, "2.5");
    row("Fase 1", "HScroll5", "Label11", 10, 0.01, 1.57, 157, "1.57");
    row("Fase 2 above the range", "HScroll6", "Label12", 10, 0.01, 12, 1000, "10");
    row("Rango", "HScroll7", "Label14", 100, 0.1, 12.5, 125, "12.5");
    row("Rango below the range", "HScroll7", "Label14", 100, 0.1, -3, 0, "0");
}

// Setting a value moves the slider as a key would: its Change handler runs
// and the readout follows.
void tst_Accessibility::slidersSpeakAndTakeTheirReadoutsUnits()
{
    QFETCH(QString, slider);
    QFETCH(QString, readout);
    QFETCH(double, maximum);
    QFETCH(double, step);
    QFETCH(double, wanted);
    QFETCH(int, position);
    QFETCH(QString, text);
    Form1 form;
    auto *bar = control<QScrollBar>(&form, qPrintable(slider));
    bar->setValue(1); // so that moving to 0 is a change too
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->minimumValue().toDouble(), 0.0);
    QCOMPARE(value->maximumValue().toDouble(), maximum);
    QCOMPARE(value->minimumStepSize().toDouble(), step);

    value->setCurrentValue(wanted);
    QCOMPARE(bar->value(), position);
    QCOMPARE(value->currentValue().toDouble(), position * step);
    QCOMPARE(control<QLabel>(&form, qPrintable(readout))->text(), text);
    QCOMPARE(iface->text(QAccessible::Value), text);
    QCOMPARE(iface->text(QAccessible::Description), text);
}

// The keys walk and play the plot on the box, not the sliders as they are
// now, and only once Alt+T has turned the audio mode on; the picture stays.
void tst_Accessibility::plotBoxKeysTraceAndPlayOnlyInAudioMode()
{
    Form1 form;
    auto *speakers = new Recorder;
    form.setSoundOutput(std::unique_ptr<SoundOutput>(speakers));
    auto *box = control<PlotBox>(&form, "Picture1");
    const Heard heard;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    box->setFocus();
    // Each key, what is said after it (nothing for a key that does what it
    // always did), and how many sounds have played by then. A held key
    // comes as its own repeat.
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QStringList said;
        std::size_t played = 0;
        bool held = false;
    };
    const auto press = [&](std::initializer_list<Press> presses) {
        for (const Press &p : presses) {
            const qsizetype before = heard.said.size();
            if (p.held) {
                QKeyEvent repeat(QEvent::KeyPress, p.key, p.modifiers, QString(), true);
                QApplication::sendEvent(box, &repeat);
            } else {
                QTest::keyClick(box, p.key, p.modifiers);
            }
            const QString key = QKeySequence(p.key | p.modifiers).toString() + (p.held ? " held" : "");
            if (heard.said.mid(before) != p.said || speakers->played.size() != p.played)
                return key + ": said " + heard.said.mid(before).join(" | ") + ", played " + QString::number(speakers->played.size());
        }
        return QString();
    };
    const auto none = Qt::NoModifier;
    const auto keypad = Qt::KeypadModifier;
    const QStringList noPlot{"No hay gráfico."};
    QCOMPARE(press({{Qt::Key_Return, none, {}},
                    {Qt::Key_Space, none, {}},
                    {Qt::Key_Right, none, {}},
                    {Qt::Key_T, Qt::AltModifier | Qt::ShiftModifier, {}},
                    {Qt::Key_T, Qt::AltModifier, {"Modo de audio activado."}},
                    {Qt::Key_T, Qt::AltModifier, {}, 0, true},
                    {Qt::Key_Return, none, noPlot},
                    {Qt::Key_Return, none, noPlot}}),
             QString());

    setSliders(&form, {{"HScroll1", 20}, {"HScroll2", 10}, {"HScroll3", 10}, {"HScroll4", 20},
                       {"HScroll5", 150}, {"HScroll6", 40}, {"HScroll7", 100}});
    QTest::mouseClick(control<QPushButton>(&form, "Command3"), Qt::LeftButton);
    // Said at once, with the focus on the button.
    QVERIFY(heard.last().startsWith(QStringLiteral("Onda 1, en azul, onda 2, en verde, y resultante, en rojo. ")));
    const QImage picture = box->image();
    setSliders(&form, {{"HScroll1", 50}});
    box->setFocus();
    const QStringList start{"t = 0.0: onda 1, 19.9; onda 2, 3.9; resultante, 23.8"};
    const QStringList end{"t = 10.0: onda 1, -17.5; onda 2, 10.0; resultante, -7.5"};
    QCOMPARE(press({{Qt::Key_Right, keypad, start},
                    {Qt::Key_End, none, end},
                    {Qt::Key_Right, none, end},
                    {Qt::Key_Home, none, start},
                    {Qt::Key_PageDown, none, {"t = 1.0: onda 1, 12.0; onda 2, 6.8; resultante, 18.7"}}}),
             QString());
    // A plot that its guard refuses draws nothing, and the keys stay on the last.
    setSliders(&form, {{"HScroll7", 0}});
    QTest::mouseClick(control<QPushButton>(&form, "Command5"), Qt::LeftButton);
    box->setFocus();
    QCOMPARE(press({{Qt::Key_Right, none, {"t = 1.1: onda 1, 10.3; onda 2, 5.2; resultante, 15.5"}},
                    {Qt::Key_H, none, {}, 1},
                    {Qt::Key_H, none, {}, 1, true},
                    {Qt::Key_Return, none, {}, 1, true},
                    {Qt::Key_Enter, keypad, {}, 2}}),
             QString());
    QCOMPARE(speakers->played[0].size(), 220500u); // three curves of 1.5 s, two gaps of 0.25 s
    QCOMPARE(qRound(speakers->played[0][10000] * 1e5), 19547); // wave 1 at 20, not 50
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(speakers->stops, 1);
    speakers->works = false;
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(heard.last(), QStringLiteral("No hay salida de sonido."));
    QCOMPARE(box->image(), picture);
    // The box keeps its name, and its description stays the plot drawn (not
    // the refused one) and its keys, which its tooltip tells too.
    QCOMPARE(box->toolTip(), QStringLiteral("Alt+T: modo de audio. Intro: escuchar. Flechas: recorrer."));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(box);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Gráfica"));
    QVERIFY(iface->text(QAccessible::Description).startsWith(QStringLiteral("Onda 1, en azul, onda 2, en verde, y resultante, en rojo. ")));
    QVERIFY(iface->text(QAccessible::Description).endsWith(QStringLiteral("Flechas: recorrer.")));
    QTest::mouseClick(control<QPushButton>(&form, "Command4"), Qt::LeftButton);
    QCOMPARE(speakers->stops, 2);
    // Shown again, the window says nothing of what it said before.
    const QStringList said = heard.said;
    form.show();
    QCOMPARE(heard.said, said);
}

// The sound as the computer plays it, through Qt Multimedia, from a key on
// the plot box. Where VOREL_SOUND_SINK names a sample format (ctest runs
// this once for each of two), a sound server of the test's own plays it,
// and what reached its output is measured; where no sound server runs,
// the box says so, once, and goes on.
void tst_Accessibility::plotBoxSoundIsHeardThroughTheSoundServer()
{
    const QString sampleFormat = qEnvironmentVariable("VOREL_SOUND_SINK");
    std::optional<SoundServer> server;
    if (!sampleFormat.isEmpty()) {
        server.emplace(sampleFormat);
        QTRY_VERIFY_WITH_TIMEOUT(server->ready(), 20000);
    }
    Form1 form;
    auto *box = control<PlotBox>(&form, "Picture1");
    const Heard heard;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // Onda 1 with A1 = 20, ω1 = 5, T = 10: 44 · 5 = 220 Hz, at 20 of the
    // 100 of full scale, for 1.5 s.
    setSliders(&form, {{"HScroll1", 20}, {"HScroll3", 50}, {"HScroll7", 100}});
    QTest::mouseClick(control<QPushButton>(&form, "Command1"), Qt::LeftButton);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_T, Qt::AltModifier);
    const qsizetype before = heard.said.size();
    QTest::keyClick(box, Qt::Key_Return);
    if (!server) {
        QTest::keyClick(box, Qt::Key_Right);
        QCOMPARE(heard.said.mid(before), QStringList({"No hay salida de sonido.", "t = 0.0: onda 1, 0.0"}));
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(server->sounds().size(), 1, 10000);
    // Again, and at once a second sound, Onda 1 with A1 = 10, ω1 = 10:
    // 440 Hz at a tenth. The first stops.
    QTest::keyClick(box, Qt::Key_Return);
    setSliders(&form, {{"HScroll1", 10}, {"HScroll3", 100}});
    QTest::mouseClick(control<QPushButton>(&form, "Command1"), Qt::LeftButton);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    // What little of the first plays again may be heard apart before it.
    QTRY_VERIFY_WITH_TIMEOUT(server->sounds().size() >= 2 && qRound(server->sounds().last().hertz) == 440, 10000);
    QVERIFY(!heard.said.contains(QStringLiteral("No hay salida de sonido.")));
    const QList<SoundServer::Sound> sounds = server->sounds();
    for (const SoundServer::Sound &sound : sounds)
        qInfo("heard %.4f s at %.2f Hz, level %.5f", sound.seconds, sound.hertz, sound.level);
    QCOMPARE(qRound(sounds[0].seconds * 100), 150);
    QCOMPARE(qRound(sounds[0].hertz), 220);
    QCOMPARE(qRound(sounds[0].level * 100), 20);
    QCOMPARE(qRound(sounds.last().seconds * 100), 150);
    QCOMPARE(qRound(sounds.last().level * 100), 10);
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
