// Takes the README's pictures of both windows, the main window after
// "Todas" for A1 = 20, A2 = 10, ω1 = 1.0, ω2 = 2.0, phases 0, T = 10:
//   QT_QPA_PLATFORM=offscreen vorel_screenshots <folder>
#include "form1.h"
#include "form2.h"
#include "layout.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScrollBar>

#include <cstdio>

namespace {

bool save(QWidget *window, const QDir &folder, const char *name)
{
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useProgramFont();
    if (argc != 2) {
        std::fprintf(stderr, "usage: vorel_screenshots <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    Form2 title;
    title.show();
    bool ok = save(&title, folder, "title-window.png");

    title.Command1_Click();
    Form1 *main = title.mainWindow();
    const std::pair<const char *, int> positions[] = {
        {"HScroll1", 20}, {"HScroll2", 10}, {"HScroll3", 10}, {"HScroll4", 20}, {"HScroll7", 100}};
    for (const auto &[name, value] : positions)
        main->findChild<QScrollBar *>(QString::fromLatin1(name))->setValue(value);
    main->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
    ok = save(main, folder, "main-window.png") && ok;
    return ok ? 0 : 1;
}
