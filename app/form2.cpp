#include "form2.h"

#include "accessibility.h"
#include "commandbutton.h"
#include "form1.h"
#include "layout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPixmap>

namespace forms = vorel::forms;

namespace {

QWidget *build(QWidget *window, const forms::Control &control)
{
    switch (control.kind) {
    case forms::Kind::Picture: {
        auto *image = new QLabel(window);
        image->setPixmap(QPixmap(QStringLiteral(":/art/picture.png")));
        image->setAccessibleName(toQString(control.text));
        return image;
    }
    case forms::Kind::Label: {
        auto *label = new QLabel(toQString(control.text), window);
        QFont font(toQString(forms::kFontFamily));
        font.setPointSizeF(control.fontPoints);
        font.setWeight(QFont::Normal);
        label->setFont(font);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case forms::Kind::Button:
        return new CommandButton(toQString(control.text), window);
    case forms::Kind::Slider:
    case forms::Kind::PlotBox:
        break; // only the main window has them
    }
    return nullptr;
}

} // namespace

Form2::Form2(QWidget *parent) : QWidget(parent)
{
    installAccessibleInterfaces();
    setUpWindow(this, toPixels(forms::kForm2.clientWidth, forms::kForm2.clientHeight));

    for (const forms::Control &control : forms::kForm2.controls) {
        if (QWidget *widget = build(this, control))
            place(widget, control);
    }
    Image1 = child<QLabel>(this, "Image1");
    Label1 = child<QLabel>(this, "Label1");
    Label2 = child<QLabel>(this, "Label2");
    Label3 = child<QLabel>(this, "Label3");
    Command1 = child<CommandButton>(this, "Command1");
    Command2 = child<CommandButton>(this, "Command2");

    applyTabOrder(this);

    connect(Command1, &CommandButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &CommandButton::clicked, this, &Form2::Command2_Click);
}

// The main window has no parent, so that it is a window of its own and not
// one owned by this one; it goes with this window at the end.
Form2::~Form2()
{
    delete m_form1;
}

// Hide first, then show: the two windows are never visible together.
void Form2::Command1_Click()
{
    hide();
    if (!m_form1) {
        m_form1 = new Form1(this);
        // Qt deletes a closed window only once back in the event loop; from
        // the moment it is closed it no longer counts as existing.
        connect(m_form1, &Form1::unloaded, this, [this] { m_form1 = nullptr; });
    }
    m_form1->show();
}

Form1 *Form2::mainWindow() const { return m_form1; }

void Form2::Command2_Click() { endProgram(); }

void Form2::Form_Unload(bool & /*cancel*/) { endProgram(); }

void Form2::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}
