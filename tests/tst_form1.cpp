#include "windowtest.h"

#include "form1.h"
#include "layout.h"
#include "plotbox.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>

class tst_Form1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useProgramFont(); }
    void init() { m_form = std::make_unique<Form1>(); }
    void cleanup() { m_form.reset(); }

    void isAFixedWindowWithTheProgramsCaption();
    void placesEveryControl_data() { addControlRows(vorel::forms::kForm1); }
    void placesEveryControl();
    void looks();
    void slidersHaveTheirRangesAndSteps_data();
    void slidersHaveTheirRangesAndSteps();
    void tabWalksTheControlsInTheirOrder();
    void readoutsFollowOnlyTheirSlider_data();
    void readoutsFollowOnlyTheirSlider();
    void focusedSliderStepsWithKeys_data();
    void focusedSliderStepsWithKeys();
    void dragReportsOnlyOnRelease();
    void ondaDrawsItsWaveInItsExactColour_data();
    void ondaDrawsItsWaveInItsExactColour();
    void twoWavePlotsDrawTheirSelection_data();
    void twoWavePlotsDrawTheirSelection();
    void refusedPlotAndSliderMovesKeepThePicture();
    void pictureSurvivesHidingAndShowing();
    void focusedButtonClicksOnSpaceAndEnter();

private:
    QImage picture() const { return control<PlotBox>(m_form.get(), kPlotBox)->image(); }
    void showAndActivate()
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    std::unique_ptr<Form1> m_form;
};

void tst_Form1::isAFixedWindowWithTheProgramsCaption()
{
    QCOMPARE(m_form->size(), QSize(741, 541));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QVERIFY(m_form->windowTitle().startsWith(QStringLiteral("Interferencia de Vorel. ")));
    QVERIFY(m_form->windowTitle().endsWith(QLatin1Char('.')));
    QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
}

void tst_Form1::placesEveryControl()
{
    QFETCH(int, row);
    const vorel::forms::Control &c = vorel::forms::kForm1.controls[std::size_t(row)];
    checkPlacedAsInTable(m_form.get(), c);
    // Every control lies inside the window and overlaps no other.
    const QWidget *w = control(m_form.get(), c.name);
    QVERIFY(m_form->rect().contains(w->geometry()));
    for (const QWidget *other : m_form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(other == w || !other->geometry().intersects(w->geometry()), qPrintable(other->objectName()));
}

void tst_Form1::looks()
{
    for (const vorel::forms::Control &c : vorel::forms::kForm1.controls) {
        if (c.kind != vorel::forms::Kind::Label)
            continue;
        const auto *label = control<QLabel>(m_form.get(), c.name);
        const bool readout = c.look == vorel::forms::Look::Readout;
        QVERIFY(label->alignment() & Qt::AlignLeft);
        QCOMPARE(label->autoFillBackground(), readout);
        QCOMPARE(label->frameShape(), readout ? QFrame::Box : QFrame::NoFrame);
        if (readout) {
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
            QCOMPARE(label->lineWidth(), 1);
        }
    }
    auto *box = control<PlotBox>(m_form.get(), kPlotBox);
    QCOMPARE(box->contentsRect().size(), QSize(709, 397));
    QCOMPARE(box->frameShadow(), QFrame::Sunken);
    const QImage empty = box->image();
    QCOMPARE(countColour(empty, kWhite), empty.width() * empty.height());
}

void tst_Form1::slidersHaveTheirRangesAndSteps_data()
{
    QTest::addColumn<int>("slider");
    for (std::size_t i = 0; i < kSliderRows.size(); ++i)
        QTest::newRow(kSliderRows[i].slider) << int(i);
}

void tst_Form1::slidersHaveTheirRangesAndSteps()
{
    QFETCH(int, slider);
    const SliderRow &row = kSliderRows[std::size_t(slider)];
    const auto *bar = control<QScrollBar>(m_form.get(), row.slider);
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), row.maximum);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), row.pageStep);
    QCOMPARE(bar->value(), 0);
    QVERIFY(bar->focusPolicy() & Qt::TabFocus);
}

void tst_Form1::tabWalksTheControlsInTheirOrder()
{
    showAndActivate();
    const QStringList order{"Picture1", "HScroll1", "HScroll2", "HScroll3", "HScroll4",
                            "HScroll5", "HScroll6", "Command1", "Command2", "Command3",
                            "Command4", "HScroll7", "Command5", "Command6", "Picture1"};
    QCOMPARE(QApplication::focusWidget()->objectName(), order.front());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command6"));
}

