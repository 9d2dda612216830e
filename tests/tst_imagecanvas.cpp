// What the desktop adds to the shared rasteriser: the pixels seen as an
// image of the box's size at the screen's ratio, and the labels written
// by Qt's font engine. The lines themselves are raster_test's.
#include "windowtest.h"

class tst_ImageCanvas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useProgramFont(); }
    void startsWhiteAtTheBoxSize_data();
    void startsWhiteAtTheBoxSize();
    void printsTextBelowAndRightOfTheCurrentPosition_data() { startsWhiteAtTheBoxSize_data(); }
    void printsTextBelowAndRightOfTheCurrentPosition();
    void aLabelCopiedFromAnEarlierPlotIsTheOneQtDraws_data() { startsWhiteAtTheBoxSize_data(); }
    void aLabelCopiedFromAnEarlierPlotIsTheOneQtDraws();
};

void tst_ImageCanvas::startsWhiteAtTheBoxSize_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("size");
    QTest::newRow("1") << 1.0 << QSize(709, 397);
    QTest::newRow("2") << 2.0 << QSize(1418, 794);
}

void tst_ImageCanvas::startsWhiteAtTheBoxSize()
{
    QFETCH(qreal, ratio);
    QFETCH(QSize, size);
    ImageCanvas canvas(ratio);
    const QImage image = canvas.image();
    QCOMPARE(image.size(), size);
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(countColour(image, kWhite), image.width() * image.height());
}

// The label's ink starts at the anchor, a few logical pixels right of and
// below it, and is no taller than the font at its natural size.
void tst_ImageCanvas::printsTextBelowAndRightOfTheCurrentPosition()
{
    QFETCH(qreal, ratio);
    ImageCanvas canvas(ratio);
    canvas.Line(5000, 3000, 5000, 3000);
    canvas.Print("-50.0");
    const QImage image = canvas.image();
    const vorel::DevicePoint at = canvas.toDevice(5000, 3000);
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.left() >= at.x - 1 && ink.left() <= at.x + 3 * ratio, qPrintable(QString::number(ink.left() - at.x)));
    QVERIFY2(ink.top() >= at.y && ink.top() <= at.y + 6 * ratio, qPrintable(QString::number(ink.top() - at.y)));
    QVERIFY(ink.height() < 16 * ratio);
}

// The labels of a plot drawn again come from the drawer's kept boxes; over
// other pixels, or with other texts, Qt draws them. Either way the picture
// is the one a fresh canvas draws.
void tst_ImageCanvas::aLabelCopiedFromAnEarlierPlotIsTheOneQtDraws()
{
    QFETCH(qreal, ratio);
    const vorel::SliderPositions example{20, 10, 10, 20, 0, 0, 100}, other{50, 50, 100, 73, 0, 0, 1000};
    const auto drawn = [&](ImageCanvas &canvas, const vorel::SliderPositions &p, vorel::PlotCommand command) {
        canvas.setFont(QApplication::font());
        vorel::runPlotCommand(command, canvas, p);
        return canvas.image();
    };
    ImageCanvas fresh(ratio), again(ratio);
    drawn(again, example, vorel::PlotCommand::All);
    drawn(again, other, vorel::PlotCommand::All);
    // The same labels over lines, then over white again.
    struct KeepingWhatLies : vorel::PlotCanvas {
        ImageCanvas &canvas;
        explicit KeepingWhatLies(ImageCanvas &c) : canvas(c) {}
        void Cls() override {}
        void Line(float x1, float y1, float x2, float y2) override { canvas.Line(x1, y1, x2, y2); }
        void Line(float x1, float y1, float x2, float y2, vorel::Colour c) override { canvas.Line(x1, y1, x2, y2, c); }
        void Print(std::string_view text) override { canvas.Print(text); }
    } over(again);
    again.Cls();
    for (int y = 0; y < 6000; y += 40)
        again.Line(0, float(y), 10500, float(y), vorel::rgb(0, 0, 225));
    vorel::runPlotCommand(vorel::PlotCommand::All, over, example);
    QVERIFY(again.image() != fresh.image());
    QCOMPARE(drawn(again, example, vorel::PlotCommand::All), drawn(fresh, example, vorel::PlotCommand::All));
    QCOMPARE(drawn(again, other, vorel::PlotCommand::All), drawn(fresh, other, vorel::PlotCommand::All));
}

QTEST_MAIN(tst_ImageCanvas)
#include "tst_imagecanvas.moc"
