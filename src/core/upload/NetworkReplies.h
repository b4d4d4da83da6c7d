#pragma once

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QUrl>

#include <chrono>
#include <optional>

// Small rules shared by the program's HTTP calls.
namespace NetworkReplies {

// True when the transfer itself failed (no connection, TLS failure, time-out,
// malformed or cut-off response), as opposed to a server that answered with an
// error status: that answer still has a status line and a body.
bool transferFailed(const QNetworkReply &reply);

// A valid absolute https URL with a host.
bool isHttpsUrl(const QUrl &url);

// A request that may only be redirected to https, gives up after timeout
// without traffic, and trusts what tls says when given (else the system CAs).
QNetworkRequest request(const QUrl &url, std::chrono::milliseconds timeout,
                        const std::optional<QSslConfiguration> &tls);

// Aborts reply as soon as its body is announced or received beyond maxBytes,
// and marks it so that exceededLimit() is true: such a reply is a failure.
void limitBody(QNetworkReply *reply, qint64 maxBytes);
bool exceededLimit(const QNetworkReply &reply);

}  // namespace NetworkReplies