void tst_Form1::readoutsFollowOnlyTheirSlider_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("comma"); // under a locale with a decimal comma
    // Every parameter with decimals has a row that shows some, so a readout
    // that ignored the separator would show a point; the amplitudes have none.
    auto row = [](const char *tag, int slider, int position, const char *text, const char *comma) {
        QTest::newRow(tag) << slider << position << QString::fromLatin1(text) << QString::fromLatin1(comma);
    };
    row("amplitud 1 at 50", 0, 50, "50", "50");
    row("amplitud 1 at 35", 0, 35, "35", "35");
    row("amplitud 2 at 35", 1, 35, "35", "35");
    row("amplitud 2 at 50", 1, 50, "50", "50");
    row("frecuencia 1", 2, 25, "2.5", "2,5");
    row("frecuencia 2 at 10", 3, 10, "1", "1");
    row("frecuencia 2 at 1", 3, 1, "0.1", "0,1");
    row("fase 1", 4, 7, "0.07", "0,07");
    row("fase 2 at 314", 5, 314, "3.14", "3,14");
    row("fase 2 at 157", 5, 157, "1.57", "1,57");
    row("rango at 5", 6, 5, "0.5", "0,5");
    row("rango at 125", 6, 125, "12.5", "12,5");
}

void tst_Form1::readoutsFollowOnlyTheirSlider()
{
    QFETCH(int, slider);
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QString, comma);
    const SliderRow &moved = kSliderRows[std::size_t(slider)];
    control<QScrollBar>(m_form.get(), moved.slider)->setValue(position);
    for (const SliderRow &row : kSliderRows)
        QCOMPARE(control<QLabel>(m_form.get(), row.readout)->text(), &row == &moved ? text : QStringLiteral("0"));

    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    Form1 form;
    control<QScrollBar>(&form, moved.slider)->setValue(position);
    QLocale::setDefault(previous);
    QCOMPARE(control<QLabel>(&form, moved.readout)->text(), comma);
}

void tst_Form1::focusedSliderStepsWithKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    // HScroll1 starts at 20 for each row; its page step is 5.
    QTest::newRow("Right") << int(Qt::Key_Right) << 21;
    QTest::newRow("Left") << int(Qt::Key_Left) << 19;
    QTest::newRow("Down") << int(Qt::Key_Down) << 21;
    QTest::newRow("Up") << int(Qt::Key_Up) << 19;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << 25;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << 15;
    QTest::newRow("Home") << int(Qt::Key_Home) << 0;
    QTest::newRow("End") << int(Qt::Key_End) << 50;
}

void tst_Form1::focusedSliderStepsWithKeys()
{
    QFETCH(int, key);
    QFETCH(int, expected);
    showAndActivate();
    auto *bar = control<QScrollBar>(m_form.get(), kSliderRows[0].slider);
    bar->setValue(20);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), bar);
    QTest::keyClick(bar, Qt::Key(key));
    QCOMPARE(bar->value(), expected);
    QCOMPARE(control<QLabel>(m_form.get(), kSliderRows[0].readout)->text(), QString::number(expected));
}

void tst_Form1::dragReportsOnlyOnRelease()
{
    showAndActivate();
    const SliderRow &frequency2 = kSliderRows[3];
    auto *bar = control<QScrollBar>(m_form.get(), frequency2.slider);
    const auto *readout = control<QLabel>(m_form.get(), frequency2.readout);
    const QRect handle = subControl(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = subControl(bar, QStyle::SC_ScrollBarGroove);

    QTest::mousePress(bar, Qt::LeftButton, {}, handle.center());
    QPoint at = handle.center();
    for (int i = 0; i < 10; ++i) {
        at.rx() += groove.width() / 25;
        QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(bar, &move);
    }
    QVERIFY(bar->sliderPosition() > 0);
    QCOMPARE(readout->text(), QStringLiteral("0"));
    QCOMPARE(bar->value(), 0);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    QVERIFY(bar->value() > 0);
    QCOMPARE(readout->text(), QString::number(bar->value() / 10.0));
}

void tst_Form1::ondaDrawsItsWaveInItsExactColour_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("otherButton");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<uint>("other");
    const PlotButton &onda1 = kPlotButtons[0];
    const PlotButton &onda2 = kPlotButtons[1];
    QTest::newRow("Onda 1") << onda1.name << onda2.name << uint(kBlue) << uint(kGreen);
    QTest::newRow("Onda 2") << onda2.name << onda1.name << uint(kGreen) << uint(kBlue);
}

