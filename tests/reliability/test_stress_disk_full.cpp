// The app's data and configuration folders on a disk that fills up while
// captures go on, from the watched folder (kept as copies) and from the real
// X11 clipboard: what was persisted stays readable, nothing half-written is
// left in the app's folders, and capture carries on once there is room again.

#include "MonitorFixture.h"
#include "capture/QtClipboard.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSettings>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>

using namespace TestSupport;

namespace {

bool ownMountNamespace = false;  // entered in main, while this process has one thread

// A disk of its own under path: a small tmpfs where this process may mount
// one, else the process's file-size limit (with SIGXFSZ ignored), so writes
// fail at the file-system boundary either way.
class SmallDisk
{
public:
    enum class Kind { tmpfs, fileSizeLimit };

    SmallDisk(Kind kind, const QString &path) : m_kind(kind), m_path(path)
    {
        QDir().mkpath(path);
        getrlimit(RLIMIT_FSIZE, &m_limit);
        if (kind == Kind::tmpfs && ownMountNamespace)
            m_mounted = ::mount("tarnwick-test", QFile::encodeName(path).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                                "size=1m")
                == 0;
    }
    ~SmallDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        if (m_mounted)
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }
    bool usable() const { return m_kind == Kind::fileSizeLimit || m_mounted; }

    // From now on no file grows past room bytes (file-size limit), or the
    // disk has room bytes left (tmpfs, rounded to its pages).
    void fill(qint64 room)
    {
        if (m_kind == Kind::fileSizeLimit) {
            rlimit limited = m_limit;
            limited.rlim_cur = rlim_t(room);
            setrlimit(RLIMIT_FSIZE, &limited);
            return;
        }
        const QByteArray page(4096, 'x');
        for (;; ++m_ballast) {
            QFile file(ballast(m_ballast));
            if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size() || !file.flush()) {
                file.remove();
                break;
            }
        }
        for (qint64 freed = 0; freed < room && m_ballast > 0; freed += page.size())
            QFile::remove(ballast(--m_ballast));
    }
    void empty()
    {
        setrlimit(RLIMIT_FSIZE, &m_limit);
        while (m_ballast > 0)
            QFile::remove(ballast(--m_ballast));
    }

private:
    QString ballast(int i) const { return m_path + QStringLiteral("/ballast-%1").arg(i); }

    Kind m_kind;
    QString m_path;
    rlimit m_limit{};
    bool m_mounted = false;
    int m_ballast = 0;
};

struct DiskFixture : MonitorFixture {
    QtClipboard x11;
    std::unique_ptr<ClipboardOwner> owner;  // another program owning the clipboard with one PNG
    QHash<QByteArray, QString> made;  // contents of every image offered -> its source
    QStringList shotsToCome, copiesToCome;
    int m_reads = 0;

