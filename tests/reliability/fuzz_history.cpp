// The preferences file as the history is restored from it at start: the
// stored list read, its files looked up, their thumbnails made, and the list
// written back.

#include "FuzzTargets.h"

#include "capture/Preferences.h"
#include "capture/ScreenshotHistory.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThreadPool>

QString fuzzShotFolder()
{
    return QDir::tempPath() + QStringLiteral("/tarnwick-fuzz-shots");
}

namespace {

// Three small screenshots for the stored lists to name.
void createShots()
{
    QDir().mkpath(fuzzShotFolder());
    for (int i = 1; i <= 3; ++i) {
        QImage shot(40 * i, 30, QImage::Format_RGB32);
        shot.fill(QColor::fromHsv(100 * i, 200, 200));
        QSaveFile file(QStringLiteral("%1/%2.png").arg(fuzzShotFolder()).arg(i));  // whole, even beside a parallel run
        FUZZ_REQUIRE(file.open(QIODevice::WriteOnly) && shot.save(&file, "png") && file.commit());
    }
}

// A new file name each time: QSettings keeps what it parsed of a file it
// believes unchanged, and a rewrite in the same millisecond can look so.
QString freshPreferencesFile(const QByteArray &contents)
{
    static const QTemporaryDir folder;
    static int count = 0;
    const QString path = folder.filePath(QStringLiteral("Tarnwick-%1.conf").arg(++count));
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
    return path;
}

}  // namespace

int fuzzHistory(const uint8_t *data, size_t size)
{
    [[maybe_unused]] static const bool shots = (createShots(), true);
    const QString path = freshPreferencesFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    QStringList restored;
    {
        Preferences preferences(path);
        QThreadPool pool;
        ScreenshotHistory history(&preferences, Thumbnailer(), &pool);
        history.load();
        pool.waitForDone();
        restored = history.paths();
        FUZZ_REQUIRE(restored.size() <= ScreenshotHistory::maxItems);
        QSet<QString> files;  // one item per file, and only files that are there
        for (const QString &file : std::as_const(restored)) {
            FUZZ_REQUIRE(QFileInfo(file).isAbsolute() && QFileInfo(file).isFile());
            files.insert(QDir::cleanPath(file));
        }
        FUZZ_REQUIRE(files.size() == restored.size());
    }
    // What was restored is stored again, and reads back the same.
    if (!restored.isEmpty())
        FUZZ_REQUIRE(Preferences(path).historyPaths() == restored);
    QFile::remove(path);
    return restored.isEmpty() ? 0 : 1;
}
