// The image host's answer to an upload, read as a success, as a refusal, and
// as an answer without an HTTP status.

#include "FuzzTargets.h"

#include "upload/ImgurUploader.h"

#include <QJsonDocument>
#include <QJsonObject>

int fuzzUploadReply(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    FUZZ_REQUIRE(ImgurUploader::readResponse(std::nullopt, body) == UploadOutcome(UploadError::invalidResponse()));

    // A refusal shows the server's text when it is UTF-8, else the status.
    const bool utf8 = QString::fromUtf8(body).toUtf8() == body;
    const QString message = utf8 ? QString::fromUtf8(body) : QStringLiteral("Status code: 500");
    FUZZ_REQUIRE(ImgurUploader::readResponse(500, body) == UploadOutcome(UploadError::serverError(message)));

    const UploadOutcome outcome = ImgurUploader::readResponse(200, body);
    const QJsonDocument parsed = QJsonDocument::fromJson(body);
    if (const auto *result = std::get_if<UploadResult>(&outcome)) {
        FUZZ_REQUIRE(parsed.object().value(QLatin1String("data")).toObject().value(QLatin1String("link")).toString()
                     == result->link);
        return 1;
    }
    FUZZ_REQUIRE(std::get<UploadError>(outcome).kind()
                 == (parsed.isNull() ? UploadError::Kind::networkError : UploadError::Kind::invalidResponse));
    return 0;
}
