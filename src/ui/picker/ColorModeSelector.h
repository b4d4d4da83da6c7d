#pragma once

#include "common/AccessibleControl.h"
#include "picker/ColorFormat.h"

#include <QWidget>

// HEX, RGB and RGBA side by side in one rounded strip; the selected one is
// set off. Pressing a label chooses its mode. Screen readers find the three
// labels as radio buttons.
class ColorModeSelector : public QWidget, public AccessibleControl
{
    Q_OBJECT
public:
    explicit ColorModeSelector(QWidget *parent = nullptr);
    void setMode(ColorMode mode);
    ColorMode mode() const { return m_mode; }
    // Where mode's label sits, for hit tests.
    QRect segment(ColorMode mode) const;
    QSize sizeHint() const override;

    QAccessible::Role accessibleRole() const override { return QAccessible::Grouping; }
    QList<Part> accessibleParts() const override;
    void pressAccessiblePart(int index) override;

Q_SIGNALS:
    void modeChosen(ColorMode mode);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    ColorMode m_mode = ColorMode::hex;
};