    explicit DiskFixture(const QString &disk)
    {
        dataDir = disk + QStringLiteral("/data/Tarnwick");
        folders = LocalFolders::under(dataDir);
        preferences = std::make_unique<Preferences>(disk + QStringLiteral("/config/Tarnwick/Tarnwick.conf"));
        preferences->setBool(Preferences::saveLocalCopiesKey, true);
        timings.clipboardPollInterval = std::chrono::hours(1);  // polled by hand
        // Written before the disk fills: the test's own writes would fail too
        // under a file-size limit. Larger than the writes a file keeps in
        // memory before it goes to the disk, and smaller: a full disk shows on
        // write and on close.
        for (int i = 0; i < 6; ++i) {
            shotsToCome << prepare(QStringLiteral("Screenshot %1.png").arg(i), i % 2 ? 56 : 96, i);
            copiesToCome << prepare(QStringLiteral("copy %1.png").arg(i), i % 2 ? 96 : 56, 100 + i);
        }
    }
    QString prepare(const QString &name, int side, int seed)
    {
        const QString path = writePng(root.path() + QStringLiteral("/sources/") + name, noise(side, side, quint32(seed)));
        made.insert(readBytes(path), path);
        return path;
    }
    // One capture from the folder, one from the clipboard.
    bool captureOneOfEach() { return moveIn(shotsToCome.takeFirst()) && copyToClipboard(copiesToCome.takeFirst()); }
    // A screenshot tool moves a finished file into the folder.
    bool moveIn(const QString &source)
    {
        const qsizetype before = monitor->screenshots().size();
        const QString target = shots + QLatin1Char('/') + QFileInfo(source).fileName();
        return QFile::rename(source, target)
            && QTest::qWaitFor([&] { return monitor->screenshots().size() > before; }, 5000);
    }
    // Another program copies an image; the poll reads it and the write ends,
    // whether it went through or not.
    bool copyToClipboard(const QString &source)
    {
        const qint64 before = x11.changeCount();
        owner.reset();
        owner = std::make_unique<ClipboardOwner>(QStringList{QStringLiteral("image/png=") + source});
        const auto offered = [&] {
            return x11.changeCount() != before && x11.types().result().contains(QStringLiteral("image/png"));
        };
        if (!QTest::qWaitFor(offered, 5000))
            return false;
        DiagnosticRecorder diag;
        monitor->pollClipboard();
        // Read off the main thread, then written on the monitor's pool and handed back.
        const auto read = [&] { return diag.count(QStringLiteral("[Clipboard] Image found — saving...")) == 1; };
        const bool wasRead = QTest::qWaitFor(read, 5000);
        settle();
        return wasRead;
    }
    // Empty when the stored history still holds kept and every file in the
    // app's folders is whole: a byte-for-byte copy of an image offered, under
    // a capture's name. Else what is wrong.
    QStringList damage(const QStringList &kept)
    {
        QStringList broken;
        const QStringList stored = persistedHistory();
        for (const QString &path : kept) {
            if (!stored.contains(path))
                broken << QStringLiteral("not in the stored history: ") + path;
        }
        for (const QString &folder : {folders.savedShots, folders.clipboardShots}) {
            const QDir dir(folder);
            for (const QFileInfo &entry :
                 dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
                const QString name = entry.fileName();
                if (!name.startsWith(QStringLiteral("Screenshot ")) || !name.endsWith(QStringLiteral(".png"))
                    || !made.contains(readBytes(entry.absoluteFilePath())))
                    broken << entry.absoluteFilePath() + QStringLiteral(" (%1 bytes)").arg(entry.size());
            }
        }
        return broken;
    }
    // Read as the next launch would: through a name of its own, since
    // QSettings objects of one process on one path share the unsaved state.
    QStringList persistedHistory()
    {
        preferences->waitForWrites();
        const QString name = root.path() + QStringLiteral("/stored-%1.conf").arg(++m_reads);
        if (!QFile::link(preferences->filePath(), name))
            return {QStringLiteral("no link")};
        QSettings stored(name, QSettings::IniFormat);
        return stored.status() == QSettings::NoError ? stored.value(QLatin1String(Preferences::historyKey)).toStringList()
                                                     : QStringList{QStringLiteral("unreadable")};
    }
};

}  // namespace

class StressDiskFullTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fullDiskLosesNothingAndLeavesNothingHalfWritten_data()
    {
        QTest::addColumn<SmallDisk::Kind>("kind");
        QTest::newRow("small tmpfs") << SmallDisk::Kind::tmpfs;
        QTest::newRow("file-size limit") << SmallDisk::Kind::fileSizeLimit;
    }

    void fullDiskLosesNothingAndLeavesNothingHalfWritten()
    {
        QFETCH(SmallDisk::Kind, kind);
        QTemporaryDir diskDir;
        SmallDisk disk(kind, diskDir.path() + QStringLiteral("/disk"));
        if (!disk.usable())
            QSKIP("this process may not mount a tmpfs");
        DiskFixture f(diskDir.path() + QStringLiteral("/disk"));
        f.start(&f.x11);

        // Room enough: kept copies and a clipboard capture are persisted.
        QVERIFY(f.captureOneOfEach());
        QCOMPARE(f.monitor->screenshots().size(), 2);
        const QStringList before = f.listedPaths();
        for (const QString &path : before)
            QVERIFY2(f.folders.livesInLocalFolder(path), qPrintable(path));
        QCOMPARE(f.persistedHistory(), before);

        QElapsedTimer clock;
        clock.start();
        // A few pages left (images no longer fit, the small preferences file
        // may), then not a byte (the preferences cannot be written either).
        for (const qint64 room : {8 * 1024, 8 * 1024, 0}) {
            disk.fill(room);
            QVERIFY(f.captureOneOfEach());
            QCOMPARE(f.damage(before), QStringList());
            for (const QString &path : f.listedPaths())
                QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        }
        const qsizetype listedWhileFull = f.monitor->screenshots().size();

        // Room again: capture goes on as before and the history is written.
        disk.empty();
        QVERIFY(f.captureOneOfEach());
        QCOMPARE(f.monitor->screenshots().size(), listedWhileFull + 2);
        for (const QString &path : f.listedPaths().mid(0, 2))
            QVERIFY2(f.folders.livesInLocalFolder(path), qPrintable(path));
        QCOMPARE(f.persistedHistory(), f.listedPaths());
        QCOMPARE(f.damage({}), QStringList());
        qInfo("full disk (%s): 6 captures tried while full, %d listed; history kept, no partial file; %lld ms",
              QTest::currentDataTag(), int(listedWhileFull), clock.elapsed());
    }
};

int main(int argc, char **argv)
{
    // A mount namespace of our own, entered while this is the only thread,
    // so the test's tmpfs vanishes with the process whatever happens.
    ownMountNamespace = ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the file-size limit fails instead of ending the process
    QGuiApplication app(argc, argv);
    StressDiskFullTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_stress_disk_full.moc"
