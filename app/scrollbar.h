// A horizontal scroll bar that reports a change only once a position is
// settled (an arrow, a page step, a key, the release of a dragged thumb) and
// that a keyboard user can reach with Tab and move with the arrow keys.
#pragma once

#include <QScrollBar>

class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit ScrollBar(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
