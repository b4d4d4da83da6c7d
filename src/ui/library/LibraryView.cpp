#include "library/LibraryView.h"

#include "capture/ScreenshotMonitor.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "common/WindowKeys.h"
#include "common/Workspace.h"
#include "config/RemoteConfigManager.h"
#include "library/LibraryDetailPane.h"
#include "library/LibraryListModel.h"
#include "library/LibraryPreview.h"
#include "library/LibraryRowView.h"
#include "library/LibrarySearchField.h"
#include "picker/ColorPickerWindowController.h"
#include "search/CaptureIndex.h"
#include "search/TextIndexer.h"
#include "upload/ImgurClientId.h"
#include "viewer/CodeScanTrigger.h"
#include "viewer/QRBadgeButton.h"
#include "viewer/UploadButton.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QHash>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int listWidth = 290;

QFrame *line(Qt::Orientation orientation, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(orientation == Qt::Horizontal ? QFrame::HLine : QFrame::VLine);
    frame->setFrameShadow(QFrame::Plain);
    frame->setStyleSheet(QStringLiteral("color: rgba(127,127,127,60);"));
    return frame;
}

}  // namespace

LibraryView::LibraryView(Dependencies deps, QWidget *parent)
    : QWidget(parent)
    , m_deps(std::move(deps))
    , m_model(new LibraryListModel(this))
    , m_rowView(new LibraryRowView(this))
{
    setObjectName(QStringLiteral("libraryView"));
    ImgurClientId *clientId = m_deps.imgurClientId;
    m_actions = new ViewerActions({m_deps.monitor, m_deps.textRecognizer, m_deps.imgur,
                                   [clientId] { return clientId ? clientId->effective() : QString(); },
                                   m_deps.timings.feedback},
                                  this);
    m_scanner = new CodeScanTrigger(m_deps.codeDetector, m_deps.timings.scanDelay, this);

    auto *root = new QHBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(buildListPanel());
    root->addWidget(line(Qt::Vertical, this));
    m_detail = new LibraryDetailPane(this);
    root->addWidget(m_detail, 1);
    connectDetail();
    new WindowKeys(this, WindowKeys::Escape::closesWindow);

    connect(m_deps.monitor, &ScreenshotMonitor::screenshotsChanged, this, &LibraryView::onScreenshotsChanged);
    connect(m_scanner, &CodeScanTrigger::found, this,
            [this](const QUuid &id, const CodeScanResult &result) { onCodesFound(id, result.payloads); });
    connect(m_actions, &ViewerActions::changed, this, &LibraryView::refreshFeedback);
    if (m_deps.remoteConfig)
        connect(m_deps.remoteConfig, &RemoteConfigManager::configChanged, this, [this] {
            refreshBadge(false);
            refreshUploadOffer();
        });
    if (clientId)
        connect(clientId, &ImgurClientId::changed, this, &LibraryView::refreshUploadOffer);

    // On opening, the newest item is selected.
    const QList<ScreenshotItem> &items = m_deps.monitor->screenshots();
    if (!items.isEmpty())
        m_selectedId = items.first().id;
    onScreenshotsChanged();
    refreshProgress();
    refreshUploadOffer();
    refreshFeedback();
    selectionChanged();
}

LibraryView::~LibraryView()
{
    m_scanner->cancel();
}

