// What the main window says to a screen reader whatever has the focus: a
// new plot's words, the audio mode, each trace point, what cannot play.
#pragma once

#include <QWidget>

// A notification that is never seen: each text is its name as it shows,
// and a screen reader speaks a notification that shows wherever the user
// is. Qt 6.4 has no announcement of its own, and the name and description
// change events it sends carry the object where the text is expected, so
// a screen reader drops them. Where Qt has QAccessibleAnnouncementEvent
// (6.8 on), say() can send that instead and nothing else need change.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent);

    // Said even when it is the text said last, as a trace point at the
    // end of the range says itself again.
    void say(const QString &text);
};
