#include "viewer/UploadButton.h"

#include "common/Spinner.h"
#include "common/Style.h"
#include "viewer/ViewerLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

UploadButton::UploadButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_spinner(new Spinner(9, this))
    , m_icon(ViewerLabels::symbol(QString(), Qt::white, 12, this))
    , m_label(ViewerLabels::text(QString(), Style::font(11, QFont::Medium), Qt::white, this))
{
    setObjectName(QStringLiteral("actions.upload"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(28);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(6);
    row->addStretch(1);
    row->addWidget(m_spinner);
    row->addWidget(m_icon);
    row->addWidget(m_label);
    row->addStretch(1);
    setState(State::idle);
}

QSize UploadButton::sizeHint() const
{
    return {layout()->sizeHint().width(), 28};
}

void UploadButton::setState(State state)
{
    m_state = state;
    setEnabled(state != State::uploading);
    m_spinner->setVisible(state == State::uploading);
    m_icon->setVisible(state != State::uploading);
    const QColor foreground = state == State::uploaded ? Style::systemGreen() : QColor(Qt::white);
    ViewerLabels::setSymbol(m_icon,
                            state == State::uploaded ? QStringLiteral("checkmark.circle.fill")
                                                     : QStringLiteral("square.and.arrow.up"),
                            foreground, 12);
    switch (state) {
    case State::idle:
        setText(QStringLiteral("Upload to Imgur"));
        break;
    case State::uploading:
        setText(QStringLiteral("Uploading..."));
        break;
    case State::uploaded:
        setText(QStringLiteral("Link Copied!"));
        break;
    }
    m_label->setText(text());
    Style::apply(m_label, m_label->font(), foreground);
    update();
}

void UploadButton::paintEvent(QPaintEvent *)
{
    QColor fill = Style::systemBlue();
    if (m_state == State::uploaded)
        fill = Style::withAlpha(Style::systemGreen(), 0.15);
    else if (m_state == State::uploading)
        fill = Style::systemOrange();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), 6, 6);
    painter.fillPath(background, fill);
}
