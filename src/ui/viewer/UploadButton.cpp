#include "viewer/UploadButton.h"

#include "common/Spinner.h"
#include "common/Style.h"
#include "viewer/ViewerLabels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

UploadButton::UploadButton(QWidget *parent)
    : UploadButton(Style::viewerUpload(), parent)
{
}

UploadButton::UploadButton(const Style::UploadLook &look, QWidget *parent)
    : QAbstractButton(parent)
    , m_look(look)
    , m_spinner(new Spinner(look.spinnerDiameter, this))
    , m_icon(ViewerLabels::symbol(QString(), Qt::white, look.iconSize, this))
    , m_label(ViewerLabels::text(QString(), Style::font(look.fontSize, look.weight), Qt::white, this))
{
    setObjectName(QStringLiteral("actions.upload"));
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(look.height);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(look.spacing);
    row->addStretch(1);
    row->addWidget(m_spinner);
    row->addWidget(m_icon);
    row->addWidget(m_label);
    row->addStretch(1);
    setState(State::idle);
}

QSize UploadButton::sizeHint() const
{
    return {layout()->sizeHint().width(), m_look.height};
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
                            foreground, m_look.iconSize);
    switch (state) {
    case State::idle:
        setText(tr("Upload to Imgur"));
        break;
    case State::uploading:
        setText(m_look.uploadingText);
        break;
    case State::uploaded:
        setText(tr("Link Copied!"));
        break;
    }
    m_label->setText(text());
    Style::apply(m_label, m_label->font(), foreground);
    update();
}

void UploadButton::paintEvent(QPaintEvent *)
{
    QColor fill = m_look.accentFill ? Style::accent(palette()) : Style::systemBlue();
    if (m_state == State::uploaded)
        fill = Style::withAlpha(Style::systemGreen(), m_look.uploadedFillOpacity);
    else if (m_state == State::uploading)
        fill = Style::systemOrange();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath background;
    background.addRoundedRect(QRectF(rect()), m_look.radius, m_look.radius);
    painter.fillPath(background, fill);
}
