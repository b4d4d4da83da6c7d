#pragma once

#include "common/Spring.h"

#include <QObject>
#include <QPointer>
#include <QRectF>

class QPainter;
class QVariantAnimation;
class QWidget;

// A widget's enter and leave transition: it grows from a smaller scale while
// fading in, and the reverse on leaving, after which the widget is hidden.
// The widget applies the transition to its own painting.
class PopIn : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double amount READ amount WRITE setAmount)
public:
    PopIn(QWidget *widget, double fromScale, Spring spring);

    void setShown(bool shown, bool animated = true);
    bool isShown() const { return m_shown; }

    double amount() const { return m_amount; }
    void setAmount(double amount);

    // Opacity and a scale about the centre of `around`, for the current step.
    void apply(QPainter &painter, const QRectF &around) const;

private:
    QPointer<QWidget> m_widget;
    QPointer<QVariantAnimation> m_animation;
    double m_fromScale;
    Spring m_spring;
    bool m_shown = false;
    double m_amount = 0;
};
