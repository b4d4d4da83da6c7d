#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace TestSupport {

// A self-signed certificate for 127.0.0.1, made by the openssl tool in dir.
struct TestCertificate {
    QSslCertificate certificate;
    QSslKey key;

    static TestCertificate generate(const QString &dir);
    bool isNull() const { return certificate.isNull() || key.isNull(); }
    // What a client needs to trust this certificate and nothing else.
    QSslConfiguration clientConfiguration() const;
};

struct HttpRequest {
    QByteArray method;
    QByteArray target;                   // path and query as sent
    QMap<QByteArray, QByteArray> headers;  // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray &name) const { return headers.value(name.toLower()); }
};

struct HttpResponse {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
};

// A real HTTP/1.1 server on 127.0.0.1 (HTTPS when given a certificate) that
// answers each request with what its handler returns and closes the
// connection. A handler may return nothing to hold the request until
// releaseHeld(). Lives on the test's thread; driven by its event loop.
class LocalHttpServer
{
public:
    using Handler = std::function<std::optional<HttpResponse>(const HttpRequest &)>;

    explicit LocalHttpServer(const TestCertificate *tls = nullptr);
    ~LocalHttpServer();

    void setHandler(Handler handler) { m_handler = std::move(handler); }
    void respondWith(const HttpResponse &response);
    // scheme://127.0.0.1:port followed by path.
    QUrl url(const QString &path = {}) const;

    const QList<HttpRequest> &requests() const { return m_requests; }
    int connectionCount() const { return m_connections; }
    int heldCount() const { return int(m_held.size()); }
    void releaseHeld(const HttpResponse &response);

private:
    void accept(QTcpSocket *socket);
    void read(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const HttpResponse &response);

    std::unique_ptr<QTcpServer> m_server;
    QString m_scheme;
    Handler m_handler;
    QList<HttpRequest> m_requests;
    std::map<QTcpSocket *, QByteArray> m_buffers;
    QList<QPointer<QTcpSocket>> m_held;
    int m_connections = 0;
};

}  // namespace TestSupport
