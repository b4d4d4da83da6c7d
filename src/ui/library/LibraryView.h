#pragma once

#include "capture/ScreenshotItem.h"
#include "upload/ImgurUploader.h"
#include "viewer/ViewerActions.h"

#include <QHash>
#include <QStringList>
#include <QUuid>
#include <QWidget>

#include <chrono>
#include <optional>

class CaptureIndex;
class CodeDetector;
class CodeScanTrigger;
class ImgurClientId;
class LibraryDetailPane;
class LibraryListModel;
class LibraryRowView;
class LibrarySearchField;
class QLabel;
class QListView;
class QStackedWidget;
class RemoteConfigManager;
class ScreenshotMonitor;
class TextIndexer;
class TextRecognizer;
class Workspace;

// The library: the whole history in a list on the left, the selected item's
// detail pane on the right. The selection is an item id; when it names no
// item the newest is shown, so the pane shows an item whenever the list has
// one. The selected item is scanned for codes a moment after it is chosen.
// With a capture index, a field above the list keeps only the captures
// whose text holds every word typed; selection then follows that list.
class LibraryView : public QWidget
{
    Q_OBJECT
public:
    struct Timings {
        std::chrono::milliseconds scanDelay{350};
        ViewerActions::Timings feedback;
    };
    // Only the monitor is required.
    struct Dependencies {
        ScreenshotMonitor *monitor = nullptr;
        RemoteConfigManager *remoteConfig = nullptr;  // none: every feature
        Workspace *workspace = nullptr;               // none: Open and Show in Folder do nothing
        const CodeDetector *codeDetector = nullptr;   // none: no scans
        const TextRecognizer *textRecognizer = nullptr;
        ImgurClientId *imgurClientId = nullptr;       // none: no uploads
        ImgurUploader::Settings imgur = {};           // host and trust; the id comes from imgurClientId
        const CaptureIndex *captureIndex = nullptr;   // none: no search field
        TextIndexer *textIndexer = nullptr;           // none: no indexing progress
        Timings timings = {};
    };

    explicit LibraryView(Dependencies deps, QWidget *parent = nullptr);
    ~LibraryView() override;

    std::optional<ScreenshotItem> selectedItem() const;
    void select(const QUuid &id);
    QListView *list() const { return m_list; }
    LibraryRowView *rowView() const { return m_rowView; }
    LibraryDetailPane *detail() const { return m_detail; }
    QString countText() const;
    bool isListEmptyShown() const;
    LibrarySearchField *searchField() const { return m_search; }
    // "No captures contain …" while it is shown, else empty.
    QString noMatchText() const;
    // "Indexing 12 of 100…" while captures wait to be read, else empty.
    QString progressText() const;
    ViewerActions *actions() const { return m_actions; }
    CodeScanTrigger *codeScanTrigger() const { return m_scanner; }
    const QStringList &codePayloads() const { return m_codes; }
    std::optional<QUuid> codesItemId() const { return m_codesItemId; }

Q_SIGNALS:
    void annotateRequested(const ScreenshotItem &item);

private:
    QWidget *buildListPanel();
    QWidget *buildEmptyList();
    QWidget *buildSearch(QWidget *parent);
    // The words typed in the search field, empty when there is none.
    QString searchWords() const;
    QList<ScreenshotItem> shownItems(const QString &words, QHash<QString, QString> &snippets) const;
    void refreshProgress();
    void connectDetail();
    void onScreenshotsChanged();
    void selectionChanged();
    void showSelection();
    void onCodesFound(const QUuid &itemId, const QStringList &payloads);
    void refreshBadge(bool animated);
    void refreshFeedback();
    void refreshUploadOffer();
    bool isOwnFeedback(const std::optional<QUuid> &startedOn) const;
    template <typename Action> void onSelected(Action action);

    Dependencies m_deps;
    ViewerActions *m_actions;
    CodeScanTrigger *m_scanner;
    LibraryListModel *m_model;
    LibraryRowView *m_rowView;
    std::optional<QUuid> m_selectedId;
    QStringList m_codes;
    std::optional<QUuid> m_codesItemId;
    // The item each momentary state started on: it shows on that item's pane only.
    std::optional<QUuid> m_copyItem;
    std::optional<QUuid> m_textItem;
    std::optional<QUuid> m_uploadItem;
    bool m_syncing = false;

    QLabel *m_count = nullptr;
    QStackedWidget *m_listStack = nullptr;
    QWidget *m_emptyList = nullptr;
    QLabel *m_noMatch = nullptr;
    QLabel *m_progress = nullptr;
    LibrarySearchField *m_search = nullptr;
    QListView *m_list = nullptr;
    LibraryDetailPane *m_detail = nullptr;
};
