#include "library/LibraryDetailPane.h"

#include "common/Accessibility.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "library/LibActionButton.h"
#include "library/LibraryPreview.h"
#include "viewer/UploadButton.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int sidePadding = 18;

QLabel *symbolLabel(const QString &name, const QColor &color, int side, QWidget *parent)
{
    auto *label = new QLabel(parent);
    Symbols::show(label, name, color, QSizeF(side, side));
    label->setFixedSize(side, side);
    return label;
}

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: rgba(127,127,127,60);"));
    return line;
}

}  // namespace

LibraryDetailPane::LibraryDetailPane(QWidget *parent)
    : QWidget(parent)
    , m_stack(new QStackedWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    m_empty = buildEmpty();
    m_stack->addWidget(m_empty);
    m_stack->addWidget(buildDetail());
}

QWidget *LibraryDetailPane::buildEmpty()
{
    auto *empty = new QWidget(this);
    auto *column = new QVBoxLayout(empty);
    column->addStretch();
    column->addWidget(symbolLabel(QStringLiteral("photo.on.rectangle.angled"), Style::quaternary(palette()), 36, empty),
                      0, Qt::AlignHCenter);
    auto *text = new QLabel(tr("Select a screenshot"), empty);
    text->setObjectName(QStringLiteral("emptyDetail"));
    Style::apply(text, Style::font(13), Style::tertiary(palette()));
    column->addWidget(text, 0, Qt::AlignHCenter);
    column->addStretch();
    return empty;
}

QWidget *LibraryDetailPane::buildDetail()
{
    auto *detail = new QWidget(this);
    auto *column = new QVBoxLayout(detail);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addWidget(divider(detail));
    auto *scroll = new QScrollArea(detail);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // Tab goes to its buttons, which scroll into view
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(buildBody());
    Style::slimScrollBar(scroll);
    column->addWidget(scroll, 1);
    return detail;
}

QWidget *LibraryDetailPane::buildHeader()
{
    auto *header = new QWidget(this);
    header->setFixedHeight(48);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(sidePadding, 0, sidePadding, 0);
    row->setSpacing(8);
    m_sourceIcon = new QLabel(header);
    m_sourceIcon->setFixedSize(11, 11);
    row->addWidget(m_sourceIcon);
    m_name = new QLabel(header);
    m_name->setObjectName(QStringLiteral("detailName"));
    Style::apply(m_name, Style::font(12, QFont::Medium), Style::primary(palette()));
    row->addWidget(m_name, 1);
    auto *remove = new QToolButton(header);
    remove->setObjectName(QStringLiteral("removeButton"));
    remove->setToolTip(tr("Remove screenshot"));
    remove->setAccessibleName(tr("Remove screenshot"));
    remove->setFixedSize(28, 28);
    Style::styleSheet(remove, [this, remove] {
        remove->setIcon(Symbols::pixmap(QStringLiteral("trash"), Style::secondary(palette()), {12, 12},
                                        devicePixelRatioF()));
        return QStringLiteral("QToolButton { border: none; border-radius: 6px; background: %1; }")
            .arg(Style::withAlpha(Style::primary(palette()), 0.06).name(QColor::HexArgb));
    });
    connect(remove, &QToolButton::clicked, this, &LibraryDetailPane::removeRequested);
    row->addWidget(remove);
    return header;
}

