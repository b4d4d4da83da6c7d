#pragma once

#include "viewer/CodeScan.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <QUuid>

#include <chrono>

class CodeDetector;

// Looks for codes in the shown item a moment after it settled: each start()
// is a new trigger that forgets the previous one, waits, then scans the
// full-size file on a private pool. A result is handed on only if its
// trigger is still the current one when it arrives.
class CodeScanTrigger : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds defaultDelay{350};

    // Without a detector nothing is ever scanned.
    explicit CodeScanTrigger(const CodeDetector *detector, std::chrono::milliseconds delay = defaultDelay,
                             QObject *parent = nullptr);
    ~CodeScanTrigger() override;

    void start(const QUuid &itemId, const QString &path);
    // The running trigger, waiting or scanning, will hand on nothing.
    void cancel();
    bool isWaiting() const { return m_delay.isActive(); }

    void waitForBackgroundWork();

Q_SIGNALS:
    // Only when at least one code could be read.
    void found(const QUuid &itemId, const CodeScanResult &result);

private:
    void scan();

    const CodeDetector *m_detector;
    QTimer m_delay;
    quint64 m_trigger = 0;
    QUuid m_itemId;
    QString m_path;
    // Declared last so it is destroyed first: its tasks hand results to this object.
    QThreadPool m_pool;
};
