// Interferencia de Vorel: opens on the title window and waits for the user.
#include "form2.h"
#include "layout.h"
#include "session.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (!hasGraphicalSession(argc, argv, [](const char *name) { return std::getenv(name); })) {
        std::fprintf(stderr, "%s\n", kNoSessionMessage);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    // The program ends only through "Salir" or the closing of the title
    // window, never because no window happens to be visible.
    QApplication::setQuitOnLastWindowClosed(false);
    useProgramFont();

    Form2 title;
    title.show();
    return QApplication::exec();
}
