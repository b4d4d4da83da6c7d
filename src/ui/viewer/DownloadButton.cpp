#include "viewer/DownloadButton.h"

#include "common/Spinner.h"
#include "viewer/ViewerLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

DownloadButton::DownloadButton(Look look, QWidget *parent)
    : QAbstractButton(parent)
    , m_look(std::move(look))
    , m_spinner(new Spinner(m_look.spinnerSize, this))
    , m_label(ViewerLabels::text(m_look.title, m_look.font, Qt::white, this))
{
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(m_look.padding);
    row->setSpacing(6);
    row->addStretch(1);
    row->addWidget(m_spinner);
    row->addWidget(m_label);
    row->addStretch(1);
    m_spinner->hide();
    setText(m_look.title);
}

void DownloadButton::setDownloading(bool downloading)
{
    setEnabled(!downloading);
    m_spinner->setVisible(downloading);
    setText(downloading ? tr("Downloading...") : m_look.title);
    m_label->setText(text());
}

QSize DownloadButton::sizeHint() const
{
    return layout()->sizeHint();
}

void DownloadButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = m_look.radius < 0 ? height() / 2.0 : m_look.radius;
    QPainterPath fill;
    fill.addRoundedRect(QRectF(rect()), radius, radius);
    painter.fillPath(fill, m_look.fill);
}
