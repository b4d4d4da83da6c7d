#pragma once

#include "common/Style.h"

#include <QAbstractButton>
#include <QColor>

#include <optional>

class QVariantAnimation;

// A grid button of the viewer: a symbol and a title on a rounded fill that
// brightens under the pointer. A tint, when given, colours text and fill and
// takes the place of the hover colours. Measures and shades come from the
// look of the place that shows it.
class ActionButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(double hoverAmount READ hoverAmount WRITE setHoverAmount)
public:
    ActionButton(const QString &title, const QString &icon, QWidget *parent = nullptr);
    ActionButton(const QString &title, const QString &icon, const Style::ActionLook &look, QWidget *parent = nullptr);

    void setContent(const QString &title, const QString &icon, std::optional<QColor> tint = std::nullopt);
    QString icon() const { return m_icon; }
    std::optional<QColor> tint() const { return m_tint; }
    const Style::ActionLook &look() const { return m_look; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    double hoverAmount() const { return m_hover; }
    void setHoverAmount(double amount);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void animateHover(double to);

    Style::ActionLook m_look;
    QString m_icon;
    std::optional<QColor> m_tint;
    double m_hover = 0;  // 0 resting, 1 under the pointer
};
