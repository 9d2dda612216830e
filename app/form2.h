// The title window, shown at start: the title, the credits, a picture, and
// the way into the simulator or out of the program.
#pragma once

#include <QPointer>
#include <QWidget>

class CommandButton;
class Form1;
class QLabel;

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);
    ~Form2() override;

    void Command1_Click();
    void Command2_Click();
    void Form_Unload(bool &cancel);

    // The main window, while it exists.
    Form1 *mainWindow() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<Form1> m_form1;

    QLabel *Image1, *Label1, *Label2, *Label3;
    CommandButton *Command1, *Command2;
};
