#include "announcer.h"

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    // Heard, never seen or reached: no size, no focus, no pointer.
    setGeometry(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide(); // else it would show, and speak, with its window
}

// Shown for a moment only: a screen reader speaks it as it shows, and
// nothing of it stays to be said again when its window shows again.
void Announcer::say(const QString &text)
{
    setAccessibleName(text);
    show();
    hide();
}
