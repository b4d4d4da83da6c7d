#pragma once

#include "capture/Clipboard.h"
#include "capture/ClipboardImages.h"

#include <QObject>

class QClipboard;

// The X11 CLIPBOARD selection through QClipboard, with a change counter raised
// on every change by any process.
class QtClipboard : public QObject, public Clipboard
{
    Q_OBJECT
public:
    static constexpr qint64 defaultMaxImageBytes = ClipboardImages::defaultMaxBytes;

    // How long another program may take to say what it offers.
    static constexpr int typesTimeoutMs = 1000;

    explicit QtClipboard(QObject *parent = nullptr, qint64 maxImageBytes = defaultMaxImageBytes);

    qint64 changeCount() const override { return m_changeCount; }
    bool isOwnedByThisApp() const override;
    QFuture<QStringList> types() const override;
    QFuture<Image> readImage() const override;
    void clearContents() override;
    void writeImage(const QImage &image) override;
    void writeEncodedImage(const QByteArray &bytes, const QString &mimeType) override;
    void setString(const QString &text) override;

private:
    bool asksTheOwner() const;

    QClipboard *m_clipboard;
    qint64 m_maxImageBytes;
    qint64 m_changeCount = 0;
};
