#include "accessibility.h"

#include "announcer.h"
#include "form1.h"
#include "form2.h"
#include "params/sliders.h"
#include "plotbox.h"
#include "scrollbar.h"

#include <QAccessibleWidget>
#include <QLocale>

namespace {

constexpr QLatin1StringView kSliderPrefix("HScroll");

// The sliders are named after their place in the table of sliders. The
// name is looked up at each call, not when the interface is made: Qt may
// make it while the window is still naming its controls.
const vorel::SliderSpec *specOf(const ScrollBar *bar)
{
    const QString name = bar->objectName();
    if (!name.startsWith(kSliderPrefix))
        return nullptr;
    bool ok = false;
    const int number = name.mid(kSliderPrefix.size()).toInt(&ok);
    if (!ok || number < 1 || number > static_cast<int>(vorel::kSliders.size()))
        return nullptr;
    return &vorel::slider(number);
}

// A slider in its parameter's units: a screen reader says "2.5" for a
// frequency where the raw position would be 25, and a value set by a tool
// moves the slider as a key would, so the readout follows.
class SliderInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderInterface(ScrollBar *bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        const auto position = static_cast<std::int16_t>(bar()->value());
        if (const vorel::SliderSpec *spec = specOf(bar()))
            return QString::fromStdString(
                vorel::readoutText(spec->quantity, position, QLocale().decimalPoint().toStdString()));
        return QString::number(position);
    }

    QVariant currentValue() const override { return toUnits(bar()->value()); }
    QVariant maximumValue() const override { return toUnits(bar()->maximum()); }
    QVariant minimumValue() const override { return toUnits(bar()->minimum()); }

    QVariant minimumStepSize() const override
    {
        const vorel::SliderSpec *spec = specOf(bar());
        return spec ? vorel::valueStep(spec->quantity) : 1.0;
    }

    // Never refuses a value: out of range it goes to the nearest end.
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double wanted = value.toDouble(&ok);
        if (!ok)
            return;
        const vorel::SliderSpec *spec = specOf(bar());
        const vorel::SliderSpec raw{{}, vorel::Quantity::Amplitude, bar()->minimum(), bar()->maximum(), 1, 1};
        const std::optional<std::int16_t> position = vorel::nearestPosition(spec ? *spec : raw, wanted);
        if (!position)
            return;
        // The way a key moves it: the action reports the change although
        // the scroll bar does not track its thumb.
        bar()->setSliderPosition(*position);
        bar()->triggerAction(QAbstractSlider::SliderMove);
    }

private:
    ScrollBar *bar() const { return static_cast<ScrollBar *>(widget()); }

    QVariant toUnits(int position) const
    {
        const vorel::SliderSpec *spec = specOf(bar());
        if (!spec)
            return double(position);
        return vorel::valueAt(spec->quantity, static_cast<std::int16_t>(position));
    }
};

// Qt gives a top-level widget the role of a plain client area, which a
// screen reader treats as filler and does not announce when it becomes
// active; as a window it is announced by its caption.
QAccessibleInterface *accessibleInterface(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(Form1::staticMetaObject.className())
        || className == QLatin1StringView(Form2::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    // As a plain frame the plot box would be announced like a third window;
    // it is a picture, named and described by the last plot.
    if (className == QLatin1StringView(PlotBox::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    if (className == QLatin1StringView(Announcer::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    if (className == QLatin1StringView(ScrollBar::staticMetaObject.className()))
        return new SliderInterface(static_cast<ScrollBar *>(object));
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(accessibleInterface);
}
