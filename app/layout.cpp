#include "layout.h"

#include "credits.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <vector>

void place(QWidget *control, const char *name, Twips where, int tabIndex)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(toPixels(where));
    if (tabIndex != kNoTabIndex)
        control->setProperty(kTabIndexProperty, tabIndex);
}

void place(QWidget *control, const vorel::forms::Control &row)
{
    control->setObjectName(toQString(row.name));
    control->setGeometry(toPixels(row.where));
    if (row.tabIndex != kNoTabIndex)
        control->setProperty(kTabIndexProperty, row.tabIndex);
}

void applyTabOrder(QWidget *window)
{
    std::vector<QWidget *> chain;
    for (QWidget *w : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->property(kTabIndexProperty).isValid() && (w->focusPolicy() & Qt::TabFocus))
            chain.push_back(w);
    }
    std::sort(chain.begin(), chain.end(), [](QWidget *a, QWidget *b) {
        return a->property(kTabIndexProperty).toInt() < b->property(kTabIndexProperty).toInt();
    });
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    if (!chain.empty())
        chain.front()->setFocus();
}

void setUpWindow(QWidget *window, QSize clientSize)
{
    window->setWindowTitle(kWindowCaption);
    window->setWindowIcon(QIcon(QStringLiteral(":/art/icon32.png")));
    // No maximise button: the layout is fixed and would not follow.
    window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(clientSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), clientSize);
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

void useProgramFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

void endProgram()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    // Not quit(): in Qt 6 it closes every window first, which would run
    // their close handlers and bring the title window back.
    QCoreApplication::exit(0);
}
