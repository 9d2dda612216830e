// A push button that a keyboard user presses with Space or Enter while it
// has the focus, without being the window's default button, so Enter
// anywhere else does nothing. Its focus shows however it got it.
#pragma once

#include <QPushButton>

class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString &text, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
