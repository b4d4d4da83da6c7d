#include "upload/ImgurUploader.h"

#include "upload/NetworkReplies.h"

#include <QBuffer>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QPromise>
#include <QStringDecoder>
#include <QUuid>
#include <QtConcurrent>

Q_LOGGING_CATEGORY(lcUpload, "tarnwick.upload", QtInfoMsg)

namespace {

// One upload in flight: lives on the thread that asked for it and deletes
// itself once its promise is fulfilled.
class UploadJob : public QObject
{
public:
    explicit UploadJob(const ImgurUploader::Settings &settings, QUrl endpoint)
        : m_settings(settings)
        , m_endpoint(std::move(endpoint))
        , m_network(new QNetworkAccessManager(this))
    {
    }

    QFuture<UploadOutcome> start(const QImage &image)
    {
        m_promise.start();
        QtConcurrent::run(&ImgurUploader::encodeImage, image).then(this, [this](std::optional<QByteArray> base64) {
            if (base64)
                send(*base64);
            else
                finish(UploadError::invalidImage());
        });
        return m_promise.future();
    }

private:
    void send(const QByteArray &base64)
    {
        const QByteArray boundary = ImgurUploader::makeBoundary();
        QNetworkRequest request = NetworkReplies::request(m_endpoint, m_settings.timeout, m_settings.tls);
        request.setRawHeader("Authorization", "Client-ID " + m_settings.clientId.toUtf8());
        request.setHeader(QNetworkRequest::ContentTypeHeader, "multipart/form-data; boundary=" + boundary);
        QNetworkReply *reply = m_network->post(request, ImgurUploader::multipartBody(boundary, base64));
        NetworkReplies::limitBody(reply, m_settings.maxReplyBytes);
        connect(reply, &QNetworkReply::finished, this, [this, reply] { received(reply); });
    }

    void received(QNetworkReply *reply)
    {
        reply->deleteLater();
        if (NetworkReplies::exceededLimit(*reply)) {
            finish(UploadError::networkError(QStringLiteral("the answer is larger than expected")));
            return;
        }
        if (NetworkReplies::transferFailed(*reply)) {
            qCInfo(lcUpload) << "upload failed:" << reply->errorString();
            finish(UploadError::networkError(reply->errorString()));
            return;
        }
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const std::optional<int> statusCode = status.isValid() ? std::optional(status.toInt()) : std::nullopt;
        QtConcurrent::run(&ImgurUploader::readResponse, statusCode, reply->readAll())
            .then(this, [this](const UploadOutcome &outcome) { finish(outcome); });
    }

    void finish(const UploadOutcome &outcome)
    {
        m_promise.addResult(outcome);
        m_promise.finish();
        deleteLater();
    }

    ImgurUploader::Settings m_settings;
    QUrl m_endpoint;
    QNetworkAccessManager *m_network;
    QPromise<UploadOutcome> m_promise;
};

QString serverMessage(int statusCode, const QByteArray &body)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(body);
    return utf8.hasError() ? QStringLiteral("Status code: %1").arg(statusCode) : text;
}

}  // namespace

QUrl ImgurUploader::defaultApiHost()
{
    return QUrl(QStringLiteral(TARNWICK_IMGUR_API_HOST));
}

QString ImgurUploader::builtInClientId()
{
    return QStringLiteral(TARNWICK_IMGUR_CLIENT_ID);
}

QString ImgurUploader::clientIdFor(const QString &preferred)
{
    const QString own = preferred.trimmed();
    return own.isEmpty() ? builtInClientId() : own;
}

ImgurUploader::ImgurUploader(QString clientId)
{
    m_settings.clientId = std::move(clientId);
}

ImgurUploader::ImgurUploader(Settings settings)
    : m_settings(std::move(settings))
{
}

QUrl ImgurUploader::endpoint() const
{
    QUrl url = m_settings.apiHost;
    url.setPath(QStringLiteral("/3/image"));
    return url;
}

QFuture<UploadOutcome> ImgurUploader::upload(const QImage &image) const
{
    return (new UploadJob(m_settings, endpoint()))->start(image);
}

std::optional<QByteArray> ImgurUploader::encodeImage(const QImage &image)
{
    if (image.isNull())
        return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image) || png.isEmpty())
        return std::nullopt;
    return png.toBase64();
}

QByteArray ImgurUploader::makeBoundary()
{
    return "Boundary-" + QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper();
}

QByteArray ImgurUploader::multipartBody(const QByteArray &boundary, const QByteArray &base64Png)
{
    QByteArray body;
    body.reserve(base64Png.size() + 4 * boundary.size() + 160);
    body += "--" + boundary + "\r\n";
    body += "Content-Disposition: form-data; name=\"image\"\r\n\r\n";
    body += base64Png;
    body += "\r\n";
    body += "--" + boundary + "\r\n";
    body += "Content-Disposition: form-data; name=\"type\"\r\n\r\n";
    body += "base64\r\n";
    body += "--" + boundary + "--\r\n";
    return body;
}

UploadOutcome ImgurUploader::readResponse(std::optional<int> statusCode, const QByteArray &body)
{
    if (!statusCode)
        return UploadError::invalidResponse();
    if (*statusCode != 200)
        return UploadError::serverError(serverMessage(*statusCode, body));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return UploadError::networkError(error.errorString());
    // An array at the top level reads as an empty object: no "data" either.
    const QJsonValue data = document.object().value(QLatin1String("data"));
    const QJsonValue link = data.toObject().value(QLatin1String("link"));
    if (!data.isObject() || !link.isString())
        return UploadError::invalidResponse();
    const QJsonValue deletehash = data.toObject().value(QLatin1String("deletehash"));
    return UploadResult{link.toString(), deletehash.isString() ? std::optional(deletehash.toString()) : std::nullopt};
}
