#include "viewer/InfoRow.h"

#include "common/Style.h"
#include "common/Symbols.h"
#include "viewer/ViewerLabels.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

InfoRow::InfoRow(QWidget *parent)
    : QWidget(parent)
    , m_nameLabel(ViewerLabels::text(QString(), Style::font(11.5, QFont::Medium), Style::primary(palette()), this,
                                     QStringLiteral("infoRow.name")))
    , m_details(ViewerLabels::text(QString(), Style::font(10), Style::tertiary(palette()), this,
                                   QStringLiteral("infoRow.details")))
{
    m_nameLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_details->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_details->setTextFormat(Qt::RichText);  // for the fainter dots; the parts are escaped
    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(4);
    texts->addWidget(m_nameLabel);
    texts->addWidget(m_details);

    auto *remove = new QToolButton(this);
    remove->setObjectName(QStringLiteral("infoRow.delete"));
    remove->setAccessibleName(tr("Remove screenshot"));
    remove->setAutoRaise(true);
    remove->setFocusPolicy(Qt::TabFocus);
    remove->setCursor(Qt::PointingHandCursor);
    remove->setFixedSize(18, 18);
    remove->setIconSize(QSize(10, 10));
    Style::styleSheet(remove, [this, remove] {
        remove->setIcon(QIcon(Symbols::pixmap(QStringLiteral("xmark"), Style::tertiary(palette()), QSizeF(10, 10),
                                              devicePixelRatioF())));
        return QStringLiteral("QToolButton { border: none; background: transparent; }");
    });
    connect(remove, &QToolButton::clicked, this, &InfoRow::deleteRequested);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addLayout(texts, 1);
    row->addWidget(remove, 0, Qt::AlignTop);
}

QStringList InfoRow::detailParts(const ScreenshotItem &item)
{
    QStringList parts{item.formattedDate(), item.formattedTime()};
    for (const QString &extra : {item.imageDimensions(), item.fileSize()}) {
        if (!extra.isEmpty())
            parts << extra;
    }
    return parts;
}

void InfoRow::setItem(const ScreenshotItem &item)
{
    m_name = QFileInfo(item.filePath()).fileName();
    Style::followTone(m_details, QStringLiteral("dots"), Style::quaternary(palette()),
                      [label = m_details, parts = detailParts(item)](const QColor &dot) {
                          label->setText(Style::dotSeparated(parts, dot));
                      });
    elideName();
}

void InfoRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    elideName();
}

void InfoRow::elideName()
{
    m_nameLabel->setText(m_nameLabel->fontMetrics().elidedText(m_name, Qt::ElideMiddle,
                                                               std::max(0, m_nameLabel->width())));
    m_nameLabel->setToolTip(m_name);
}
