#pragma once

#include <QAbstractButton>
#include <QColor>

// The toolbar's Copy and Imgur buttons: white symbol and label on a tinted
// glass capsule. While busy a small turning arc replaces the symbol.
class GlassButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit GlassButton(QWidget *parent = nullptr);

    void setContent(const QString &symbol, const QString &label, const QColor &tint);
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }
    QString symbol() const { return m_symbol; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QString m_symbol;
    QColor m_tint;
    bool m_busy = false;
    int m_timer = 0;
    int m_angle = 0;
};