// The curve of kEqualWaves, drawn over the other wave's.
void tst_Form1::ondaDrawsItsWaveInItsExactColour()
{
    QFETCH(QString, button);
    QFETCH(QString, otherButton);
    QFETCH(uint, colour);
    QFETCH(uint, other);
    setSliders(m_form.get(), kEqualWaves);
    QTest::mouseClick(control<QPushButton>(m_form.get(), qPrintable(otherButton)), Qt::LeftButton);
    QVERIFY(countColour(picture(), other) > 0);

    QTest::mouseClick(control<QPushButton>(m_form.get(), qPrintable(button)), Qt::LeftButton);
    const QImage image = picture();
    QVERIFY(colourNear(image, 500, 3000, colour));
    QVERIFY(colourNear(image, 1974, 500, colour));
    QVERIFY(colourNear(image, 4958, 5500, colour));
    QVERIFY(colourNear(image, 10000, 4360, colour));
    QVERIFY(!colourNear(image, 4958, 500, colour, 3));
    QCOMPARE(countColour(image, other), 0); // the other wave is gone
    QVERIFY(colourNear(image, 500, 4000, qRgb(0, 0, 0))); // the value axis
}

void tst_Form1::twoWavePlotsDrawTheirSelection_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("blue");
    QTest::addColumn<bool>("green");
    QTest::addColumn<bool>("red");
    for (const PlotButton &b : kPlotButtons)
        if (b.command != vorel::PlotCommand::Wave1 && b.command != vorel::PlotCommand::Wave2)
            QTest::newRow(b.name) << b.name << b.blue << b.green << b.red;
}

// The curves of kExample at x = 1450.
void tst_Form1::twoWavePlotsDrawTheirSelection()
{
    QFETCH(QString, button);
    QFETCH(bool, blue);
    QFETCH(bool, green);
    QFETCH(bool, red);
    setSliders(m_form.get(), kExample);
    QTest::mouseClick(control<QPushButton>(m_form.get(), qPrintable(button)), Qt::LeftButton);
    const QImage image = picture();
    QCOMPARE(colourNear(image, 1450, 1597.55f, kBlue), blue);
    QCOMPARE(colourNear(image, 1450, 2242.25f, kGreen), green);
    QCOMPARE(colourNear(image, 1450, 840, kRed), red);
    QCOMPARE(countColour(image, kBlue) > 0, blue);
    QCOMPARE(countColour(image, kGreen) > 0, green);
    QCOMPARE(countColour(image, kRed) > 0, red);
}

void tst_Form1::refusedPlotAndSliderMovesKeepThePicture()
{
    setSliders(m_form.get(), {20, 0, 10, 0, 0, 0, 100});
    QTest::mouseClick(control<QPushButton>(m_form.get(), kPlotButtons[0].name), Qt::LeftButton);
    const QImage plotted = picture();

    // Wave 2 has no amplitude, and A1 + A2 = 0 once wave 1 has none either.
    QTest::mouseClick(control<QPushButton>(m_form.get(), kPlotButtons[1].name), Qt::LeftButton);
    QCOMPARE(picture(), plotted);
    setSliders(m_form.get(), {0, 0, 55, 0, 300, 0, 100});
    for (const PlotButton &b : kPlotButtons)
        QTest::mouseClick(control<QPushButton>(m_form.get(), b.name), Qt::LeftButton);
    QCOMPARE(picture(), plotted);
}

void tst_Form1::pictureSurvivesHidingAndShowing()
{
    showAndActivate();
    setSliders(m_form.get(), kEqualWaves);
    QTest::mouseClick(control<QPushButton>(m_form.get(), kPlotButtons[1].name), Qt::LeftButton);
    const QImage plotted = picture();
    m_form->hide();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(picture(), plotted);
    auto *box = control<PlotBox>(m_form.get(), kPlotBox);
    const QImage onScreen = box->grab(box->contentsRect()).toImage();
    QVERIFY(colourNear(onScreen, 1974, 500, kGreen));
}

void tst_Form1::focusedButtonClicksOnSpaceAndEnter()
{
    showAndActivate();
    auto *onda1 = control<QPushButton>(m_form.get(), kPlotButtons[0].name);
    QSignalSpy clicks(onda1, &QPushButton::clicked);
    onda1->setFocus();
    QTest::keyClick(onda1, Qt::Key_Space);
    QTest::keyClick(onda1, Qt::Key_Return);
    QTest::keyClick(onda1, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicks.count(), 3);

    // Enter on a slider and Escape anywhere press nothing.
    QSignalSpy anyClick(control<QPushButton>(m_form.get(), kRegresar), &QPushButton::clicked);
    auto *slider = control<QScrollBar>(m_form.get(), kSliderRows[0].slider);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Return);
    QTest::keyClick(slider, Qt::Key_Escape);
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(anyClick.count(), 0);
    QVERIFY(m_form->isVisible());
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
