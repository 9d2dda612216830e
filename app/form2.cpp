#include "form2.h"

#include "accessibility.h"
#include "commandbutton.h"
#include "credits.h"
#include "form1.h"
#include "layout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPixmap>

namespace {

constexpr int kClientWidth = 9030; // twips
constexpr int kClientHeight = 7785;

QLabel *creditLabel(QWidget *window, const QString &text, qreal pointSize)
{
    auto *label = new QLabel(text, window);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

} // namespace

Form2::Form2(QWidget *parent) : QWidget(parent)
{
    installAccessibleInterfaces();
    setUpWindow(this, toPixels(kClientWidth, kClientHeight));

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(QStringLiteral(":/art/picture.png")));
    place(Image1, "Image1", {3120, 240, 2430, 2130});
    Image1->setAccessibleName(QStringLiteral("Dibujo de dos ondas y de su suma"));

    Label2 = creditLabel(this, kInstitutionCredit, 18);
    place(Label2, "Label2", {1680, 2760, 5415, 1455}, 1);
    Label1 = creditLabel(this, QStringLiteral(" Sistema de Simulación para la Interferencia de Vorel"), 18);
    place(Label1, "Label1", {1560, 4560, 5655, 855}, 0);
    Label3 = creditLabel(this, kAuthorCredit, 15.75);
    place(Label3, "Label3", {2400, 5760, 4095, 495}, 2);

    Command1 = new CommandButton(QStringLiteral("Continuar"), this);
    place(Command1, "Command1", {840, 6600, 2895, 615}, 3);
    Command2 = new CommandButton(QStringLiteral("Salir"), this);
    place(Command2, "Command2", {5160, 6600, 2895, 615}, 4);

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
