#include "viewer/ActionGrid.h"

#include "common/Style.h"
#include "viewer/ActionButton.h"
#include "viewer/UploadButton.h"

#include <QGridLayout>
#include <QVBoxLayout>

ActionGrid::ActionGrid(QWidget *parent)
    : QWidget(parent)
    , m_copy(new ActionButton(tr("Copy"), QStringLiteral("doc.on.clipboard"), this))
    , m_copyText(new ActionButton(tr("Copy Text"), QStringLiteral("text.viewfinder"), this))
    , m_open(new ActionButton(tr("Open"), QStringLiteral("arrow.up.right"), this))
    , m_reveal(new ActionButton(tr("Show in Folder"), QStringLiteral("folder"), this))
    , m_upload(new UploadButton(this))
    , m_grid(new QGridLayout)
{
    m_copy->setObjectName(QStringLiteral("actions.copy"));
    m_copyText->setObjectName(QStringLiteral("actions.copyText"));
    m_open->setObjectName(QStringLiteral("actions.open"));
    m_reveal->setObjectName(QStringLiteral("actions.reveal"));
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(6);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addLayout(m_grid);
    column->addWidget(m_upload);
    placeCells();
    connect(m_copy, &ActionButton::clicked, this, &ActionGrid::copyRequested);
    connect(m_copyText, &ActionButton::clicked, this, &ActionGrid::copyTextRequested);
    connect(m_open, &ActionButton::clicked, this, &ActionGrid::openRequested);
    connect(m_reveal, &ActionButton::clicked, this, &ActionGrid::revealRequested);
    connect(m_upload, &UploadButton::clicked, this, &ActionGrid::uploadRequested);
}

void ActionGrid::setOffered(bool copyText, bool upload)
{
    if (m_copyText->isVisibleTo(this) != copyText) {
        m_copyText->setVisible(copyText);
        placeCells();
    }
    m_upload->setVisible(upload);
}

void ActionGrid::placeCells()
{
    // The cells flow in order, two per row, so a hidden one leaves no hole.
    for (ActionButton *cell : {m_copy, m_copyText, m_open, m_reveal})
        m_grid->removeWidget(cell);
    int position = 0;
    for (ActionButton *cell : {m_copy, m_copyText, m_open, m_reveal}) {
        if (cell->isHidden() && cell == m_copyText)
            continue;
        m_grid->addWidget(cell, position / 2, position % 2);
        ++position;
    }
    m_grid->setColumnStretch(0, 1);
    m_grid->setColumnStretch(1, 1);
}

void ActionGrid::setFeedback(const Feedback &feedback)
{
    const QColor green = Style::systemGreen();
    const QString checkmark = QStringLiteral("checkmark");
    if (feedback.copied)
        m_copy->setContent(tr("Copied"), checkmark, green);
    else
        m_copy->setContent(tr("Copy"), QStringLiteral("doc.on.clipboard"));
    if (feedback.textCopied)
        m_copyText->setContent(tr("Copied!"), checkmark, green);
    else
        m_copyText->setContent(tr("Copy Text"), QStringLiteral("text.viewfinder"));
    m_upload->setState(feedback.uploading  ? UploadButton::State::uploading
                       : feedback.uploaded ? UploadButton::State::uploaded
                                           : UploadButton::State::idle);
}
