#include "windowtest.h"

#include "form1.h"
#include "layout.h"
#include "plotbox.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cmath>
#include <memory>

class tst_Form1 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useProgramFont(); }
    void init() { m_form = std::make_unique<Form1>(); }
    void cleanup() { m_form.reset(); }

    void isAFixedWindowWithTheProgramsCaption();
    void placesEveryControl_data();
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
    void readoutsUseTheLocalesSeparator_data();
    void readoutsUseTheLocalesSeparator();
    void ondaDrawsItsWaveInItsExactColour_data();
    void ondaDrawsItsWaveInItsExactColour();
    void twoWavePlotsDrawTheirSelection_data();
    void twoWavePlotsDrawTheirSelection();
    void refusedPlotAndSliderMovesKeepThePicture();
    void pictureSurvivesHidingAndShowing();
    void focusedButtonClicksOnSpaceAndEnter();

private:
    QImage picture() const { return control<PlotBox>(m_form.get(), "Picture1")->image(); }
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

void tst_Form1::placesEveryControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<int>("tabIndex");
    auto row = [](const char *name, const char *text, int l, int t, int w, int h, int tab) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(text) << QRect(l, t, w, h) << tab;
    };
    row("Label1", "Amplitud 1", 120, 360, 855, 255, 1);
    row("HScroll1", "", 1320, 360, 1215, 255, 3);
    row("Label3", "0", 2760, 360, 855, 255, 5);
    row("Label5", "Frecuencia 1", 3840, 360, 975, 255, 7);
    row("HScroll3", "", 5040, 360, 1215, 255, 9);
    row("Label7", "0", 6480, 360, 855, 255, 11);
    row("Label9", "Fase 1", 7560, 360, 735, 255, 13);
    row("HScroll5", "", 8520, 360, 1215, 255, 15);
    row("Label11", "0", 9960, 360, 855, 255, 17);
    row("Label2", "Amplitud 2", 120, 840, 855, 255, 2);
    row("HScroll2", "", 1320, 840, 1215, 255, 4);
    row("Label4", "0", 2760, 840, 855, 255, 6);
    row("Label6", "Frecuencia 2", 3840, 840, 975, 255, 8);
    row("HScroll4", "", 5040, 840, 1215, 255, 10);
    row("Label8", "0", 6480, 840, 855, 255, 12);
    row("Label10", "Fase 2", 7560, 840, 735, 255, 14);
    row("HScroll6", "", 8520, 840, 1215, 255, 16);
    row("Label12", "0", 9960, 840, 855, 255, 18);
    row("Label13", "Rango", 240, 1440, 735, 255, 23);
    row("HScroll7", "", 1320, 1440, 1215, 255, 24);
    row("Label14", "0", 2760, 1440, 855, 255, 25);
    row("Command1", "Onda 1", 3840, 1440, 975, 375, 19);
    row("Command2", "Onda 2", 5040, 1440, 975, 375, 20);
    row("Command6", "Vorel 1 y 2", 6240, 1440, 975, 375, 27);
    row("Command5", "Resultante", 7440, 1440, 975, 375, 26);
    row("Command3", "Todas", 8640, 1440, 975, 375, 21);
    row("Command4", "Regresar", 9840, 1440, 1095, 375, 22);
    row("Picture1", "", 120, 2040, 10695, 6015, 0);
}

