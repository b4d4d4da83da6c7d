#include "settings/SettingsGroup.h"

#include "common/Style.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {
constexpr int lineIndent = 52;
}  // namespace

SettingsGroup::SettingsGroup(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

void SettingsGroup::addRow(QWidget *row)
{
    if (m_lastRow) {
        auto *line = new QWidget(this);
        line->setFixedHeight(1);
        Style::fill(line, [](const QPalette &palette) { return Style::withAlpha(Style::primary(palette), 0.1); });
        auto *holder = new QWidget(this);
        auto *indent = new QHBoxLayout(holder);
        indent->setContentsMargins(lineIndent, 0, 0, 0);
        indent->addWidget(line);
        m_layout->addWidget(holder);
        m_lineAfter.insert(m_lastRow, holder);
    }
    row->setParent(this);
    m_layout->addWidget(row);
    m_lastRow = row;
}

void SettingsGroup::setRowShown(QWidget *row, bool shown)
{
    row->setVisible(shown);
    if (QWidget *line = m_lineAfter.value(row))
        line->setVisible(shown);
}

void SettingsGroup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), 12, 12);
    painter.fillPath(box, Style::withAlpha(palette().color(QPalette::Base), 0.6));
    painter.setPen(QPen(Style::withAlpha(Style::primary(palette()), 0.12), 0.5));
    painter.drawPath(box);
}
