#include "windowtest.h"

#include "form1.h"
#include "form2.h"
#include "layout.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>

#include <memory>

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
    void plotBoxDescribesTheLastPlotDrawn();

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

void tst_Accessibility::plotBoxDescribesTheLastPlotDrawn()
{
    Form1 form;
    auto *box = control(&form, "Picture1");
    auto description = [&] { return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description); };
    QCOMPARE(QAccessible::queryAccessibleInterface(box)->role(), QAccessible::Graphic);
    QVERIFY(description().isEmpty());
    setSliders(&form, {{"HScroll1", 20}, {"HScroll2", 10}, {"HScroll3", 10}, {"HScroll4", 20}, {"HScroll7", 125}});
    QTest::mouseClick(control<QPushButton>(&form, "Command3"), Qt::LeftButton);
    QCOMPARE(description(), QStringLiteral("Onda 1, en azul, onda 2, en verde, y resultante, en rojo. "
                                           "Valores de -30 a 30; tiempo de 0 a 12.5."));
    QTest::mouseClick(control<QPushButton>(&form, "Command1"), Qt::LeftButton);
    QCOMPARE(description(), QStringLiteral("Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 12.5."));
    setSliders(&form, {{"HScroll7", 0}});
    QTest::mouseClick(control<QPushButton>(&form, "Command5"), Qt::LeftButton);
    QVERIFY(description().startsWith(QStringLiteral("Onda 1, en azul.")));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