void tst_Form1::placesEveryControl()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(int, tabIndex);
    const QWidget *w = control(m_form.get(), name.toLatin1().constData());
    QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(w->property(kTabIndexProperty).toInt(), tabIndex);
    if (auto *label = qobject_cast<const QLabel *>(w)) {
        QCOMPARE(label->text(), text);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
    if (auto *button = qobject_cast<const QPushButton *>(w))
        QCOMPARE(button->text(), text);
    // Every control lies inside the window and overlaps no other.
    QVERIFY(m_form->rect().contains(w->geometry()));
    for (const QWidget *other : m_form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(other == w || !other->geometry().intersects(w->geometry()), qPrintable(other->objectName()));
}

void tst_Form1::looks()
{
    for (const char *name : {"Label3", "Label4", "Label7", "Label8", "Label11", "Label12", "Label14"}) {
        const auto *readout = control<QLabel>(m_form.get(), name);
        QVERIFY(readout->autoFillBackground());
        QCOMPARE(readout->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(readout->frameShape(), QFrame::Box);
        QCOMPARE(readout->lineWidth(), 1);
        QVERIFY(readout->alignment() & Qt::AlignLeft);
    }
    for (const char *name : {"Label1", "Label2", "Label5", "Label6", "Label9", "Label10", "Label13"}) {
        const auto *caption = control<QLabel>(m_form.get(), name);
        QCOMPARE(caption->frameShape(), QFrame::NoFrame);
        QVERIFY(!caption->autoFillBackground());
        QVERIFY(caption->alignment() & Qt::AlignLeft);
    }
    for (const QPushButton *b : m_form->findChildren<QPushButton *>()) {
        QVERIFY(!b->isDefault());
        QVERIFY(!b->autoDefault());
    }
    auto *box = control<PlotBox>(m_form.get(), "Picture1");
    QCOMPARE(box->contentsRect().size(), QSize(709, 397));
    QCOMPARE(box->frameShadow(), QFrame::Sunken);
    const QImage empty = box->image();
    QCOMPARE(countColour(empty, qRgb(255, 255, 255)), empty.width() * empty.height());
}

void tst_Form1::slidersHaveTheirRangesAndSteps_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("pageStep");
    QTest::newRow("HScroll1") << "HScroll1" << 50 << 5;
    QTest::newRow("HScroll2") << "HScroll2" << 50 << 5;
    QTest::newRow("HScroll3") << "HScroll3" << 100 << 1;
    QTest::newRow("HScroll4") << "HScroll4" << 100 << 1;
    QTest::newRow("HScroll5") << "HScroll5" << 1000 << 1;
    QTest::newRow("HScroll6") << "HScroll6" << 1000 << 1;
    QTest::newRow("HScroll7") << "HScroll7" << 1000 << 5;
}

void tst_Form1::slidersHaveTheirRangesAndSteps()
{
    QFETCH(QString, name);
    QFETCH(int, maximum);
    QFETCH(int, pageStep);
    const auto *bar = control<QScrollBar>(m_form.get(), name.toLatin1().constData());
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), maximum);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->pageStep(), pageStep);
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
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<QString>("text");
    QTest::newRow("amplitud 1") << "HScroll1" << 50 << "Label3" << "50";
    QTest::newRow("amplitud 2") << "HScroll2" << 35 << "Label4" << "35";
    QTest::newRow("frecuencia 1") << "HScroll3" << 25 << "Label7" << "2.5";
    QTest::newRow("frecuencia 2") << "HScroll4" << 10 << "Label8" << "1";
    QTest::newRow("fase 1") << "HScroll5" << 7 << "Label11" << "0.07";
    QTest::newRow("fase 2") << "HScroll6" << 314 << "Label12" << "3.14";
    QTest::newRow("rango") << "HScroll7" << 5 << "Label14" << "0.5";
}

void tst_Form1::readoutsFollowOnlyTheirSlider()
{
    QFETCH(QString, slider);
    QFETCH(int, value);
    QFETCH(QString, readout);
    QFETCH(QString, text);
    control<QScrollBar>(m_form.get(), slider.toLatin1().constData())->setValue(value);
    for (const char *name : {"Label3", "Label4", "Label7", "Label8", "Label11", "Label12", "Label14"}) {
        const QString expected = readout == QLatin1String(name) ? text : QStringLiteral("0");
        QCOMPARE(control<QLabel>(m_form.get(), name)->text(), expected);
    }
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
    auto *bar = control<QScrollBar>(m_form.get(), "HScroll1");
    bar->setValue(20);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), bar);
    QTest::keyClick(bar, Qt::Key(key));
    QCOMPARE(bar->value(), expected);
    QCOMPARE(control<QLabel>(m_form.get(), "Label3")->text(), QString::number(expected));
}

void tst_Form1::dragReportsOnlyOnRelease()
{
    showAndActivate();
    auto *bar = control<QScrollBar>(m_form.get(), "HScroll4");
    const auto *readout = control<QLabel>(m_form.get(), "Label8");
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    const QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QRect groove = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);

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

void tst_Form1::readoutsUseTheLocalesSeparator_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    // Each row has decimals where its parameter can, so a readout that
    // ignored the separator would show a point; the amplitudes have none.
    QTest::newRow("Amplitud 1") << "HScroll1" << "Label3" << 35 << "35";
    QTest::newRow("Amplitud 2") << "HScroll2" << "Label4" << 50 << "50";
    QTest::newRow("Frecuencia 1") << "HScroll3" << "Label7" << 25 << "2,5";
    QTest::newRow("Frecuencia 2") << "HScroll4" << "Label8" << 1 << "0,1";
    QTest::newRow("Fase 1") << "HScroll5" << "Label11" << 7 << "0,07";
    QTest::newRow("Fase 2") << "HScroll6" << "Label12" << 157 << "1,57";
    QTest::newRow("Rango") << "HScroll7" << "Label14" << 125 << "12,5";
}

void tst_Form1::readoutsUseTheLocalesSeparator()
{
    QFETCH(QString, slider);
    QFETCH(QString, readout);
    QFETCH(int, position);
    QFETCH(QString, text);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    Form1 form;
    control<QScrollBar>(&form, qPrintable(slider))->setValue(position);
    QLocale::setDefault(previous);
    QCOMPARE(control<QLabel>(&form, qPrintable(readout))->text(), text);
}

