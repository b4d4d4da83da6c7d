#pragma once

#include "common/AccessibleControl.h"

#include <QWidget>

class PopIn;

// The small "iPhone" capsule over the top-left corner of a phone capture.
// Pops in and out; never takes the mouse.
class PhoneBadge : public QWidget, public AccessibleControl
{
    Q_OBJECT
public:
    explicit PhoneBadge(QWidget *parent = nullptr);

    void setShown(bool shown, bool animated);
    bool isShown() const;
    QSize sizeHint() const override;
    QAccessible::Role accessibleRole() const override { return QAccessible::StaticText; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PopIn *m_popIn;
};
