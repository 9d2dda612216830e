// Fixed window layouts given in twips, and the keyboard order of their
// controls given as tab indexes.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

inline constexpr int kTwipsPerPixel = 15; // 96 DPI

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

constexpr QRect toPixels(Twips t)
{
    return QRect(t.left / kTwipsPerPixel, t.top / kTwipsPerPixel,
                 t.width / kTwipsPerPixel, t.height / kTwipsPerPixel);
}

constexpr QSize toPixels(int widthTwips, int heightTwips)
{
    return QSize(widthTwips / kTwipsPerPixel, heightTwips / kTwipsPerPixel);
}

// The name under which a control's tab index is kept on the control.
inline constexpr char kTabIndexProperty[] = "tabIndex";

inline constexpr int kNoTabIndex = -1; // a picture has no place in the order

// Names the control, puts it at its place and remembers its tab index.
void place(QWidget *control, const char *name, Twips where, int tabIndex = kNoTabIndex);

// Chains the focus through the window's placed controls in the order of
// their tab indexes, skipping those that take no focus.
void applyTabOrder(QWidget *window);

// A fixed-size top-level window with the program's caption and icon,
// centred on its screen.
void setUpWindow(QWidget *window, QSize clientSize);

// The font of every control that has none of its own: Arial 8 pt, the
// compact face for which the fixed layouts leave room ("Frecuencia 1" must
// fit 65 pixels). Debian resolves Arial to the metric-compatible Liberation
// Sans.
void useProgramFont();

// Hides every window and leaves the event loop, without closing any window:
// ending the program must not run a window's close handler.
void endProgram();
