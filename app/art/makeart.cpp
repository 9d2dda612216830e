// Draws the title window's picture and the program's icon, and writes them
// as PNG files: vorel_makeart <folder>. The files it writes are kept in the
// repository beside this program; run it again after changing a drawing.
//
// The picture has 256 colours, one of them transparent so that the window's
// background shows through; the icons have 16 colours, one transparent.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr QRgb kTransparent = qRgba(0, 0, 0, 0);
const QColor kBlue(0, 0, 225);
const QColor kGreen(0, 225, 0);
const QColor kRed(225, 0, 0);

using Wave = double (*)(double);

double wave1(double t) { return 0.55 * std::sin(t); }
double wave2(double t) { return 0.35 * std::sin(2 * t + 0.6); }
double sum(double t) { return wave1(t) + wave2(t); }

QPainterPath curve(Wave s, QRectF box, double amplitude)
{
    QPainterPath path;
    const int steps = 200;
    for (int i = 0; i <= steps; ++i) {
        const double u = double(i) / steps;
        const QPointF p(box.left() + u * box.width(),
                        box.center().y() - s(u * 2 * M_PI * 1.5) / amplitude * box.height() / 2);
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

// A light panel with rounded corners, a time axis and the three curves.
void drawScene(QPainter &p, QSize size, qreal pen)
{
    const QRectF panel = QRectF(QPointF(0, 0), size).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
    const qreal radius = size.width() / 8.0;
    p.setPen(QPen(QColor(60, 60, 60), pen));
    p.setBrush(QColor(255, 252, 235));
    p.drawRoundedRect(panel, radius, radius);

    const QRectF plot = panel.adjusted(radius / 2, radius, -radius / 2, -radius);
    p.setPen(QPen(QColor(120, 120, 120), std::max<qreal>(1, pen / 2)));
    p.drawLine(QPointF(plot.left(), plot.center().y()), QPointF(plot.right(), plot.center().y()));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve(wave1, plot, 1.0));
    p.setPen(QPen(kGreen, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve(wave2, plot, 1.0));
    p.setPen(QPen(kRed, pen * 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve(sum, plot, 1.0));
}

// Maps every opaque pixel to the nearest colour of the table; index 0 is
// the transparent colour and takes every pixel that is not opaque.
QImage toIndexed(const QImage &argb, const std::vector<QRgb> &opaque)
{
    QList<QRgb> table{kTransparent};
    for (QRgb c : opaque)
        table.append(c);
    QImage out(argb.size(), QImage::Format_Indexed8);
    out.setColorTable(table);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = argb.pixel(x, y);
            int best = 0;
            if (qAlpha(c) >= 128) {
                long bestDistance = -1;
                for (int i = 1; i < table.size(); ++i) {
                    const long dr = qRed(c) - qRed(table[i]);
                    const long dg = qGreen(c) - qGreen(table[i]);
                    const long db = qBlue(c) - qBlue(table[i]);
                    const long d = dr * dr + dg * dg + db * db;
                    if (bestDistance < 0 || d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
            }
            out.setPixel(x, y, uint(best));
        }
    }
    return out;
}

// 255 opaque colours: the curves' own, their blends with the panel, and a
// grey ramp for the frame and the axis.
std::vector<QRgb> pictureColours()
{
    std::vector<QRgb> colours;
    const QColor panel(255, 252, 235);
    for (const QColor &ink : {kBlue, kGreen, kRed}) {
        for (int i = 0; i < 64; ++i) {
            const double a = i / 63.0;
            colours.push_back(qRgb(int(ink.red() * a + panel.red() * (1 - a)),
                                   int(ink.green() * a + panel.green() * (1 - a)),
                                   int(ink.blue() * a + panel.blue() * (1 - a))));
        }
    }
    while (colours.size() < 255) {
        const int i = int(colours.size()) - 192; // 0 to 62
        const int g = 40 + i * (255 - 40) / 62;
        colours.push_back(qRgb(g, g, std::min(255, g - (g > 200 ? (255 - g) / 3 : 0))));
    }
    return colours;
}

QImage picture()
{
    const QSize size(162, 142);
    QImage argb(size, QImage::Format_ARGB32);
    argb.fill(kTransparent);
    QPainter p(&argb);
    p.setRenderHint(QPainter::Antialiasing);
    drawScene(p, size, 3);
    p.end();
    return toIndexed(argb, pictureColours());
}

// Drawn without antialiasing, so that 15 colours are enough.
QImage icon(int side)
{
    const QSize size(side, side);
    QImage argb(size, QImage::Format_ARGB32);
    argb.fill(kTransparent);
    QPainter p(&argb);
    drawScene(p, size, std::max(1, side / 16));
    p.end();
    const std::vector<QRgb> colours{
        qRgb(0, 0, 0),       qRgb(60, 60, 60),   qRgb(120, 120, 120), qRgb(192, 192, 192),
        qRgb(255, 255, 255), qRgb(255, 252, 235), kBlue.rgb(),        kGreen.rgb(),
        kRed.rgb(),          qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(128, 0, 0),
        qRgb(255, 255, 0),   qRgb(0, 255, 255),  qRgb(255, 0, 255),
    };
    return toIndexed(argb, colours);
}

bool save(const QImage &image, const QString &path)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorel_makeart <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = save(picture(), folder.filePath(QStringLiteral("picture.png")));
    for (int side : {32, 64, 128})
        ok = save(icon(side), folder.filePath(QStringLiteral("icon%1.png").arg(side))) && ok;
    return ok ? 0 : 1;
}
