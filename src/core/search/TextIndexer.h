#pragma once

#include <QObject>
#include <QHash>
#include <QSet>
#include <QThreadPool>
#include <QTimer>

#include <chrono>

class CaptureIndex;
class CaptureReader;
class ScreenshotMonitor;

// Reads the text of every capture in the history once, newest first, into
// the capture index, on one background thread at idle priority. A capture
// is read only once its file has settled, and never while the user waits
// for other work; one whose file is unchanged since it was indexed, also in
// an earlier run, is not read again. Rows leave the index with their capture.
// The worker thread, and with it what the reader holds for it, ends after a
// while without work. State changes on the main thread only.
class TextIndexer : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int indexedCount READ indexedCount NOTIFY progressChanged)
    Q_PROPERTY(int totalCount READ totalCount NOTIFY progressChanged)

public:
    struct Timings {
        // A file modified more recently may still be being written.
        std::chrono::milliseconds settleDelay{2000};
        // How long to stand aside once the user was found waiting for other work.
        std::chrono::milliseconds yieldDelay{1000};
        // Idle time after which the worker thread and what the reader holds for it are released.
        std::chrono::milliseconds engineRelease{30000};
    };
    // None owned; each must outlive the indexer.
    struct Dependencies {
        ScreenshotMonitor *monitor = nullptr;  // required
        const CaptureReader *reader = nullptr;  // required
        CaptureIndex *index = nullptr;          // required
        Timings timings = {};
    };

    explicit TextIndexer(Dependencies deps, QObject *parent = nullptr);
    ~TextIndexer() override;

    bool isEnabled() const { return m_enabled; }
    // On opens the index (off the main thread) and reads what it lacks; off
    // stops reading and deletes the index.
    void setEnabled(bool on);

    // History items read so far, and all of them: "Indexing 12 of 100…".
    int indexedCount() const;
    int totalCount() const;

    // Waits for the worker (tests and shutdown).
    void waitForBackgroundWork();

Q_SIGNALS:
    void progressChanged();
    // The index was opened, or could not be (tests).
    void opened(bool usable);

private:
    enum class Outcome { indexed, known, unreadable, unsettled, busy, gone };
    struct Result {
        Outcome outcome = Outcome::gone;
        std::chrono::milliseconds retryIn{0};
    };

    void open();
    void reconcile();
    void scheduleNext();
    void armRetry(std::chrono::milliseconds delay);
    void finish(const QString &path, const Result &result);
    Result indexOne(const QString &path) const;  // worker thread
    QSet<QString> historyPaths() const;
    // Runs work on the worker, then then(result) here unless the indexer was
    // switched meanwhile.
    template <typename Work, typename Then>
    void onWorker(Work work, Then then);

    Dependencies m_deps;
    bool m_enabled = false;
    bool m_open = false;
    bool m_reading = false;
    quint64 m_generation = 0;
    QSet<QString> m_done;                 // read, known or unreadable in this run
    QSet<QString> m_rows;                 // paths the index holds
    QHash<QString, qint64> m_notBefore;   // unsettled files: when to look again
    qint64 m_pausedUntil = 0;
    QTimer m_retry;
    // Declared last so it is destroyed first: its tasks hand results to this object.
    QThreadPool m_pool;
};
