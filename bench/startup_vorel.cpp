// Start-up probe: the program as it starts, ending on the title window's
// first paint.
#include "form2.h"
#include "layout.h"

#include <QApplication>

namespace {

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QCoreApplication::exit(0);
        return false;
    }
};

} // namespace

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