QWidget *LibraryView::buildListPanel()
{
    auto *panel = new QWidget(this);
    panel->setFixedWidth(listWidth);
    Style::fill(panel, [](const QPalette &palette) { return Style::withAlpha(palette.color(QPalette::Base), 0.45); });
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *header = new QWidget(panel);
    header->setFixedHeight(48);
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(12, 0, 12, 0);
    headerRow->addStretch();
    m_count = new QLabel(header);
    m_count->setObjectName(QStringLiteral("libraryCount"));
    m_count->setFont(Style::font(11, QFont::Medium));
    Style::styleSheet(m_count, [this] {
        return QStringLiteral("QLabel { color: %1; background: %2; border-radius: 8px; padding: 2px 7px; }")
            .arg(Style::secondary(palette()).name(QColor::HexArgb),
                 Style::withAlpha(Style::primary(palette()), 0.09).name(QColor::HexArgb));
    });
    m_count->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    headerRow->addWidget(m_count, 0, Qt::AlignVCenter);
    column->addWidget(header);
    if (m_deps.captureIndex) {
        auto *searchRow = new QHBoxLayout;
        searchRow->setContentsMargins(12, 0, 12, 8);
        searchRow->addWidget(buildSearch(panel));
        column->addLayout(searchRow);
    }
    m_progress = new QLabel(panel);
    m_progress->setObjectName(QStringLiteral("indexingProgress"));
    m_progress->setContentsMargins(12, 0, 12, 6);
    Style::apply(m_progress, Style::font(10), Style::tertiary(palette()));
    column->addWidget(m_progress);
    column->addWidget(line(Qt::Horizontal, panel));

    m_listStack = new QStackedWidget(panel);
    m_emptyList = buildEmptyList();
    m_listStack->addWidget(m_emptyList);
    m_noMatch = new QLabel(panel);
    m_noMatch->setObjectName(QStringLiteral("noMatch"));
    m_noMatch->setAlignment(Qt::AlignCenter);
    m_noMatch->setWordWrap(true);
    m_noMatch->setContentsMargins(16, 16, 16, 16);
    Style::apply(m_noMatch, Style::font(12, QFont::Medium), Style::tertiary(palette()));
    m_listStack->addWidget(m_noMatch);
    m_list = new QListView(panel);
    m_list->setObjectName(QStringLiteral("libraryList"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(m_rowView);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->viewport()->setAutoFillBackground(false);
    Style::styleSheet(m_list, [] { return QStringLiteral("QListView { background: transparent; }"); });
    Style::slimScrollBar(m_list);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &index) {
        if (m_syncing || !index.isValid())
            return;
        select(m_model->items().at(index.row()).id);
    });
    m_listStack->addWidget(m_list);
    column->addWidget(m_listStack, 1);
    return panel;
}

QWidget *LibraryView::buildEmptyList()
{
    auto *empty = new QWidget(this);
    auto *column = new QVBoxLayout(empty);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(8);
    column->addStretch();
    auto *symbol = new QLabel(empty);
    Symbols::show(symbol, QStringLiteral("photo.on.rectangle.angled"), Style::quaternary(palette()), {28, 28});
    column->addWidget(symbol, 0, Qt::AlignHCenter);
    auto *title = new QLabel(tr("No Screenshots"), empty);
    title->setObjectName(QStringLiteral("emptyList"));
    Style::apply(title, Style::font(12, QFont::Medium), Style::tertiary(palette()));
    column->addWidget(title, 0, Qt::AlignHCenter);
    auto *hint = new QLabel(tr("Take a screenshot to get started."), empty);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    Style::apply(hint, Style::font(11), Style::quaternary(palette()));
    column->addWidget(hint);
    column->addStretch();
    return empty;
}

QWidget *LibraryView::buildSearch(QWidget *parent)
{
    m_search = new LibrarySearchField(parent);
    connect(m_search, &QLineEdit::textChanged, this, &LibraryView::onScreenshotsChanged);
    connect(m_search, &LibrarySearchField::moveDownRequested, this, [this] {
        if (m_model->rowCount() > 0)
            m_list->setFocus(Qt::ShortcutFocusReason);
    });
    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    if (m_deps.textIndexer)
        connect(m_deps.textIndexer, &TextIndexer::progressChanged, this, [this] {
            refreshProgress();
            if (!searchWords().isEmpty())
                onScreenshotsChanged();  // captures read meanwhile may match now
        });
    return m_search;
}

// The history, or the part of it whose text holds every word typed, in the
// history's order, with each match's snippet by path.
QString LibraryView::searchWords() const
{
    return m_search ? m_search->text().trimmed() : QString();
}

