#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

// A round button over the image: a white symbol on a dark disc that takes the
// hover colour under the pointer (or only darkens when the hover colour is
// transparent).
class ThumbnailOverlayButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(double hoverAmount READ hoverAmount WRITE setHoverAmount)
public:
    ThumbnailOverlayButton(const QString &symbol, const QString &help, const QColor &hoverColor,
                           QWidget *parent = nullptr);

    QSize sizeHint() const override;
    double hoverAmount() const { return m_hoverAmount; }
    void setHoverAmount(double amount);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHovered(bool hovered);
    QColor fillColor() const;

    QString m_symbol;
    QColor m_hoverColor;
    double m_hoverAmount = 0;
};
