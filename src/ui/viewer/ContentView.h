#pragma once

#include "capture/ScreenshotItem.h"
#include "config/RemoteConfig.h"
#include "upload/ImgurUploader.h"
#include "viewer/CodeScan.h"
#include "viewer/ViewerActions.h"

#include <QList>
#include <QUuid>
#include <QWidget>

#include <array>
#include <chrono>
#include <optional>

class ActionGrid;
class CodeDetector;
class CodeScanTrigger;
class ForceUpdateOverlay;
class ImgurClientId;
class InfoRow;
class NavigationRow;
class Preferences;
class RemoteConfigManager;
class QShortcut;
class ScreenshotMonitor;
class SwipeInput;
class TextRecognizer;
class ThumbnailView;
class UpdateBanner;
class ViewerHeader;
class Workspace;

// The popover's content: the header, the update banner, the empty state or
// the carousel of the newest 20 screenshots with their actions, the version
// footer, and over all of it the forced-update overlay. Follows the monitor
// and the remote configuration; its own state is the shown item, the codes
// found in it and its device frame, all thrown away whenever the list or the
// shown item changes.
class ContentView : public QWidget
{
    Q_OBJECT
public:
    struct Timings {
        std::chrono::milliseconds scanDelay{350};
        ViewerActions::Timings feedback;
    };
    // Only the monitor is required; without the others their controls do
    // nothing (or, for uploads, are not offered).
    struct Dependencies {
        ScreenshotMonitor *monitor = nullptr;
        RemoteConfigManager *remoteConfig = nullptr;  // none: every feature, no banner
        Workspace *workspace = nullptr;
        const CodeDetector *codeDetector = nullptr;
        const TextRecognizer *textRecognizer = nullptr;
        Preferences *preferences = nullptr;  // holds the user's own Imgur client id
        ImgurUploader::Settings imgur = {};  // host and trust; the id comes from the preferences
        ImgurClientId *imgurClientId = nullptr;  // when given, the id in effect, followed live
        Timings timings = {};
    };

    explicit ContentView(ScreenshotMonitor *monitor, QWidget *parent = nullptr);
    explicit ContentView(Dependencies deps, QWidget *parent = nullptr);
    ~ContentView() override;

    QList<ScreenshotItem> visibleScreenshots() const;
    std::optional<ScreenshotItem> currentItem() const;
    int currentIndex() const { return m_currentIndex; }
    SwipeInput *swipeInput() const { return m_swipe; }
    ViewerActions *actions() const { return m_actions; }
    CodeScanTrigger *codeScanTrigger() const { return m_scanner; }

    // The codes found in the shown item and which item they belong to.
    const QStringList &codePayloads() const { return m_codes.payloads; }
    std::optional<QUuid> codesItemId() const { return m_codesItemId; }

    // One step to the older or newer item; false at either end.
    bool showNext();
    bool showPrevious();
    void setCurrentIndex(int index);

Q_SIGNALS:
    void libraryRequested();
    void pickColorRequested(const ScreenshotItem &item);
    void annotateRequested(const ScreenshotItem &item);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *buildCarousel();
    void connectParts();
    void onScreenshotsChanged();
    void itemChanged();
    void autoDetectFrame();
    void startScan();
    void onCodesFound(const QUuid &itemId, const CodeScanResult &result);
    void clearCodes();
    void refresh(bool animate);
    void refreshHeader();
    void refreshConfig();
    void refreshFeedback();
    void refreshSwipe();
    void share(QWidget *anchor);
    bool isFeatureEnabled(bool RemoteFeatureFlags::*flag) const;
    bool isForced() const;
    QList<QUuid> visibleIds() const;

    Dependencies m_deps;
    SwipeInput *m_swipe;
    std::array<QShortcut *, 2> m_stepKeys{};
    ViewerActions *m_actions;
    CodeScanTrigger *m_scanner;
    int m_currentIndex = 0;
    QList<QUuid> m_lastIds;
    std::optional<QUuid> m_shownId;
    CodeScanResult m_codes;
    std::optional<QUuid> m_codesItemId;

    ViewerHeader *m_header = nullptr;
    UpdateBanner *m_banner = nullptr;
    QWidget *m_body = nullptr;
    QWidget *m_emptyState = nullptr;
    QWidget *m_carousel = nullptr;
    ThumbnailView *m_thumbnail = nullptr;
    NavigationRow *m_navRow = nullptr;
    InfoRow *m_infoRow = nullptr;
    ActionGrid *m_actionGrid = nullptr;
    ForceUpdateOverlay *m_overlay = nullptr;
};
