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

void tst_Accessibility::plotBoxDescribesTheLastPlotDrawn()
{
    Form1 form;
    auto *box = control(&form, "Picture1");
    auto description = [&] { return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description); };
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
