#include "windowtest.h"

#include "imagecanvas.h"
#include "layout.h"

class tst_ImageCanvas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { useProgramFont(); }
    void startsWhiteAtTheBoxSize_data();
    void startsWhiteAtTheBoxSize();
    void laterCurvesLieOnTop();
    void linesAreOneLogicalPixelWide_data();
    void linesAreOneLogicalPixelWide();
    void printsTextBelowAndRightOfTheCurrentPosition();
    void clsForgetsWhatWasNotYetShown();
    void mapsTheCanvasScaleOntoTheInnerArea_data();
    void mapsTheCanvasScaleOntoTheInnerArea();
};

void tst_ImageCanvas::startsWhiteAtTheBoxSize_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("1") << 1.0;
    QTest::newRow("2") << 2.0;
}

void tst_ImageCanvas::startsWhiteAtTheBoxSize()
{
    QFETCH(qreal, ratio);
    ImageCanvas canvas(ratio);
    const QImage image = canvas.image();
    QCOMPARE(image.size(), QSize(709, 397) * ratio);
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(countColour(image, qRgb(255, 255, 255)), image.width() * image.height());
}

// Segments are drawn step by step, blue, green and red at every x, along
// the same path: red must end up on top, and green over blue.
void tst_ImageCanvas::laterCurvesLieOnTop()
{
    ImageCanvas canvas;
    for (int x = 500; x < 10000; ++x) {
        canvas.Line(x, 3000, x + 1, 3000, vorel::kWave1Colour);
        canvas.Line(x, 3000, x + 1, 3000, vorel::kWave2Colour);
        canvas.Line(x, 3000, x + 1, 3000, vorel::kResultantColour);
        canvas.Line(x, 4000, x + 1, 4000, vorel::kWave1Colour);
        canvas.Line(x, 4000, x + 1, 4000, vorel::kWave2Colour);
    }
    const QImage image = canvas.image();
    QCOMPARE(countColour(image, kBlue), 0);
    QVERIFY(countColour(image, kRed) > 600);
    QVERIFY(countColour(image, kGreen) > 600);
    QVERIFY(colourNear(image, 5000, 4000, kGreen, 0));
}

void tst_ImageCanvas::linesAreOneLogicalPixelWide_data()
{
    startsWhiteAtTheBoxSize_data();
}

void tst_ImageCanvas::linesAreOneLogicalPixelWide()
{
    QFETCH(qreal, ratio);
    ImageCanvas canvas(ratio);
    canvas.Line(500, 3000, 10000, 3000, vorel::kResultantColour);
    canvas.Line(5000, 500, 5000, 5500, vorel::kWave1Colour);
    const QImage image = canvas.image();
    const int column = int(image.width() * 0.25);
    int redRows = 0;
    for (int y = 0; y < image.height(); ++y)
        redRows += image.pixel(column, y) == kRed;
    QCOMPARE(redRows, vorel::RasterCanvas::lineWidth(ratio));
    const int row = int(image.height() * 0.2);
    int blueColumns = 0;
    for (int x = 0; x < image.width(); ++x)
        blueColumns += image.pixel(x, row) == kBlue;
    QCOMPARE(blueColumns, vorel::RasterCanvas::lineWidth(ratio));
}

void tst_ImageCanvas::printsTextBelowAndRightOfTheCurrentPosition()
{
    ImageCanvas canvas;
    canvas.Line(5000, 3000, 5000, 3000); // leaves no dot
    QCOMPARE(countColour(canvas.image(), qRgb(255, 255, 255)), 709 * 397);
    canvas.Print("-50.0");
    const QImage image = canvas.image();
    const vorel::DevicePoint at = canvas.toDevice(5000, 3000);
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= at.x - 1 && ink.left() <= at.x + 3);
    QVERIFY(ink.top() >= at.y && ink.top() <= at.y + 6);
    QVERIFY(ink.height() < 16); // drawn at its natural size, not stretched
}

void tst_ImageCanvas::clsForgetsWhatWasNotYetShown()
{
    ImageCanvas canvas;
    canvas.Line(500, 500, 10000, 5500, vorel::kWave1Colour);
    canvas.Cls();
    canvas.Line(500, 5500, 10000, 500, vorel::kWave2Colour);
    const QImage image = canvas.image();
    QCOMPARE(countColour(image, kBlue), 0);
    QVERIFY(countColour(image, kGreen) > 0);
}

void tst_ImageCanvas::mapsTheCanvasScaleOntoTheInnerArea_data()
{
    startsWhiteAtTheBoxSize_data();
}

// 10500 units across the 709 pixels of the inner area, 6000 down its 397:
// x = 10000 lies inside, and lines on the edges x = 0, y = 0, x = 10500 and
// y = 6000 lie on the outermost pixels.
void tst_ImageCanvas::mapsTheCanvasScaleOntoTheInnerArea()
{
    QFETCH(qreal, ratio);
    ImageCanvas canvas(ratio);
    canvas.Line(10000, 500, 10000, 5500, vorel::kResultantColour);
    canvas.Line(0, 6000, 10500, 6000, vorel::kWave2Colour);
    canvas.Line(0, 0, 10500, 0, vorel::kWave2Colour);
    canvas.Line(0, 0, 0, 6000, vorel::kWave1Colour);
    canvas.Line(10500, 0, 10500, 6000, vorel::kWave1Colour);
    const QImage image = canvas.image();
    QVERIFY(colourNear(image, 10000, 3000, kRed, 0));
    // The outermost logical pixel is `ratio` device pixels deep.
    const int band = int(ratio);
    auto inBand = [&](int x, int y, bool alongX, QRgb colour) {
        for (int d = 0; d < band; ++d)
            if ((alongX ? image.pixel(x, y + d) : image.pixel(x + d, y)) == colour)
                return 1;
        return 0;
    };
    int bottom = 0, top = 0, left = 0, farRight = 0;
    for (int x = 0; x < image.width(); ++x) {
        bottom += inBand(x, image.height() - band, true, kGreen);
        top += inBand(x, 0, true, kGreen);
    }
    for (int y = 0; y < image.height(); ++y) {
        left += inBand(0, y, false, kBlue);
        farRight += inBand(image.width() - band, y, false, kBlue);
    }
    QVERIFY2(bottom > image.width() * 9 / 10, qPrintable(QString::number(bottom)));
    QVERIFY(top > image.width() * 9 / 10);
    QVERIFY(left > image.height() * 9 / 10);
    QVERIFY(farRight > image.height() * 9 / 10);
}

QTEST_MAIN(tst_ImageCanvas)
#include "tst_imagecanvas.moc"
