#include "viewer/UpdateBanner.h"

#include "common/Style.h"
#include "viewer/DownloadButton.h"
#include "viewer/ViewerLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

UpdateBanner::UpdateBanner(QWidget *parent)
    : QWidget(parent)
    , m_button(new DownloadButton({tr("Download"), Style::font(10, QFont::DemiBold), Style::systemBlue(),
                                   -1, 10, QMargins(10, 4, 10, 4)},
                                  this))
{
    m_button->setObjectName(QStringLiteral("updateBanner.download"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 6, 12, 6);
    row->setSpacing(8);
    row->addWidget(ViewerLabels::symbol(QStringLiteral("arrow.down.circle.fill"), Style::systemBlue(), 12, this));
    row->addWidget(ViewerLabels::text(tr("Update available"), Style::font(11, QFont::Medium),
                                      Style::primary(palette()), this));
    row->addStretch(1);
    row->addWidget(m_button);
    connect(m_button, &DownloadButton::clicked, this, &UpdateBanner::downloadRequested);
}

void UpdateBanner::setDownloading(bool downloading)
{
    m_button->setDownloading(downloading);
}

void UpdateBanner::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Style::withAlpha(Style::systemBlue(), 0.07));
}
