#pragma once

#include <QColor>
#include <QWidget>

// The loupe that floats above and to the right of the pointer: a glossy
// round swatch of the colour under it and that colour's hex string, always
// hex whatever the readout's mode. Lets every pointer event through.
class PickerLoupe : public QWidget
{
    Q_OBJECT
public:
    // From the pointer to the loupe's centre.
    static constexpr QPointF offset{34, -42};

    explicit PickerLoupe(QWidget *parent = nullptr);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    QString label() const { return m_label; }
    // Centres the loupe at the pointer position plus the offset: at once
    // when it is hidden, else on a quick spring.
    void follow(const QPointF &pointer);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    QString m_label;
};
