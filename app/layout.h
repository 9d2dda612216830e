// Fixed window layouts given in twips, and the keyboard order of their
// controls given as tab indexes.
#pragma once

#include "forms/forms.h"

#include <QRect>
#include <QSize>
#include <QWidget>

#include <string_view>

using vorel::forms::kTwipsPerPixel;

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
using Twips = vorel::forms::Twips;

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

using vorel::forms::kNoTabIndex;

// Names the control, puts it at its place and remembers its tab index.
void place(QWidget *control, const char *name, Twips where, int tabIndex = kNoTabIndex);
// The same from the control's row in its window's table.
void place(QWidget *control, const vorel::forms::Control &row);

// The window's control of that name, built from its table.
template <typename T>
T *child(QWidget *window, std::string_view name)
{
    return window->findChild<T *>(toQString(name), Qt::FindDirectChildrenOnly);
}

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
