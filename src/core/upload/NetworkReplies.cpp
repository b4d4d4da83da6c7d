#include "upload/NetworkReplies.h"

namespace NetworkReplies {

bool transferFailed(const QNetworkReply &reply)
{
    const int code = reply.error();
    // 201-299 and 401-499 are Qt's names for HTTP error statuses; every other
    // error code means no complete response arrived.
    const bool httpStatusError = (code >= 201 && code <= 299) || (code >= 401 && code <= 499);
    return code != QNetworkReply::NoError && !httpStatusError;
}

bool isHttpsUrl(const QUrl &url)
{
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

QNetworkRequest request(const QUrl &url, std::chrono::milliseconds timeout,
                        const std::optional<QSslConfiguration> &tls)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(int(timeout.count()));
    if (tls)
        request.setSslConfiguration(*tls);
    return request;
}

namespace {
const char *const overLimitProperty = "tarnwick.overLimit";
}

void limitBody(QNetworkReply *reply, qint64 maxBytes)
{
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, maxBytes](qint64 received, qint64 total) {
        if (received <= maxBytes && total <= maxBytes)
            return;
        reply->setProperty(overLimitProperty, true);
        reply->abort();  // too late when the whole body came in one piece; exceededLimit() still tells
    });
}

bool exceededLimit(const QNetworkReply &reply)
{
    return reply.property(overLimitProperty).toBool();
}

}  // namespace NetworkReplies
