#include "windowtest.h"

#include "credits.h"
#include "form1.h"
#include "form2.h"
#include "layout.h"
#include "plotbox.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

// Counts the windows that become visible.
class ShowCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Show;
        return false;
    }
};

class tst_Form2 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_title = std::make_unique<Form2>(); }
    void cleanup() { m_title.reset(); }

    void isAFixedWindowWithTheSameCaptionAsTheMainWindow();
    void placesEveryControl_data() { addControlRows(vorel::forms::kForm2); }
    void placesEveryControl();
    void creditsUseArialAtNormalWeight();
    void pictureHas256ColoursOneTransparent();
    void iconHas16Colours();
    void startsWithTheFocusOnContinuar();
    void continuarOpensOnSpaceAndEnter_data();
    void continuarOpensOnSpaceAndEnter();
    void regresarKeepsTheMainWindowAsItWas();
    void closingTheMainWindowBringsTheTitleBack();
    void endingClosesEverythingAtOnce_data();
    void endingClosesEverythingAtOnce();

private:
    Form1 *continuar()
    {
        QTest::mouseClick(control<QPushButton>(m_title.get(), kContinuar), Qt::LeftButton);
        return m_title->mainWindow();
    }
    std::unique_ptr<Form2> m_title;
};

void tst_Form2::initTestCase()
{
    useProgramFont();
    QApplication::setQuitOnLastWindowClosed(false);
}

void tst_Form2::isAFixedWindowWithTheSameCaptionAsTheMainWindow()
{
    QCOMPARE(m_title->size(), QSize(602, 519));
    QCOMPARE(m_title->minimumSize(), m_title->maximumSize());
    Form1 main;
    QCOMPARE(m_title->windowTitle(), main.windowTitle());
    QCOMPARE(m_title->windowTitle(), QStringLiteral("Interferencia de Vorel. ") + kAuthorCredit);
    QVERIFY(kAuthorCredit.endsWith(QLatin1Char('.')));
    QVERIFY(!m_title->windowIcon().isNull());
}

void tst_Form2::placesEveryControl()
{
    QFETCH(int, row);
    const vorel::forms::Control &c = vorel::forms::kForm2.controls[std::size_t(row)];
    checkPlacedAsInTable(m_title.get(), c);
    if (c.kind == vorel::forms::Kind::Label) {
        const auto *label = control<QLabel>(m_title.get(), c.name);
        QVERIFY(label->wordWrap());
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        QCOMPARE(label->frameShape(), QFrame::NoFrame);
        QVERIFY(!label->autoFillBackground());
        // The text fits its label: nothing is cut off at the bottom.
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
    }
}

void tst_Form2::creditsUseArialAtNormalWeight()
{
    const std::pair<const char *, qreal> labels[] = {{"Label1", 18}, {"Label2", 18}, {"Label3", 15.75}};
    for (const auto &[name, size] : labels) {
        const QFont font = control(m_title.get(), name)->font();
        QCOMPARE(font.family(), QStringLiteral("Arial"));
        QCOMPARE(font.pointSizeF(), size);
        QCOMPARE(font.weight(), QFont::Normal);
        QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    }
}

void tst_Form2::pictureHas256ColoursOneTransparent()
{
    const QImage file(QStringLiteral(":/art/picture.png"));
    QCOMPARE(file.size(), QSize(162, 142));
    QCOMPARE(file.format(), QImage::Format_Indexed8);
    QCOMPARE(file.colorCount(), 256);
    int transparent = 0;
    for (QRgb c : file.colorTable())
        transparent += qAlpha(c) == 0;
    QCOMPARE(transparent, 1);
    QCOMPARE(qAlpha(file.pixel(0, 0)), 0); // a rounded corner

    const auto *image = control<QLabel>(m_title.get(), "Image1");
    QCOMPARE(image->pixmap().size(), QSize(162, 142));
    QVERIFY(!image->hasScaledContents());
    QVERIFY(!image->autoFillBackground());
}

void tst_Form2::iconHas16Colours()
{
    const QImage icon(QStringLiteral(":/art/icon32.png"));
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.colorCount() > 0 && icon.colorCount() <= 16);
}

