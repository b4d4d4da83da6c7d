#include "viewer/ViewerHeader.h"

#include "common/Spinner.h"
#include "common/Style.h"
#include "viewer/LibraryButton.h"
#include "viewer/ViewerLabels.h"

#include <QHBoxLayout>
#include <QLabel>

ViewerHeader::ViewerHeader(QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 12);
    row->setSpacing(6);
    const QColor primary = Style::primary(palette());
    row->addWidget(ViewerLabels::symbol(QStringLiteral("camera.on.rectangle.fill"), primary, 13, this));
    row->addWidget(ViewerLabels::text(tr("Tarnwick"), Style::font(13, QFont::DemiBold), primary, this,
                                      QStringLiteral("header.title")));
    row->addStretch(1);

    m_capturing = new QWidget(this);
    auto *capturing = new QHBoxLayout(m_capturing);
    capturing->setContentsMargins(0, 0, 0, 0);
    capturing->setSpacing(5);
    capturing->addWidget(new Spinner(12, m_capturing));
    capturing->addWidget(ViewerLabels::text(tr("Capturing..."), Style::font(11),
                                            Style::secondary(palette()), m_capturing,
                                            QStringLiteral("header.capturing")));
    row->addWidget(m_capturing);

    m_counterRow = new QWidget(this);
    auto *counter = new QHBoxLayout(m_counterRow);
    counter->setContentsMargins(0, 0, 0, 0);
    counter->setSpacing(10);
    m_counter = ViewerLabels::text(QString(), Style::monospacedDigitsFont(11), Style::tertiary(palette()),
                                   m_counterRow, QStringLiteral("header.counter"));
    counter->addWidget(m_counter);
    auto *library = new LibraryButton(m_counterRow);
    library->setObjectName(QStringLiteral("header.library"));
    connect(library, &QPushButton::clicked, this, &ViewerHeader::libraryRequested);
    counter->addWidget(library);
    row->addWidget(m_counterRow);
}

void ViewerHeader::setState(bool pending, int index, int count)
{
    m_capturing->setVisible(pending);
    m_counterRow->setVisible(!pending && count > 0);
    m_counter->setText(tr("%1 of %2").arg(index + 1).arg(count));
}
