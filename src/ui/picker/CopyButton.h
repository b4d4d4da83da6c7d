#pragma once

#include <QAbstractButton>

// "Copy" with a clipboard symbol; for a moment after a copy, a green
// "Copied" with a check mark.
class CopyButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit CopyButton(QWidget *parent = nullptr);
    void setCopied(bool copied);
    bool isCopied() const { return m_copied; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_copied = false;
};
