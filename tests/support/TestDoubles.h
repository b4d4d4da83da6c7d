#pragma once

#include "capture/Clipboard.h"
#include "capture/FolderWatcher.h"
#include "capture/ScreenshotFolderLocator.h"

#include <QString>

// An in-memory clipboard for rules that do not depend on the X server; the
// X11 behaviour itself is tested against the real clipboard.
class MemoryClipboard : public Clipboard
{
public:
    qint64 changeCount() const override { return m_count; }
    bool isOwnedByThisApp() const override { return m_ours; }
    QStringList types() const override { return m_types; }
    QFuture<Image> readImage() const override { return QtFuture::makeReadyFuture(Image{image(), {}}); }
    void clearContents() override
    {
        m_ours = true;
        m_types.clear();
        m_image = {};
        m_encoded.clear();
        ++m_count;
    }
    void writeImage(const QImage &image) override
    {
        m_ours = true;
        m_image = image;
        m_encoded.clear();
        m_types = {QStringLiteral("image/png")};
        ++m_count;
    }
    void writeEncodedImage(const QByteArray &bytes, const QString &mimeType) override
    {
        m_ours = true;
        m_image = {};
        m_encoded = bytes;  // decoded only when read, as another program would
        m_types = {mimeType};
        ++m_count;
    }
    void setString(const QString &text) override
    {
        m_ours = true;
        m_types = {QStringLiteral("text/plain")};
        m_text = text;
        ++m_count;
    }
    // Another program puts something on the clipboard.
    void offer(const QStringList &types, const QImage &image = {})
    {
        m_ours = false;
        m_types = types;
        m_image = image;
        m_encoded.clear();
        ++m_count;
    }
    QImage image() const { return m_encoded.isEmpty() ? m_image : QImage::fromData(m_encoded); }

private:
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