QWidget *LibraryDetailPane::buildBody()
{
    auto *body = new QWidget(this);
    auto *column = new QVBoxLayout(body);
    column->setContentsMargins(sidePadding, 16, sidePadding, sidePadding);
    column->setSpacing(0);
    m_preview = new LibraryPreview(body);
    column->addWidget(m_preview);
    column->addSpacing(10);
    auto *metaRow = new QHBoxLayout;
    metaRow->setSpacing(5);
    metaRow->addWidget(symbolLabel(QStringLiteral("calendar"), Style::tertiary(palette()), 10, body));
    m_meta = new QLabel(body);
    m_meta->setObjectName(QStringLiteral("metaRow"));
    m_meta->setTextFormat(Qt::RichText);  // for the fainter dots; the parts are escaped
    Style::apply(m_meta, Style::font(11), Style::secondary(palette()));
    metaRow->addWidget(m_meta, 1);
    column->addLayout(metaRow);
    column->addSpacing(12);
    column->addWidget(divider(body));
    column->addSpacing(12);

    auto *grid = new QGridLayout;
    grid->setSpacing(8);
    m_copy = new LibActionButton(tr("Copy"), QStringLiteral("doc.on.clipboard"), body);
    auto *open = new LibActionButton(tr("Open"), QStringLiteral("arrow.up.right.square"), body);
    m_copyText = new LibActionButton(tr("Copy Text"), QStringLiteral("text.viewfinder"), body);
    auto *reveal = new LibActionButton(tr("Show in Folder"), QStringLiteral("folder"), body);
    auto *annotate = new LibActionButton(tr("Annotate"), QStringLiteral("pencil.and.outline"), body);
    auto *pick = new LibActionButton(tr("Pick Color"), QStringLiteral("eyedropper.halffull"), body);
    const QList<std::pair<LibActionButton *, void (LibraryDetailPane::*)()>> tiles{
        {m_copy, &LibraryDetailPane::copyRequested},          {open, &LibraryDetailPane::openRequested},
        {m_copyText, &LibraryDetailPane::copyTextRequested},  {reveal, &LibraryDetailPane::revealRequested},
        {annotate, &LibraryDetailPane::annotateRequested},    {pick, &LibraryDetailPane::pickColorRequested},
    };
    for (int i = 0; i < tiles.size(); ++i) {
        grid->addWidget(tiles[i].first, i / 2, i % 2);
        connect(tiles[i].first, &QAbstractButton::clicked, this, tiles[i].second);
    }
    column->addLayout(grid);
    column->addSpacing(10);
    m_upload = new UploadButton(Style::libraryUpload(), body);
    connect(m_upload, &QAbstractButton::clicked, this, &LibraryDetailPane::uploadRequested);
    column->addWidget(m_upload);
    column->addStretch();
    return body;
}

void LibraryDetailPane::setItem(const std::optional<ScreenshotItem> &item)
{
    m_stack->setCurrentIndex(item ? 1 : 0);
    if (!item) {
        m_preview->setImage({}, {});
        return;
    }
    const bool phone = item->source == ScreenshotSource::iPhone;
    Symbols::show(m_sourceIcon, phone ? QStringLiteral("iphone") : QStringLiteral("desktopcomputer"),
                  Style::tertiary(palette()), {11, 11});
    m_name->setText(QFileInfo(item->filePath()).fileName());
    m_preview->setImage(item->thumbnail, item->filePath());
    m_preview->setAccessibleName(Accessibility::pictureDescription(*item));
    Style::followTone(m_meta, QStringLiteral("dots"), Style::quaternary(palette()),
                      [label = m_meta, parts = metadataParts(*item)](const QColor &dot) {
                          label->setText(Style::dotSeparated(parts, dot));
                      });
}

QStringList LibraryDetailPane::metadataParts(const ScreenshotItem &item) const
{
    QStringList parts{item.formattedDate(),
                      QLocale(QLocale::English, QLocale::UnitedStates).toString(item.capturedAt.time(),
                                                                                QLocale::ShortFormat)};
    for (const QString &extra : {item.imageDimensions(), item.fileSize()}) {
        if (!extra.isEmpty())
            parts << extra;
    }
    return parts;
}

void LibraryDetailPane::setFeedback(const Feedback &feedback)
{
    const auto green = std::optional<QColor>(Style::systemGreen());
    if (feedback.copied)
        m_copy->setContent(tr("Copied!"), QStringLiteral("checkmark"), green);
    else
        m_copy->setContent(tr("Copy"), QStringLiteral("doc.on.clipboard"));
    if (feedback.textCopied)
        m_copyText->setContent(tr("Copied!"), QStringLiteral("checkmark"), green);
    else
        m_copyText->setContent(tr("Copy Text"), QStringLiteral("text.viewfinder"));
    m_upload->setState(feedback.uploading  ? UploadButton::State::uploading
                       : feedback.uploaded ? UploadButton::State::uploaded
                                           : UploadButton::State::idle);
    m_upload->setEnabled(!feedback.uploading);
}

void LibraryDetailPane::setUploadOffered(bool offered)
{
    m_upload->setVisible(offered);
}

bool LibraryDetailPane::isEmptyShown() const
{
    return m_stack->currentWidget() == m_empty;
}
