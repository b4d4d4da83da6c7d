#pragma once

#include "picker/ColorFormat.h"

#include <QColor>
#include <QWidget>

class ColorModeSelector;
class CopyButton;
class PickSwatch;
class QLabel;

// The bar under the image: the picked colour's swatch, the mode selector, the
// colour written in that mode, and the Copy button, on a floating rounded
// panel. Shows what it is given and forwards presses.
class ColorBar : public QWidget
{
    Q_OBJECT
public:
    explicit ColorBar(QWidget *parent = nullptr);
    void showColor(const QColor &color, ColorMode mode);
    PickSwatch *swatch() const { return m_swatch; }
    ColorModeSelector *modeSelector() const { return m_modes; }
    QLabel *readout() const { return m_readout; }
    CopyButton *copyButton() const { return m_copy; }

Q_SIGNALS:
    void modeChosen(ColorMode mode);
    void copyRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PickSwatch *m_swatch;
    ColorModeSelector *m_modes;
    QLabel *m_readout;
    CopyButton *m_copy;
};