void tst_Form2::startsWithTheFocusOnContinuar()
{
    m_title->show();
    QVERIFY(QTest::qWaitForWindowActive(m_title.get()));
    auto *continuar = control<QPushButton>(m_title.get(), kContinuar);
    auto *salir = control<QPushButton>(m_title.get(), kSalir);
    QCOMPARE(QApplication::focusWidget(), continuar);
    QTest::keyClick(continuar, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), salir);
    QTest::keyClick(salir, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), continuar);
    QVERIFY(!m_title->mainWindow());
}

void tst_Form2::continuarOpensOnSpaceAndEnter_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Enter") << int(Qt::Key_Return);
}

void tst_Form2::continuarOpensOnSpaceAndEnter()
{
    QFETCH(int, key);
    m_title->show();
    QVERIFY(QTest::qWaitForWindowActive(m_title.get()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(m_title->mainWindow());
    QVERIFY(m_title->mainWindow()->isVisible());
    QVERIFY(!m_title->isVisible());
}

void tst_Form2::regresarKeepsTheMainWindowAsItWas()
{
    m_title->show();
    Form1 *main = continuar();
    QVERIFY(main && main->isVisible() && !m_title->isVisible());
    setSliders(main, {0, 0, 25, 0, 0, 0, 120});

    QTest::mouseClick(control<QPushButton>(main, kRegresar), Qt::LeftButton);
    QVERIFY(!main->isVisible());
    QVERIFY(m_title->isVisible());

    QCOMPARE(continuar(), main);
    QVERIFY(main->isVisible() && !m_title->isVisible());
    QCOMPARE(control<QScrollBar>(main, kSliderRows[2].slider)->value(), 25);
    QCOMPARE(control<QLabel>(main, kSliderRows[2].readout)->text(), QStringLiteral("2.5"));
    QCOMPARE(control<QLabel>(main, kSliderRows[6].readout)->text(), QStringLiteral("12"));
}

void tst_Form2::closingTheMainWindowBringsTheTitleBack()
{
    m_title->show();
    Form1 *main = continuar();
    setSliders(main, kEqualWaves);
    QTest::mouseClick(control<QPushButton>(main, kPlotButtons[0].name), Qt::LeftButton);

    QPointer<Form1> closed = main;
    QVERIFY(main->close());
    QVERIFY(m_title->isVisible());
    QVERIFY(!m_title->mainWindow());

    // "Continuar" at once, before Qt has deleted the closed window.
    Form1 *fresh = continuar();
    QVERIFY(fresh != closed);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!closed);
    QVERIFY(fresh && fresh->isVisible() && !m_title->isVisible());
    for (const SliderRow &row : kSliderRows) {
        QCOMPARE(control<QScrollBar>(fresh, row.slider)->value(), 0);
        QCOMPARE(control<QLabel>(fresh, row.readout)->text(), QStringLiteral("0"));
    }
    const QImage picture = control<PlotBox>(fresh, kPlotBox)->image();
    QCOMPARE(countColour(picture, kWhite), picture.width() * picture.height());
}

void tst_Form2::endingClosesEverythingAtOnce_data()
{
    QTest::addColumn<bool>("mainWindowExists");
    QTest::addColumn<bool>("bySalir");
    QTest::newRow("Salir at start") << false << true;
    QTest::newRow("closing the title at start") << false << false;
    QTest::newRow("Salir after Regresar") << true << true;
    QTest::newRow("closing the title after Regresar") << true << false;
}

// The event loop must end, and no window may show again on the way: a
// hidden main window must not bring the title back.
void tst_Form2::endingClosesEverythingAtOnce()
{
    QFETCH(bool, mainWindowExists);
    QFETCH(bool, bySalir);
    m_title->show();
    QPointer<Form1> main;
    if (mainWindowExists) {
        main = continuar();
        QTest::mouseClick(control<QPushButton>(main, kRegresar), Qt::LeftButton);
    }
    ShowCounter shows;
    m_title->installEventFilter(&shows);
    if (main)
        main->installEventFilter(&shows);
    QTimer::singleShot(0, m_title.get(), [&] {
        if (bySalir)
            QTest::mouseClick(control<QPushButton>(m_title.get(), kSalir), Qt::LeftButton);
        else
            m_title->close();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(shows.count, 0);
    QVERIFY(!m_title->isVisible());
    if (mainWindowExists) {
        QVERIFY(main);
        QVERIFY(!main->isVisible());
    }
}

QTEST_MAIN(tst_Form2)
#include "tst_form2.moc"
