#include "plotbox.h"

#include "focusmarker.h"

#include <QKeyEvent>
#include <QPainter>

std::optional<vorel::PlotKey> plotKeyOf(const QKeyEvent &event)
{
    using vorel::PlotKey;
    // The keypad's arrows and Enter are the same keys.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::AltModifier)
        return event.key() == Qt::Key_T ? std::optional(PlotKey::AudioMode) : std::nullopt;
    if (modifiers != Qt::NoModifier && !(modifiers == Qt::ShiftModifier && event.key() == Qt::Key_H))
        return std::nullopt;
    switch (event.key()) {
    case Qt::Key_Right: return PlotKey::Forward;
    case Qt::Key_Left: return PlotKey::Back;
    case Qt::Key_PageDown: return PlotKey::TickForward;
    case Qt::Key_PageUp: return PlotKey::TickBack;
    case Qt::Key_Home: return PlotKey::Start;
    case Qt::Key_End: return PlotKey::End;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_H: return PlotKey::Play;
    case Qt::Key_Escape: return PlotKey::Stop;
    default: return std::nullopt;
    }
}

PlotBox::PlotBox(QWidget *parent) : QFrame(parent), m_canvas(devicePixelRatioF())
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2); // 30 twips
    setFocusPolicy(Qt::StrongFocus);
    m_canvas.setFont(font());
}

vorel::PlotCanvas &PlotBox::canvas()
{
    update();
    return m_canvas;
}

QImage PlotBox::image()
{
    return m_canvas.image();
}

void PlotBox::paintEvent(QPaintEvent *event)
{
    // The window may have moved to a screen of another pixel ratio, or the
    // scale changed: the kept picture is drawn again for it, not the plot.
    m_canvas.setFont(font());
    m_canvas.setRatio(devicePixelRatioF());

    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_canvas.view());
    // On the border, so the drawing area shows only what was plotted.
    drawFocusMarker(this, painter, rect());
}

void PlotBox::keyPressEvent(QKeyEvent *event)
{
    event->ignore();
    emit keyDown(event);
    if (!event->isAccepted())
        QFrame::keyPressEvent(event);
}
