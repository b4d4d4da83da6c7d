#pragma once

#include <QAbstractButton>

// A line-width or font-size choice: a bar as thick as the width, or the
// size as a number; the active choice sits on a faint rounded ground.
class StyleChoiceButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum class Kind { lineWidth, fontSize };

    StyleChoiceButton(Kind kind, double value, QWidget *parent = nullptr);

    double value() const { return m_value; }
    void setActive(bool active);
    bool isActive() const { return m_active; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    double m_value;
    bool m_active = false;
};
