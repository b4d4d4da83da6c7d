#pragma once

#include "capture/Clipboard.h"
#include "capture/FolderWatcher.h"
#include "capture/ScreenshotFolderLocator.h"
#include "common/Workspace.h"
#include "viewer/CodeDetector.h"
#include "viewer/TextRecognizer.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

// An in-memory clipboard for rules that do not depend on the X server; the
// X11 behaviour itself is tested against the real clipboard.
class MemoryClipboard : public Clipboard
{
public:
    qint64 changeCount() const override { return m_count; }
    bool isOwnedByThisApp() const override { return m_ours; }
    QFuture<QStringList> types() const override { return QtFuture::makeReadyFuture<QStringList>(QStringList(m_types)); }
    QFuture<Image> readImage() const override { return QtFuture::makeReadyFuture(Image{image(), {}}); }
    void clearContents() override { replace(true, {}); }
    void writeImage(const QImage &image) override { replace(true, {QStringLiteral("image/png")}, image); }
    // Decoded only when read, as another program would.
    void writeEncodedImage(const QByteArray &bytes, const QString &mimeType) override
    {
        replace(true, {mimeType}, {}, bytes);
    }
    void setString(const QString &text) override
    {
        replace(true, {QStringLiteral("text/plain")});
        m_text = text;
    }
    // Another program puts something on the clipboard.
    void offer(const QStringList &types, const QImage &image = {}) { replace(false, types, image); }
    QImage image() const { return m_encoded.isEmpty() ? m_image : QImage::fromData(m_encoded); }
    QString text() const { return m_text; }

private:
    void replace(bool ours, const QStringList &types, const QImage &image = {}, const QByteArray &encoded = {})
    {
        m_ours = ours;
        m_types = types;
        m_image = image;
        m_encoded = encoded;
        m_text.clear();
        ++m_count;
    }

    qint64 m_count = 0;
    bool m_ours = false;
    QStringList m_types;
    QImage m_image;
    QByteArray m_encoded;
    QString m_text;
};

// A screenshot folder setting the test can change while the monitor runs.
class FixedFolderLocator : public ScreenshotFolderLocator
{
public:
    explicit FixedFolderLocator(QString path = {}) : folder(std::move(path)) {}
    QString screenshotDirectory() const override { return folder; }
    QString folder;
};

// For rules that do not involve the folder: watches nothing.
class NullFolderWatcher : public FolderWatcher
{
public:
    bool watch(const QString &) override { return false; }
    void unwatch() override {}
};

// Records what the viewer asks of the desktop, one "call path" line each.
class RecordingWorkspace : public Workspace
{
public:
    void openFile(const QString &path) override { calls << QStringLiteral("openFile ") + path; }
    void openUrl(const QUrl &url) override { calls << QStringLiteral("openUrl ") + url.toString(); }
    void revealFile(const QString &path) override { calls << QStringLiteral("revealFile ") + path; }
    void openFileWith(const QString &path) override { calls << QStringLiteral("openFileWith ") + path; }
    void sendFileByEmail(const QString &path) override { calls << QStringLiteral("sendFileByEmail ") + path; }
    QStringList calls;
};

// Holds worker threads until the test opens it; counts who arrived.
class Gate
{
public:
    void pass()
    {
        std::unique_lock lock(m_mutex);
        ++m_arrived;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
    }
    void open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    int arrived() const
    {
        std::lock_guard lock(m_mutex);
        return m_arrived;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_arrived = 0;
};

// Finds one code in images of one width, after passing an optional gate;
// the real zxing-cpp detector is tested on its own.
class WidthCodeDetector : public CodeDetector
{
public:
    static constexpr int codedWidth = 320;
    explicit WidthCodeDetector(Gate *gate = nullptr, int width = codedWidth) : m_width(width), m_gate(gate) {}
    QList<DetectedCode> detect(const QImage &image) const override
    {
        if (m_gate)
            m_gate->pass();
        if (image.width() != m_width)
            return {};
        return {DetectedCode{QStringLiteral("QRCode"), QStringLiteral("https://example.org/"), QRectF(0.1, 0.1, 0.2, 0.2)}};
    }

private:
    int m_width;
    Gate *m_gate;
};

// Answers the n-th recognition with the n-th scripted result (none: the
// engine failed); the first call may wait at a gate.
class ScriptedTextRecognizer : public TextRecognizer
{
public:
    ScriptedTextRecognizer(QList<std::optional<QStringList>> results, Gate *firstCallGate = nullptr)
        : m_results(std::move(results)), m_gate(firstCallGate)
    {
    }
    std::optional<QStringList> recognizeLines(const QImage &) const override
    {
        const int call = m_calls++;
        if (call == 0 && m_gate)
            m_gate->pass();
        return m_results.value(call);
    }

private:
    mutable std::atomic<int> m_calls = 0;
    const QList<std::optional<QStringList>> m_results;
    Gate *m_gate;
};
