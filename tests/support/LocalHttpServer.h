#pragma once

#include <QList>
#include <QMap>
#include <QPointer>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

namespace TestSupport {

struct HttpRequest {
    QByteArray method;
    QByteArray target;                     // path and query as sent
    QMap<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
};

struct HttpResponse {
    int status = 200;
    QByteArray body;
};

// A real HTTP/1.1 server on 127.0.0.1 that answers each request with what its
// handler returns and closes the connection. A handler may return nothing to
// hold the request until releaseHeld(). Lives on the test's thread; driven by
// its event loop.
class LocalHttpServer
{
public:
    using Handler = std::function<std::optional<HttpResponse>(const HttpRequest &)>;
    // HTTPS with a self-signed certificate made by the openssl tool: one that
    // trustingClient() trusts, or another one that nothing trusts.
    enum class Tls { None, Trusted, Untrusted };

    explicit LocalHttpServer(Tls tls = Tls::Trusted);
    ~LocalHttpServer();

    // What a client needs to trust the Trusted certificate and nothing else.
    static QSslConfiguration trustingClient();

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    // scheme://127.0.0.1:port followed by path.
    QUrl url(const QString &path = {}) const;

    const QList<HttpRequest> &requests() const { return m_requests; }
    int heldCount() const { return int(m_held.size()); }
    void releaseHeld(const HttpResponse &response);

private:
    void accept(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const HttpResponse &response);

    std::unique_ptr<QTcpServer> m_server;
    Handler m_handler = [](const HttpRequest &) { return std::optional(HttpResponse{404, {}}); };
    QList<HttpRequest> m_requests;
    QList<QPointer<QTcpSocket>> m_held;
};

}  // namespace TestSupport
