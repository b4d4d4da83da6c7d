#pragma once

#include <QAbstractButton>
#include <QMargins>

// The viewer's "Annotate" button: a purple-to-pink capsule with a purple
// glow that brightens, grows and glows more under the pointer. The widget
// keeps room around the capsule for the glow; shadowMargins() says how much.
class AnnotateButton : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(double hoverAmount READ hoverAmount WRITE setHoverAmount)
public:
    explicit AnnotateButton(QWidget *parent = nullptr);

    static QColor purple();
    static QColor pink();

    QSize sizeHint() const override;
    static QMargins shadowMargins();
    QRectF capsuleRect() const;

    double hoverAmount() const { return m_hoverAmount; }
    void setHoverAmount(double amount);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    QSizeF capsuleSize() const;

    double m_hoverAmount = 0;
};