QList<ScreenshotItem> LibraryView::shownItems(const QString &words, QHash<QString, QString> &snippets) const
{
    const QList<ScreenshotItem> &all = m_deps.monitor->screenshots();
    if (words.isEmpty())
        return all;
    for (const CaptureHit &hit : m_deps.captureIndex->search(words))
        snippets.insert(hit.path, QString(hit.snippet).replace(QLatin1Char('\n'), QLatin1Char(' ')));  // one line
    QList<ScreenshotItem> shown;
    std::copy_if(all.cbegin(), all.cend(), std::back_inserter(shown),
                 [&snippets](const ScreenshotItem &item) { return snippets.contains(item.filePath()); });
    return shown;
}

void LibraryView::refreshProgress()
{
    const TextIndexer *indexer = m_deps.textIndexer;
    const bool indexing = indexer && indexer->isEnabled() && indexer->indexedCount() < indexer->totalCount();
    m_progress->setText(indexing ? tr("Indexing %1 of %2…")
                                       .arg(indexer->indexedCount())
                                       .arg(indexer->totalCount())
                                 : QString());
    m_progress->setVisible(indexing);
}

QString LibraryView::noMatchText() const
{
    return m_listStack->currentWidget() == m_noMatch ? m_noMatch->text() : QString();
}

QString LibraryView::progressText() const
{
    return m_progress->isVisible() ? m_progress->text() : QString();
}

template <typename Action> void LibraryView::onSelected(Action action)
{
    if (const std::optional<ScreenshotItem> item = selectedItem())
        action(*item);
}

void LibraryView::connectDetail()
{
    auto on = [this](auto action) { return [this, action] { onSelected(action); }; };
    connect(m_detail, &LibraryDetailPane::removeRequested, this,
            on([this](const ScreenshotItem &item) { m_deps.monitor->remove(item); }));
    connect(m_detail, &LibraryDetailPane::copyRequested, this, on([this](const ScreenshotItem &item) {
                m_copyItem = item.id;
                m_actions->copyImage(item);
            }));
    connect(m_detail, &LibraryDetailPane::copyTextRequested, this, on([this](const ScreenshotItem &item) {
                m_textItem = item.id;
                m_actions->copyText(item);
            }));
    connect(m_detail, &LibraryDetailPane::uploadRequested, this, on([this](const ScreenshotItem &item) {
                if (m_actions->isUploading())
                    return;
                m_uploadItem = item.id;
                m_actions->upload(item);
            }));
    connect(m_detail, &LibraryDetailPane::openRequested, this, on([this](const ScreenshotItem &item) {
                if (m_deps.workspace)
                    m_deps.workspace->openFile(item.filePath());
            }));
    connect(m_detail, &LibraryDetailPane::revealRequested, this, on([this](const ScreenshotItem &item) {
                if (m_deps.workspace)
                    m_deps.workspace->revealFile(item.filePath());
            }));
    connect(m_detail, &LibraryDetailPane::annotateRequested, this,
            on([this](const ScreenshotItem &item) { Q_EMIT annotateRequested(item); }));
    connect(m_detail, &LibraryDetailPane::pickColorRequested, this,
            on([](const ScreenshotItem &item) { ColorPickerWindowController::open(item); }));
    QRBadgeButton *badge = m_detail->preview()->badge();
    connect(badge, &QRBadgeButton::copyRequested, m_actions, &ViewerActions::copyPlainText);
    connect(badge, &QRBadgeButton::openLinkRequested, this, [this](const QUrl &url) {
        if (m_deps.workspace)
            m_deps.workspace->openUrl(url);
    });
}

std::optional<ScreenshotItem> LibraryView::selectedItem() const
{
    const QList<ScreenshotItem> &items = m_model->items();
    if (items.isEmpty())
        return std::nullopt;
    if (m_selectedId) {
        if (const std::optional<int> row = m_model->rowOf(*m_selectedId))
            return items.at(*row);
    }
    return items.first();
}

