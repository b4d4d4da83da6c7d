#include "capture/PreferencesWriter.h"

#include <QFileInfo>
#include <QMutex>
#include <QSettings>
#include <QThreadPool>

#include <utility>

namespace {
class OneThread : public QThreadPool
{
public:
    OneThread() { setMaxThreadCount(1); }
};

QThreadPool &writerThread()
{
    static OneThread pool;
    return pool;
}

bool writeBatch(const QString &filePath, const QHash<QString, QVariant> &batch)
{
    if (!PreferencesWriter::fileOrNothingAt(filePath))
        return false;
    QSettings settings(filePath, QSettings::IniFormat);
    for (auto it = batch.cbegin(); it != batch.cend(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
    // A hand-broken line reads as a format error, yet the file was written.
    return settings.status() != QSettings::AccessError;
}
}  // namespace

struct PreferencesWriter::State {
    explicit State(QString path) : filePath(std::move(path)) {}

    const QString filePath;
    mutable QMutex mutex;
    QHash<QString, QVariant> pending;
    bool running = false;

    // On the writer thread, until nothing is left or a write failed.
    void drain()
    {
        for (;;) {
            QHash<QString, QVariant> batch;
            {
                QMutexLocker lock(&mutex);
                if (pending.isEmpty()) {
                    running = false;
                    return;
                }
                batch = std::exchange(pending, {});
            }
            const bool written = writeBatch(filePath, batch);
            if (written)
                continue;
            QMutexLocker lock(&mutex);
            for (auto it = batch.cbegin(); it != batch.cend(); ++it) {
                if (!pending.contains(it.key()))
                    pending.insert(it.key(), it.value());
            }
            running = false;
            return;
        }
    }

    void schedule(const std::shared_ptr<State> &self)
    {
        QMutexLocker lock(&mutex);
        if (running || pending.isEmpty())
            return;
        running = true;
        writerThread().start([self] { self->drain(); });
    }
};

PreferencesWriter::Stamp PreferencesWriter::Stamp::of(const QString &filePath)
{
    const QFileInfo info(filePath);
    return info.exists() ? Stamp{info.size(), info.lastModified()} : Stamp{};
}

bool PreferencesWriter::fileOrNothingAt(const QString &filePath)
{
    const QFileInfo info(filePath);
    return !info.exists() || info.isFile();
}

PreferencesWriter::PreferencesWriter(const QString &filePath)
    : m_state(std::make_shared<State>(filePath))
{
}

PreferencesWriter::~PreferencesWriter()
{
    m_state->schedule(m_state);
    waitForAll();
}

void PreferencesWriter::write(const QString &key, const QVariant &value)
{
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->pending.insert(key, value);
    }
    m_state->schedule(m_state);
}

bool PreferencesWriter::idle() const
{
    QMutexLocker lock(&m_state->mutex);
    return !m_state->running && m_state->pending.isEmpty();
}

void PreferencesWriter::waitForAll()
{
    writerThread().waitForDone();
}
