// Start-up probe: the program as it starts, ending on the title window's
// first paint.
#include "form2.h"
#include "layout.h"

#include "firstpaint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    useProgramFont();
    Form2 title;
    FirstPaint firstPaint;
    title.installEventFilter(&firstPaint);
    title.show();
    return QApplication::exec();
}
