#pragma once

#include <QAbstractButton>

// A toolbar button showing one symbol in a 32 × 28 frame: accent on a light
// accent ground when active, a faint ground under the pointer. Takes no
// keyboard focus, so clicking it while typing keeps the caret in the text.
class SymbolButton : public QAbstractButton
{
    Q_OBJECT

public:
    SymbolButton(const QString &symbol, const QString &tooltip, QWidget *parent = nullptr);

    void setActive(bool active);
    bool isActive() const { return m_active; }
    // Undo and clear: the secondary colour instead of the primary one.
    void setSecondary(bool secondary) { m_secondary = secondary; }
    QSize sizeHint() const override { return {32, 28}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QString m_symbol;
    bool m_active = false;
    bool m_hovered = false;
    bool m_secondary = false;
};
