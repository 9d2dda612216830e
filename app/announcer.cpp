#include "announcer.h"

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    // Heard, never seen or reached: no size, no focus, no pointer.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide(); // else it would show, and speak, with its window
}

void Announcer::say(const QString &text)
{
    hide();
    setAccessibleName(text);
    show();
}