void tst_Form1::ondaDrawsItsWaveInItsExactColour_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<uint>("other");
    QTest::newRow("Onda 1") << "Command1" << uint(kBlue) << uint(kGreen);
    QTest::newRow("Onda 2") << "Command2" << uint(kGreen) << uint(kBlue);
}

// A = 20, ω = 1.0, φ = 0, T = 10 for both waves: the curve starts on the
// time axis, touches the top at x = 1974 and the bottom at x = 4958, and
// ends at (10000, 4360).
void tst_Form1::ondaDrawsItsWaveInItsExactColour()
{
    QFETCH(QString, button);
    QFETCH(uint, colour);
    QFETCH(uint, other);
    setSliders(m_form.get(), {{"HScroll1", 20}, {"HScroll2", 20}, {"HScroll3", 10}, {"HScroll4", 10}, {"HScroll7", 100}});
    const char *otherButton = button == QLatin1String("Command1") ? "Command2" : "Command1";
    QTest::mouseClick(control<QPushButton>(m_form.get(), otherButton), Qt::LeftButton);
    QVERIFY(countColour(picture(), other) > 0);

    QTest::mouseClick(control<QPushButton>(m_form.get(), button.toLatin1().constData()), Qt::LeftButton);
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
    QTest::newRow("Vorel 1 y 2") << "Command6" << true << true << false;
    QTest::newRow("Resultante") << "Command5" << false << false << true;
    QTest::newRow("Todas") << "Command3" << true << true << true;
}

// A1 = 20, A2 = 10, ω1 = 1.0, ω2 = 2.0, phases 0, T = 10: at x = 1450 wave 1
// lies at y ≈ 1597.55, wave 2 at y ≈ 2242.25 and the resultant at y = 840.
void tst_Form1::twoWavePlotsDrawTheirSelection()
{
    QFETCH(QString, button);
    QFETCH(bool, blue);
    QFETCH(bool, green);
    QFETCH(bool, red);
    setSliders(m_form.get(), {{"HScroll1", 20}, {"HScroll2", 10}, {"HScroll3", 10}, {"HScroll4", 20}, {"HScroll7", 100}});
    QTest::mouseClick(control<QPushButton>(m_form.get(), button.toLatin1().constData()), Qt::LeftButton);
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
    setSliders(m_form.get(), {{"HScroll1", 20}, {"HScroll3", 10}, {"HScroll7", 100}});
    QTest::mouseClick(control<QPushButton>(m_form.get(), "Command1"), Qt::LeftButton);
    const QImage plotted = picture();

    // Wave 2 has no amplitude, and A1 + A2 = 0 once wave 1 has none either.
    QTest::mouseClick(control<QPushButton>(m_form.get(), "Command2"), Qt::LeftButton);
    QCOMPARE(picture(), plotted);
    setSliders(m_form.get(), {{"HScroll1", 0}, {"HScroll3", 55}, {"HScroll5", 300}});
    for (const char *name : {"Command1", "Command3", "Command5", "Command6"})
        QTest::mouseClick(control<QPushButton>(m_form.get(), name), Qt::LeftButton);
    QCOMPARE(picture(), plotted);
}

void tst_Form1::pictureSurvivesHidingAndShowing()
{
    showAndActivate();
    setSliders(m_form.get(), {{"HScroll2", 20}, {"HScroll4", 10}, {"HScroll7", 100}});
    QTest::mouseClick(control<QPushButton>(m_form.get(), "Command2"), Qt::LeftButton);
    const QImage plotted = picture();
    m_form->hide();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCOMPARE(picture(), plotted);
    auto *box = control<PlotBox>(m_form.get(), "Picture1");
    const QImage onScreen = box->grab(box->contentsRect()).toImage();
    QVERIFY(colourNear(onScreen, 1974, 500, kGreen));
}

void tst_Form1::focusedButtonClicksOnSpaceAndEnter()
{
    showAndActivate();
    auto *onda1 = control<QPushButton>(m_form.get(), "Command1");
    QSignalSpy clicks(onda1, &QPushButton::clicked);
    onda1->setFocus();
    QTest::keyClick(onda1, Qt::Key_Space);
    QTest::keyClick(onda1, Qt::Key_Return);
    QTest::keyClick(onda1, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicks.count(), 3);

    // Enter on a slider and Escape anywhere press nothing.
    QSignalSpy anyClick(control<QPushButton>(m_form.get(), "Command4"), &QPushButton::clicked);
    auto *slider = control<QScrollBar>(m_form.get(), "HScroll1");
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Return);
    QTest::keyClick(slider, Qt::Key_Escape);
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(anyClick.count(), 0);
    QVERIFY(m_form->isVisible());
}

QTEST_MAIN(tst_Form1)
#include "tst_form1.moc"
