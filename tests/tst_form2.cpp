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
    void placesEveryControl_data();
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
        QTest::mouseClick(control<QPushButton>(m_title.get(), "Command1"), Qt::LeftButton);
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

void tst_Form2::placesEveryControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<int>("tabIndex");
    auto row = [](const char *name, const QString &text, int l, int t, int w, int h, int tab) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << QRect(l, t, w, h) << tab;
    };
    row("Image1", QString(), 3120, 240, 2430, 2130, -1);
    row("Label2", kInstitutionCredit, 1680, 2760, 5415, 1455, 1);
    row("Label1", QStringLiteral(" Sistema de Simulación para la Interferencia de Vorel"), 1560, 4560, 5655, 855, 0);
    row("Label3", kAuthorCredit, 2400, 5760, 4095, 495, 2);
    row("Command1", QStringLiteral("Continuar"), 840, 6600, 2895, 615, 3);
    row("Command2", QStringLiteral("Salir"), 5160, 6600, 2895, 615, 4);
}

void tst_Form2::placesEveryControl()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(int, tabIndex);
    const QWidget *w = control(m_title.get(), name.toLatin1().constData());
    QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    if (tabIndex == kNoTabIndex)
        QVERIFY(!w->property(kTabIndexProperty).isValid());
    else
        QCOMPARE(w->property(kTabIndexProperty).toInt(), tabIndex);
    if (auto *label = qobject_cast<const QLabel *>(w)) {
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        if (!text.isEmpty()) {
            QCOMPARE(label->text(), text);
            QVERIFY(label->wordWrap());
            QVERIFY(label->alignment() & Qt::AlignHCenter);
            QCOMPARE(label->frameShape(), QFrame::NoFrame);
            QVERIFY(!label->autoFillBackground());
            // The text fits its label: nothing is cut off at the bottom.
            QVERIFY(label->heightForWidth(label->width()) <= label->height());
        }
    }
    if (auto *button = qobject_cast<const QPushButton *>(w)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault() && !button->autoDefault());
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
    auto *continuar = control<QPushButton>(m_title.get(), "Command1");
    auto *salir = control<QPushButton>(m_title.get(), "Command2");
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
    setSliders(main, {{"HScroll3", 25}, {"HScroll7", 120}});

    QTest::mouseClick(control<QPushButton>(main, "Command4"), Qt::LeftButton);
    QVERIFY(!main->isVisible());
    QVERIFY(m_title->isVisible());

    QCOMPARE(continuar(), main);
    QVERIFY(main->isVisible() && !m_title->isVisible());
    QCOMPARE(control<QScrollBar>(main, "HScroll3")->value(), 25);
    QCOMPARE(control<QLabel>(main, "Label7")->text(), QStringLiteral("2.5"));
    QCOMPARE(control<QLabel>(main, "Label14")->text(), QStringLiteral("12"));
}

void tst_Form2::closingTheMainWindowBringsTheTitleBack()
{
    m_title->show();
    Form1 *main = continuar();
    setSliders(main, {{"HScroll1", 20}, {"HScroll3", 10}, {"HScroll7", 100}});
    QTest::mouseClick(control<QPushButton>(main, "Command1"), Qt::LeftButton);

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
    for (const char *name : {"HScroll1", "HScroll3", "HScroll7"})
        QCOMPARE(control<QScrollBar>(fresh, name)->value(), 0);
    for (const QLabel *l : {control<QLabel>(fresh, "Label3"), control<QLabel>(fresh, "Label7"), control<QLabel>(fresh, "Label14")})
        QCOMPARE(l->text(), QStringLiteral("0"));
    const QImage picture = control<PlotBox>(fresh, "Picture1")->image();
    QCOMPARE(countColour(picture, qRgb(255, 255, 255)), picture.width() * picture.height());
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
        QTest::mouseClick(control<QPushButton>(main, "Command4"), Qt::LeftButton);
    }
    ShowCounter shows;
    m_title->installEventFilter(&shows);
    if (main)
        main->installEventFilter(&shows);
    QTimer::singleShot(0, m_title.get(), [&] {
        if (bySalir)
            QTest::mouseClick(control<QPushButton>(m_title.get(), "Command2"), Qt::LeftButton);
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
