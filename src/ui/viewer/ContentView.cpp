#include "viewer/ContentView.h"

#include "capture/Preferences.h"
#include "capture/ScreenshotMonitor.h"
#include "common/Style.h"
#include "common/WindowKeys.h"
#include "common/Workspace.h"
#include "config/RemoteConfigManager.h"
#include "shell/SwipeInput.h"
#include "upload/ImgurClientId.h"
#include "viewer/ActionGrid.h"
#include "viewer/CodeScanTrigger.h"
#include "viewer/ForceUpdateOverlay.h"
#include "viewer/InfoRow.h"
#include "viewer/NavigationRow.h"
#include "viewer/ShareMenu.h"
#include "viewer/ThumbnailView.h"
#include "viewer/UpdateBanner.h"
#include "viewer/ViewerHeader.h"
#include "viewer/ViewerLabels.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFixedHeight(1);
    Style::fill(line, [](const QPalette &palette) { return Style::withAlpha(Style::quaternary(palette), 0.5); });
    return line;
}

QWidget *emptyState(QWidget *parent)
{
    auto *empty = new QWidget(parent);
    auto *column = new QVBoxLayout(empty);
    column->setContentsMargins(0, 44, 0, 44);
    column->setSpacing(12);
    column->addStretch(1);
    column->addWidget(ViewerLabels::symbol(QStringLiteral("camera.on.rectangle"),
                                           Style::quaternary(parent->palette()), 32, empty),
                      0, Qt::AlignHCenter);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(ViewerLabels::text(ContentView::tr("No Screenshots"), Style::font(13, QFont::Medium),
                                        Style::secondary(parent->palette()), empty,
                                        QStringLiteral("emptyState.title")),
                     0, Qt::AlignHCenter);
    // The desktop's own screenshot keys, written as key caps.
    auto *hint = ViewerLabels::text(QString(), Style::font(11), Style::tertiary(parent->palette()), empty,
                                    QStringLiteral("emptyState.hint"));
    hint->setTextFormat(Qt::RichText);
    hint->setText(ContentView::tr("<code>PrtSc</code> or <code>Shift PrtSc</code>"));
    texts->addWidget(hint, 0, Qt::AlignHCenter);
    column->addLayout(texts);
    column->addStretch(1);
    return empty;
}

// With the upload button the carousel's rows are taller than the popover:
// rather than shrink the picture, what lies below the header scrolls, and
// only the footer starts out of sight.
QScrollArea *scrolling(QWidget *content)
{
    auto *scroll = new QScrollArea(content->parentWidget());
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    scroll->viewport()->setAutoFillBackground(false);
    return scroll;
}

QLabel *footer(QWidget *parent)
{
    auto *label = ViewerLabels::text(ContentView::tr("Tarnwick v%1").arg(RemoteConfigManager::appVersion()),
                                     Style::font(10), Style::quaternary(parent->palette()), parent,
                                     QStringLiteral("footer.version"));
    label->setAlignment(Qt::AlignCenter);
    label->setContentsMargins(0, 0, 0, 10);
    return label;
}

}  // namespace

ContentView::ContentView(ScreenshotMonitor *monitor, QWidget *parent)
    : ContentView(Dependencies{monitor}, parent)
{
}