void LibraryView::select(const QUuid &id)
{
    if (m_selectedId == id || !m_model->rowOf(id))
        return;
    m_selectedId = id;
    selectionChanged();
}

QString LibraryView::countText() const
{
    return m_count->text();
}

bool LibraryView::isListEmptyShown() const
{
    return m_listStack->currentWidget() == m_emptyList;
}

// Runs on every change of the list, not only of its length: at the cap a new
// capture pushes out the oldest item while the count stays the same.
void LibraryView::onScreenshotsChanged()
{
    const qsizetype total = m_deps.monitor->screenshots().size();
    QHash<QString, QString> snippets;
    const QString words = searchWords();
    const QList<ScreenshotItem> shownList = shownItems(words, snippets);
    m_model->setItems(shownList, snippets, words);
    const bool filtered = !words.isEmpty();
    m_count->setText(filtered ? tr("%1 of %2").arg(m_model->rowCount()).arg(total)
                              : QString::number(m_model->rowCount()));
    m_noMatch->setText(tr("No captures contain “%1”").arg(words));
    QWidget *page = m_list;
    if (total == 0)
        page = m_emptyList;
    else if (m_model->rowCount() == 0)
        page = m_noMatch;
    m_listStack->setCurrentWidget(page);
    const std::optional<ScreenshotItem> shown = selectedItem();
    const std::optional<QUuid> upkept = shown ? std::optional(shown->id) : std::nullopt;
    if (upkept != m_selectedId) {
        m_selectedId = upkept;
        selectionChanged();
    } else {
        showSelection();
    }
}

void LibraryView::selectionChanged()
{
    m_codes.clear();
    m_codesItemId.reset();
    refreshBadge(false);
    showSelection();
    const std::optional<ScreenshotItem> item = selectedItem();
    if (item)
        m_scanner->start(item->id, item->filePath());
    else
        m_scanner->cancel();
    refreshFeedback();
}

void LibraryView::showSelection()
{
    const std::optional<ScreenshotItem> item = selectedItem();
    m_detail->setItem(item);
    m_syncing = true;
    const std::optional<int> row = item ? m_model->rowOf(item->id) : std::nullopt;
    if (row)
        m_list->setCurrentIndex(m_model->index(*row));
    else
        m_list->clearSelection();
    m_syncing = false;
}

void LibraryView::onCodesFound(const QUuid &itemId, const QStringList &payloads)
{
    if (itemId != m_selectedId)
        return;
    m_codes = payloads;
    m_codesItemId = itemId;
    refreshBadge(true);
}

void LibraryView::refreshBadge(bool animated)
{
    const bool allowed = !m_deps.remoteConfig || m_deps.remoteConfig->isFeatureEnabled(&RemoteFeatureFlags::qr_code_enabled);
    const bool shown = allowed && m_codesItemId && m_codesItemId == m_selectedId && !m_codes.isEmpty();
    m_detail->preview()->setCodes(m_codes, shown, animated && isVisible());
}

bool LibraryView::isOwnFeedback(const std::optional<QUuid> &startedOn) const
{
    const std::optional<ScreenshotItem> item = selectedItem();
    return item && startedOn == item->id;
}

void LibraryView::refreshFeedback()
{
    m_detail->setFeedback({m_actions->isCopied() && isOwnFeedback(m_copyItem),
                           m_actions->isTextCopied() && isOwnFeedback(m_textItem),
                           m_actions->isUploading() && isOwnFeedback(m_uploadItem),
                           m_actions->isUploaded() && isOwnFeedback(m_uploadItem)});
    // One upload at a time per window, whichever item it started on.
    m_detail->uploadButton()->setEnabled(!m_actions->isUploading());
}

// Copy Text and uploads here ignore the feature flags; uploads still need a client id.
void LibraryView::refreshUploadOffer()
{
    m_detail->setUploadOffered(m_actions->canUpload());
}
