#include "common/AccessibleWidgets.h"

#include "common/AccessibleControl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPointer>
#include <QVariant>
#include <QWidget>

namespace {

// One control painted inside an AccessibleControl widget. Holds the widget
// weakly: the screen reader may still ask after the widget is gone.
class AccessiblePart : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    AccessiblePart(QWidget *widget, int index)
        : m_widget(widget)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_widget && m_index < control()->accessibleParts().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return owner() ? owner()->window() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return owner(); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return m_widget ? control()->partRole() : QAccessible::NoRole; }

    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? part().name : QString(); }

    QRect rect() const override
    {
        const QRect place = part().rect;
        return m_widget ? QRect(m_widget->mapToGlobal(place.topLeft()), place.size()) : QRect();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_widget || !m_widget->isVisible();
        state.disabled = !m_widget || !m_widget->isEnabled();
        state.checkable = true;
        state.checked = part().checked;
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && isValid() && m_widget->isEnabled())
            control()->pressAccessiblePart(m_index);
    }

private:
    AccessibleControl *control() const { return dynamic_cast<AccessibleControl *>(m_widget.data()); }
    QAccessibleInterface *owner() const { return m_widget ? QAccessible::queryAccessibleInterface(m_widget) : nullptr; }
    AccessibleControl::Part part() const
    {
        return m_widget ? control()->accessibleParts().value(m_index) : AccessibleControl::Part{};
    }

    QPointer<QWidget> m_widget;
    int m_index;
};

bool isExclusive(const QAbstractButton *button)
{
    return button->autoExclusive() || (button->group() && button->group()->exclusive());
}

}  // namespace

AccessibleButton::AccessibleButton(QAbstractButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

QAbstractButton *AccessibleButton::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

QString AccessibleButton::text(QAccessible::Text t) const
{
    const QString name = !widget()->accessibleName().isEmpty() ? widget()->accessibleName()
                         : !button()->text().isEmpty()       ? button()->text()
                                                             : widget()->toolTip();
    if (t == QAccessible::Name)
        return name;
    if (t == QAccessible::Description) {
        const QString description = QAccessibleWidget::text(t);
        return description == name ? QString() : description;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::Role AccessibleButton::role() const
{
    if (widget()->property(chosenProperty).isValid())
        return QAccessible::RadioButton;
    if (!button()->isCheckable())
        return QAccessible::Button;
    return isExclusive(button()) ? QAccessible::RadioButton : QAccessible::CheckBox;
}

QAccessible::State AccessibleButton::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    const QVariant chosen = widget()->property(chosenProperty);
    state.checkable = button()->isCheckable() || chosen.isValid();
    state.checked = button()->isChecked() || chosen.toBool();
    state.pressed = button()->isDown();
    return state;
}

QStringList AccessibleButton::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void AccessibleButton::doAction(const QString &actionName)
{
    if (actionName == pressAction() && widget()->isEnabled())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

AccessibleControlWidget::AccessibleControlWidget(QWidget *widget, AccessibleControl *control)
    : QAccessibleWidget(widget)
    , m_control(control)
{
}

AccessibleControlWidget::~AccessibleControlWidget()
{
    for (QAccessible::Id id : std::as_const(m_parts))
        QAccessible::deleteAccessibleInterface(id);
}

QList<QAccessibleInterface *> AccessibleControlWidget::parts() const
{
    const int count = int(m_control->accessibleParts().size());
    while (m_parts.size() > count)
        QAccessible::deleteAccessibleInterface(m_parts.takeLast());
    while (m_parts.size() < count)
        m_parts.append(QAccessible::registerAccessibleInterface(new AccessiblePart(widget(), int(m_parts.size()))));
    QList<QAccessibleInterface *> interfaces;
    for (QAccessible::Id id : std::as_const(m_parts))
        interfaces.append(QAccessible::accessibleInterface(id));
    return interfaces;
}

QAccessible::Role AccessibleControlWidget::role() const
{
    return m_control->accessibleRole();
}

QAccessible::State AccessibleControlWidget::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    const QAccessible::State own = m_control->accessibleState();
    state.checkable = own.checkable;
    state.checked = own.checked;
    state.selected = own.selected;
    state.selectable = own.selectable;
    return state;
}

int AccessibleControlWidget::childCount() const
{
    return QAccessibleWidget::childCount() + int(parts().size());
}

QAccessibleInterface *AccessibleControlWidget::child(int index) const
{
    const int widgets = QAccessibleWidget::childCount();
    return index < widgets ? QAccessibleWidget::child(index) : parts().value(index - widgets);
}

int AccessibleControlWidget::indexOfChild(const QAccessibleInterface *child) const
{
    const int part = int(parts().indexOf(const_cast<QAccessibleInterface *>(child)));
    return part >= 0 ? QAccessibleWidget::childCount() + part : QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface *AccessibleControlWidget::childAt(int x, int y) const
{
    for (QAccessibleInterface *part : parts()) {
        if (part->rect().contains(x, y))
            return part;
    }
    return QAccessibleWidget::childAt(x, y);
}

QStringList AccessibleControlWidget::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (m_control->isPressable() && widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void AccessibleControlWidget::doAction(const QString &actionName)
{
    if (actionName == pressAction() && widget()->isEnabled())
        m_control->pressAccessibly();
    else
        QAccessibleWidget::doAction(actionName);
}