ContentView::ContentView(Dependencies deps, QWidget *parent)
    : QWidget(parent)
    , m_deps(std::move(deps))
    , m_swipe(new SwipeInput(this))
{
    setObjectName(QStringLiteral("contentView"));
    Preferences *preferences = m_deps.preferences;
    ImgurClientId *clientId = m_deps.imgurClientId;
    m_actions = new ViewerActions({m_deps.monitor, m_deps.textRecognizer, m_deps.imgur,
                                   [preferences, clientId] {
                                       if (clientId)
                                           return clientId->effective();
                                       return ImgurUploader::clientIdFor(
                                           preferences ? preferences->stringValue(Preferences::imgurClientIdKey)
                                                       : QString());
                                   },
                                   m_deps.timings.feedback},
                                  this);
    m_scanner = new CodeScanTrigger(m_deps.codeDetector, m_deps.timings.scanDelay, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new ViewerHeader(this);
    layout->addWidget(m_header);
    layout->addWidget(divider(this));
    m_banner = new UpdateBanner(this);
    m_banner->setObjectName(QStringLiteral("updateBanner"));
    layout->addWidget(m_banner);
    // One of the empty state and the carousel shows at a time, the footer
    // under it; a hidden one takes no room.
    m_body = new QWidget(this);
    auto *body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    m_emptyState = emptyState(m_body);
    m_carousel = buildCarousel();
    body->addWidget(m_emptyState, 1);
    body->addWidget(m_carousel, 1);
    body->addWidget(footer(m_body));
    layout->addWidget(scrolling(m_body), 1);
    m_overlay = new ForceUpdateOverlay(this);
    // Escape stays with the popover, which closes on it.
    new WindowKeys(this, WindowKeys::Escape::keepsMeaning);
    // The arrows step through the captures whichever control has the focus.
    m_stepKeys = {new QShortcut(QKeySequence(Qt::Key_Left), this, this, &ContentView::showPrevious),
                  new QShortcut(QKeySequence(Qt::Key_Right), this, this, &ContentView::showNext)};

    connectParts();
    m_lastIds = visibleIds();
    m_shownId = currentItem() ? std::optional(currentItem()->id) : std::nullopt;
    refreshConfig();
    refresh(false);
}

ContentView::~ContentView() = default;

QWidget *ContentView::buildCarousel()
{
    auto *carousel = new QWidget(this);
    auto *column = new QVBoxLayout(carousel);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(0);
    m_thumbnail = new ThumbnailView(carousel);
    m_thumbnail->setObjectName(QStringLiteral("carousel.thumbnail"));
    column->addWidget(m_thumbnail);  // its height follows its width, at 1.6 : 1
    column->addSpacing(10);
    m_navRow = new NavigationRow(carousel);
    column->addWidget(m_navRow);
    column->addSpacing(10);
    m_infoRow = new InfoRow(carousel);
    column->addWidget(m_infoRow);
    column->addSpacing(8);
    m_actionGrid = new ActionGrid(carousel);
    column->addWidget(m_actionGrid);
    column->addStretch(1);  // spare height goes below the actions, never to the picture
    return carousel;
}

void ContentView::connectParts()
{
    ScreenshotMonitor *monitor = m_deps.monitor;
    // Swiping left moves to the older item, right to the newer one.
    connect(m_swipe, &SwipeInput::swipedLeft, this, &ContentView::showNext);
    connect(m_swipe, &SwipeInput::swipedRight, this, &ContentView::showPrevious);
    connect(monitor, &ScreenshotMonitor::screenshotsChanged, this, &ContentView::onScreenshotsChanged);
    connect(monitor, &ScreenshotMonitor::isPendingChanged, this, &ContentView::refreshHeader);
    connect(m_header, &ViewerHeader::libraryRequested, this, &ContentView::libraryRequested);
    if (RemoteConfigManager *config = m_deps.remoteConfig) {
        connect(config, &RemoteConfigManager::configChanged, this, &ContentView::refreshConfig);
        connect(config, &RemoteConfigManager::downloadProgressChanged, this, &ContentView::refreshConfig);
        connect(m_banner, &UpdateBanner::downloadRequested, config, &RemoteConfigManager::downloadAndInstallUpdate);
        connect(m_overlay, &ForceUpdateOverlay::downloadRequested, config,
                &RemoteConfigManager::downloadAndInstallUpdate);
    }
    connect(m_scanner, &CodeScanTrigger::found, this, &ContentView::onCodesFound);
    connect(m_actions, &ViewerActions::changed, this, &ContentView::refreshFeedback);
    if (m_deps.imgurClientId)
        connect(m_deps.imgurClientId, &ImgurClientId::changed, this, &ContentView::refreshConfig);

    connect(m_navRow, &NavigationRow::previousRequested, this, &ContentView::showPrevious);
    connect(m_navRow, &NavigationRow::nextRequested, this, &ContentView::showNext);
    connect(m_navRow, &NavigationRow::indexRequested, this, &ContentView::setCurrentIndex);
    connect(m_infoRow, &InfoRow::deleteRequested, this, [this, monitor] {
        if (const auto item = currentItem())
            monitor->remove(*item);
    });

    // Every action works on the item shown when it is pressed.
    const auto onItem = [this](auto act) {
        return [this, act] {
            if (const auto item = currentItem())
                act(*item);
        };
    };
    const auto open = onItem([this](const ScreenshotItem &item) {
        if (m_deps.workspace)
            m_deps.workspace->openFile(item.filePath());
    });
    connect(m_actionGrid, &ActionGrid::copyRequested, this,
            onItem([this](const ScreenshotItem &item) { m_actions->copyImage(item); }));
    connect(m_actionGrid, &ActionGrid::copyTextRequested, this,
            onItem([this](const ScreenshotItem &item) { m_actions->copyText(item); }));
    connect(m_actionGrid, &ActionGrid::uploadRequested, this,
            onItem([this](const ScreenshotItem &item) { m_actions->upload(item); }));
    connect(m_actionGrid, &ActionGrid::openRequested, this, open);
    connect(m_actionGrid, &ActionGrid::revealRequested, this, onItem([this](const ScreenshotItem &item) {
        if (m_deps.workspace)
            m_deps.workspace->revealFile(item.filePath());
    }));

    connect(m_thumbnail, &ThumbnailView::openRequested, this, open);
    connect(m_thumbnail, &ThumbnailView::pickColorRequested, this,
            onItem([this](const ScreenshotItem &item) { Q_EMIT pickColorRequested(item); }));
    connect(m_thumbnail, &ThumbnailView::annotateRequested, this,
            onItem([this](const ScreenshotItem &item) { Q_EMIT annotateRequested(item); }));
    connect(m_thumbnail, &ThumbnailView::shareRequested, this, &ContentView::share);
    connect(m_thumbnail, &ThumbnailView::frameChosen, m_thumbnail, &ThumbnailView::setDeviceFrame);
    connect(m_thumbnail, &ThumbnailView::copyCodeRequested, m_actions, &ViewerActions::copyPlainText);
    connect(m_thumbnail, &ThumbnailView::openLinkRequested, this, [this](const QUrl &url) {
        if (m_deps.workspace)
            m_deps.workspace->openUrl(url);
    });
}

QList<ScreenshotItem> ContentView::visibleScreenshots() const
{
    return m_deps.monitor->screenshots().mid(0, ScreenshotMonitor::popoverMaxItems);
}

QList<QUuid> ContentView::visibleIds() const
{
    QList<QUuid> ids;
    for (const ScreenshotItem &item : visibleScreenshots())
        ids << item.id;
    return ids;
}

std::optional<ScreenshotItem> ContentView::currentItem() const
{
    const QList<ScreenshotItem> visible = visibleScreenshots();
    if (visible.isEmpty())
        return std::nullopt;
    return visible.at(std::clamp(m_currentIndex, 0, int(visible.size()) - 1));
}

bool ContentView::showNext()
{
    if (m_currentIndex >= visibleScreenshots().size() - 1)
        return false;
    setCurrentIndex(m_currentIndex + 1);  // no haptic engine on this desktop
    return true;
}

bool ContentView::showPrevious()
{
    if (m_currentIndex < 1)
        return false;
    setCurrentIndex(m_currentIndex - 1);
    return true;
}

void ContentView::setCurrentIndex(int index)
{
    const int count = int(visibleScreenshots().size());
    index = count == 0 ? 0 : std::clamp(index, 0, count - 1);
    if (index == m_currentIndex)
        return;
    m_currentIndex = index;
    itemChanged();
    refresh(true);
}

void ContentView::onScreenshotsChanged()
{
    const QList<QUuid> ids = visibleIds();
    const int count = int(ids.size());
    m_currentIndex = count == 0 ? 0 : std::min(count - 1, m_currentIndex);
    const std::optional<QUuid> shown = count == 0 ? std::nullopt : std::optional(ids.at(m_currentIndex));
    // At the history's cap a new capture can replace the shown item without
    // changing the count: what matters is which items are listed.
    if (ids != m_lastIds || shown != m_shownId) {
        m_lastIds = ids;
        itemChanged();
    }
    refresh(false);
}

void ContentView::itemChanged()
{
    const std::optional<ScreenshotItem> item = currentItem();
    m_shownId = item ? std::optional(item->id) : std::nullopt;
    clearCodes();
    autoDetectFrame();  // also drops a frame picked by hand for the previous item
    startScan();
}

void ContentView::autoDetectFrame()
{
    const std::optional<ScreenshotItem> item = currentItem();
    m_thumbnail->setDeviceFrame(item && item->source == ScreenshotSource::iPhone ? DeviceFrameType::iPhone
                                                                                  : DeviceFrameType::none);
}

void ContentView::clearCodes()
{
    m_codes = {};
    m_codesItemId.reset();
    m_thumbnail->clearCodes();
}

void ContentView::startScan()
{
    const std::optional<ScreenshotItem> item = currentItem();
    if (isVisible() && item)
        m_scanner->start(item->id, item->filePath());
    else
        m_scanner->cancel();
}

void ContentView::onCodesFound(const QUuid &itemId, const CodeScanResult &result)
{
    if (!isVisible() || itemId != m_shownId)
        return;
    m_codes = result;
    m_codesItemId = itemId;
    m_thumbnail->showCodes(result.boxes, result.payloads);
}

void ContentView::share(QWidget *anchor)
{
    const std::optional<ScreenshotItem> item = currentItem();
    if (!item)
        return;
    auto *menu = new ShareMenu(item->filePath(), m_deps.workspace,
                               [actions = m_actions](const QString &text) { actions->copyPlainText(text); }, this);
    menu->popupAt(anchor ? anchor : m_thumbnail);
}

void ContentView::refreshHeader()
{
    m_header->setState(m_deps.monitor->isPending(), m_currentIndex, int(visibleScreenshots().size()));
}

void ContentView::refresh(bool animate)
{
    refreshHeader();
    const QList<ScreenshotItem> visible = visibleScreenshots();
    if (visible.isEmpty()) {
        m_carousel->hide();
        m_emptyState->show();
        m_thumbnail->setItem(std::nullopt);
        return;
    }
    m_emptyState->hide();
    m_carousel->show();
    const ScreenshotItem &item = visible.at(m_currentIndex);
    // Handed over only when it differs, so a list change elsewhere does not
    // disturb what the image shows.
    const std::optional<ScreenshotItem> shown = m_thumbnail->item();
    if (!shown || shown->id != item.id || shown->thumbnail.cacheKey() != item.thumbnail.cacheKey())
        m_thumbnail->setItem(item);
    m_navRow->setItems(visible, m_currentIndex, animate && isVisible());
    m_infoRow->setItem(item);
}

bool ContentView::isFeatureEnabled(bool RemoteFeatureFlags::*flag) const
{
    return !m_deps.remoteConfig || m_deps.remoteConfig->isFeatureEnabled(flag);
}

bool ContentView::isForced() const
{
    return m_deps.remoteConfig && m_deps.remoteConfig->shouldForceUpdate();
}

void ContentView::refreshConfig()
{
    RemoteConfigManager *config = m_deps.remoteConfig;
    const bool downloading = config && config->downloadProgress().has_value();
    m_banner->setVisible(config && config->shouldShowUpdateBanner());
    m_banner->setDownloading(downloading);
    m_overlay->setDownloading(downloading);
    const bool forced = isForced();
    m_overlay->setVisible(forced);
    if (forced) {
        m_overlay->setGeometry(rect());
        m_overlay->raise();
        m_overlay->setFocus();  // keys meant for the controls beneath end there
    }
    m_thumbnail->setBadgeAllowed(isFeatureEnabled(&RemoteFeatureFlags::qr_code_enabled));
    m_actionGrid->setOffered(isFeatureEnabled(&RemoteFeatureFlags::ocr_enabled),
                             isFeatureEnabled(&RemoteFeatureFlags::imgur_upload_enabled) && m_actions->canUpload());
    refreshSwipe();
}

void ContentView::refreshFeedback()
{
    m_actionGrid->setFeedback({m_actions->isCopied(), m_actions->isTextCopied(), m_actions->isUploading(),
                               m_actions->isUploaded()});
}

void ContentView::refreshSwipe()
{
    // Under the forced-update overlay not even a swipe reaches the carousel.
    m_swipe->setEnabled(isVisible() && !isForced());
    for (QShortcut *key : m_stepKeys)
        key->setEnabled(!isForced());
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refreshConfig();  // the Imgur id may have been set in the settings meanwhile
    startScan();  // every opening looks at the shown item anew
}

void ContentView::hideEvent(QHideEvent *event)
{
    m_swipe->setEnabled(false);
    m_scanner->cancel();
    QWidget::hideEvent(event);
}

void ContentView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_overlay->setGeometry(rect());
}

void ContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}
