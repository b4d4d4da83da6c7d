#pragma once

#include "upload/UploadError.h"
#include "upload/UploadResult.h"

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QSslConfiguration>
#include <QUrl>

#include <chrono>
#include <optional>
#include <variant>

using UploadOutcome = std::variant<UploadResult, UploadError>;

// Sends one image anonymously to the Imgur image API. The uploader holds only
// its settings; every upload runs on its own and shows nothing to the user.
class ImgurUploader
{
public:
    struct Settings {
        QUrl apiHost = defaultApiHost();  // scheme://host[:port]; the path is fixed
        QString clientId = builtInClientId();
        std::chrono::milliseconds timeout{60000};
        qint64 maxReplyBytes = 1LL << 20;  // a larger answer fails as a network error
        std::optional<QSslConfiguration> tls;  // trust to use; none: the system's
    };

    // The build's API host and client identifier (empty: none was registered
    // for this build).
    static QUrl defaultApiHost();
    static QString builtInClientId();
    // The identifier to use: the user's own when set, else the build's. Empty
    // means uploading is unavailable and its controls stay hidden.
    static QString clientIdFor(const QString &preferred);

    explicit ImgurUploader(QString clientId);
    explicit ImgurUploader(Settings settings);

    const QString &clientId() const { return m_settings.clientId; }
    QUrl endpoint() const;

    // Encodes the image off the calling thread, then posts it from the calling
    // thread, which must run an event loop; the future finishes there too.
    // An image that cannot be encoded fails with invalidImage and sends nothing.
    QFuture<UploadOutcome> upload(const QImage &image) const;

    // The image as PNG, in Base64 without line breaks; none when it cannot be encoded.
    static std::optional<QByteArray> encodeImage(const QImage &image);
    // "Boundary-" and a fresh upper-case UUID.
    static QByteArray makeBoundary();
    static QByteArray multipartBody(const QByteArray &boundary, const QByteArray &base64Png);
    // statusCode: none when the answer was not an HTTP response.
    static UploadOutcome readResponse(std::optional<int> statusCode, const QByteArray &body);

private:
    Settings m_settings;
};
