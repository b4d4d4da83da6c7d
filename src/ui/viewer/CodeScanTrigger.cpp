#include "viewer/CodeScanTrigger.h"

#include "viewer/CodeDetector.h"

#include <QFuture>
#include <QThread>
#include <QtConcurrent>

CodeScanTrigger::CodeScanTrigger(const CodeDetector *detector, std::chrono::milliseconds delay, QObject *parent)
    : QObject(parent)
    , m_detector(detector)
{
    // A superseded scan may still be running when the next one starts.
    m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    m_delay.setSingleShot(true);
    m_delay.setInterval(delay);
    connect(&m_delay, &QTimer::timeout, this, &CodeScanTrigger::scan);
}

CodeScanTrigger::~CodeScanTrigger()
{
    m_pool.waitForDone();
}

void CodeScanTrigger::waitForBackgroundWork()
{
    m_pool.waitForDone();
}

void CodeScanTrigger::start(const QUuid &itemId, const QString &path)
{
    ++m_trigger;
    m_itemId = itemId;
    m_path = path;
    if (m_detector)
        m_delay.start();
}

void CodeScanTrigger::cancel()
{
    ++m_trigger;
    m_delay.stop();
}

void CodeScanTrigger::scan()
{
    const quint64 trigger = m_trigger;
    const CodeDetector *detector = m_detector;
    QtConcurrent::run(&m_pool, [detector, path = m_path]() -> std::optional<CodeScanResult> {
        const std::optional<QList<DetectedCode>> codes = CodeScan::detectInFile(*detector, path);
        return codes ? CodeScan::resultFrom(*codes) : std::nullopt;
    }).then(this, [this, trigger, itemId = m_itemId](const std::optional<CodeScanResult> &result) {
        if (result && trigger == m_trigger)
            Q_EMIT found(itemId, *result);
    });
}
