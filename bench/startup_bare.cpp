// Start-up baseline: a bare Qt program showing one window of 30 plain
// widgets, ending on its first paint.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(600, 520);
    for (int i = 0; i < 30; ++i) {
        QWidget *w = nullptr;
        switch (i % 3) {
        case 0:
            w = new QLabel(QStringLiteral("Etiqueta %1").arg(i), &window);
            break;
        case 1:
            w = new QPushButton(QStringLiteral("Botón %1").arg(i), &window);
            break;
        default:
            w = new QScrollBar(Qt::Horizontal, &window);
        }
        w->setGeometry(10 + (i % 3) * 190, 10 + (i / 3) * 50, 180, 30);
    }
    FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return QApplication::exec();
}
