#include "picker/ColorBar.h"

#include "common/Style.h"
#include "picker/ColorModeSelector.h"
#include "picker/CopyButton.h"
#include "picker/PickSwatch.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace {

constexpr int outer = 12;  // from the window's edges; the shadow lies here
constexpr int swatchMargin = 7;  // the swatch widget's own room for its pulse

}  // namespace

ColorBar::ColorBar(QWidget *parent)
    : QWidget(parent)
    , m_swatch(new PickSwatch(this))
    , m_modes(new ColorModeSelector(this))
    , m_readout(new QLabel(this))
    , m_copy(new CopyButton(this))
{
    Style::apply(m_readout, Style::monospacedDigitsFont(12.5, QFont::Medium), Style::primary(palette()));
    auto *row = new QHBoxLayout(this);
    row->setSpacing(0);
    row->setContentsMargins(outer + 16 - swatchMargin, outer + 12 - swatchMargin, outer + 16, outer + 12 - swatchMargin);
    row->addWidget(m_swatch);
    row->addSpacing(12 - swatchMargin);
    row->addWidget(m_modes);
    row->addSpacing(12);
    row->addWidget(m_readout, 1);
    row->addSpacing(12);
    row->addWidget(m_copy);
    connect(m_modes, &ColorModeSelector::modeChosen, this, &ColorBar::modeChosen);
    connect(m_copy, &CopyButton::clicked, this, &ColorBar::copyRequested);
}

void ColorBar::showColor(const QColor &color, ColorMode mode)
{
    m_swatch->setColor(color);
    m_modes->setMode(mode);
    m_readout->setText(ColorFormat::colorString(color, mode));
}

void ColorBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF panel = QRectF(rect()).adjusted(outer, outer, -outer, -outer);
    painter.setPen(Qt::NoPen);
    for (int step = 1; step <= 4; ++step) {  // a soft shadow, 7 % at its core
        const double grow = 2.5 * step;
        painter.setBrush(Style::withAlpha(Qt::black, 0.07 / 4));
        painter.drawRoundedRect(panel.adjusted(-grow, -grow + 2, grow, grow + 2), 12 + grow, 12 + grow);
    }
    painter.setBrush(Style::withAlpha(palette().color(QPalette::Base), 0.92));
    painter.setPen(QPen(Style::withAlpha(palette().color(QPalette::WindowText), 0.08), 0.5));
    painter.drawRoundedRect(panel, 12, 12);
}
