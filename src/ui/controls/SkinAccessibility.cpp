#include "ui/controls/SkinAccessibility.h"

#include "ui/controls/BusyIndicator.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/StorageInputHold.h"
#include "ui/controls/TrackBar.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace k4812 {
namespace {

QString withoutMnemonic(QString text)
{
    // "&OK" shows as "OK"; "&&" is a literal ampersand.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&'))
            text.remove(i, 1);
    }
    return text;
}

// Image buttons, check boxes and radio buttons.
class AccessibleSkinButton : public QAccessibleWidget {
public:
    AccessibleSkinButton(QAbstractButton* button, QAccessible::Role role) : QAccessibleWidget(button, role)
    {
        addControllingSignal(QStringLiteral("clicked(bool)"));
    }

    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString name = widget()->accessibleName();
            return name.isEmpty() ? withoutMnemonic(button()->text()) : name;
        }
        if (t == QAccessible::Accelerator) {
            const QKeySequence key = QKeySequence::mnemonic(button()->text());
            return key.toString(QKeySequence::NativeText);
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        QAbstractButton* b = button();
        if (b->isCheckable()) {
            s.checkable = true;
            s.checked = b->isChecked();
        }
        if (b->isDown())
            s.pressed = true;
        return s;
    }

    QStringList actionNames() const override
    {
        if (!widget()->isEnabled())
            return {};
        if (button()->isCheckable())
            return {toggleAction()};
        return {pressAction()};
    }

    void doAction(const QString& actionName) override
    {
        if (!widget()->isEnabled())
            return;
        if (actionName != pressAction() && actionName != toggleAction())
            return;
        // Clicked from the event loop: a click may run a modal dialog, and the
        // caller (a screen reader over D-Bus) must have its answer first.
        // While the window stores, the click waits for the store to end.
        QPointer<QAbstractButton> target = button();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [target] {
                StorageInputHold::whenFree(target, [target] {
                    if (target && target->isEnabled())
                        target->click();
                });
            },
            Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// A control with a value, minimum, maximum and step (track bars, number
// boxes); how a value from assistive technology is set is the control's own.
template <typename Control>
class AccessibleValueControl : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    AccessibleValueControl(Control* control, QAccessible::Role role) : QAccessibleWidget(control, role)
    {
        addControllingSignal(QStringLiteral("valueChanged(int)"));
    }

    Control* control() const { return static_cast<Control*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(control()->value());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return control()->value(); }
    QVariant maximumValue() const override { return control()->maximum(); }
    QVariant minimumValue() const override { return control()->minimum(); }
    QVariant minimumStepSize() const override { return control()->step(); }
};

// Track bars: a slider whose value, set from outside, takes the step rounding.
class AccessibleTrackBar : public AccessibleValueControl<TrackBar> {
public:
    explicit AccessibleTrackBar(TrackBar* bar) : AccessibleValueControl(bar, QAccessible::Slider) {}

    // While the window stores, the value is set once the store has ended.
    void setCurrentValue(const QVariant& value) override
    {
        const QPointer<TrackBar> bar = control();
        StorageInputHold::whenFree(bar, [bar, v = value.toInt()] {
            if (bar)
                bar->setValue(v);
        });
    }
};

// Number boxes: a spin box whose value, set by assistive technology, counts
// as the user's change (Qt's own interface would set it as the program,
// which the box never reports, so the edit would be lost).
class AccessibleNumberBox : public AccessibleValueControl<NumberBox> {
public:
    explicit AccessibleNumberBox(NumberBox* box) : AccessibleValueControl(box, QAccessible::SpinBox) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = control()->isReadOnly();
        return s;
    }

    void setCurrentValue(const QVariant& value) override
    {
        const QPointer<NumberBox> box = control();
        StorageInputHold::whenFree(box, [box, v = value.toInt()] {
            if (box && box->isEnabled() && !box->isReadOnly())
                box->setValueByUser(v);
        });
    }
};

class AccessibleBusyIndicator : public QAccessibleWidget {
public:
    explicit AccessibleBusyIndicator(BusyIndicator* indicator) : QAccessibleWidget(indicator, QAccessible::ProgressBar)
    {
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.busy = static_cast<BusyIndicator*>(widget())->isRunning();
        return s;
    }
};

QAccessibleInterface* skinAccessibleFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    // Only the most derived class name answers, so subclasses made by the
    // windows keep the interface of the control they derive from.
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto* radio = qobject_cast<RadioButton*>(object))
        return new AccessibleSkinButton(radio, QAccessible::RadioButton);
    if (auto* check = qobject_cast<CheckBox*>(object))
        return new AccessibleSkinButton(check, QAccessible::CheckBox);
    if (auto* button = qobject_cast<SkinButton*>(object))
        return new AccessibleSkinButton(button, QAccessible::Button);
    if (auto* box = qobject_cast<NumberBox*>(object))
        return new AccessibleNumberBox(box);
    if (auto* bar = qobject_cast<TrackBar*>(object))
        return new AccessibleTrackBar(bar);
    if (auto* indicator = qobject_cast<BusyIndicator*>(object))
        return new AccessibleBusyIndicator(indicator);
    if (auto* image = qobject_cast<ImageView*>(object))
        return new QAccessibleWidget(image, QAccessible::Graphic);
    return nullptr;
}

} // namespace

void installSkinAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(skinAccessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace k4812
