#pragma once

#include <QAccessibleWidget>

class AccessibleControl;
class QAbstractButton;

// A button that paints itself. Read by its accessible name, else its text,
// else its tool tip (buttons that show only a symbol have one); a checkable
// one is a radio button when it is one of an exclusive set, else a check box.
// Its default action clicks it at once, so that what a click does has
// happened when the screen reader's call returns.
class AccessibleButton : public QAccessibleWidget
{
public:
    // Set on the buttons that are one of a set, where one is chosen.
    static constexpr const char *chosenProperty = "tarnwickChosen";

    explicit AccessibleButton(QAbstractButton *button);

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    QAbstractButton *button() const;
};

// A widget implementing AccessibleControl, with the controls it paints
// inside it as its children.
class AccessibleControlWidget : public QAccessibleWidget
{
public:
    AccessibleControlWidget(QWidget *widget, AccessibleControl *control);
    ~AccessibleControlWidget() override;

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    AccessibleControl *control() const { return m_control; }
    // The interfaces of the painted parts, as many as the control has now.
    QList<QAccessibleInterface *> parts() const;

private:
    AccessibleControl *m_control;
    mutable QList<QAccessible::Id> m_parts;
};
