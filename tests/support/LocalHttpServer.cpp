#include "LocalHttpServer.h"

#include <QFile>
#include <QProcess>
#include <QSslServer>
#include <QSslSocket>

namespace TestSupport {

namespace {

QByteArray readAllOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray reasonFor(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// Parses one complete request from buffer; none while it is still incomplete.
std::optional<HttpRequest> parseRequest(const QByteArray &buffer)
{
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    HttpRequest request;
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    const qsizetype length = request.header("content-length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return std::nullopt;
    request.body = buffer.mid(headerEnd + 4, length);
    return request;
}

}  // namespace

TestCertificate TestCertificate::generate(const QString &dir)
{
    const QString keyPath = dir + QStringLiteral("/key.pem");
    const QString certPath = dir + QStringLiteral("/cert.pem");
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                   QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                   QStringLiteral("-keyout"), keyPath, QStringLiteral("-out"), certPath});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
        return TestCertificate();
    return {QSslCertificate(readAllOf(certPath), QSsl::Pem), QSslKey(readAllOf(keyPath), QSsl::Ec, QSsl::Pem)};
}

QSslConfiguration TestCertificate::clientConfiguration() const
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates({certificate});
    return configuration;
}

LocalHttpServer::LocalHttpServer(const TestCertificate *tls)
    : m_scheme(tls ? QStringLiteral("https") : QStringLiteral("http"))
{
    if (tls) {
        auto server = std::make_unique<QSslServer>();
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(tls->certificate);
        configuration.setPrivateKey(tls->key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(configuration);
        m_server = std::move(server);
    } else {
        m_server = std::make_unique<QTcpServer>();
    }
    // A TLS server offers a connection once its handshake is done.
    QObject::connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, m_server.get(), [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection())
            accept(socket);
    });
    if (!m_server->listen(QHostAddress::LocalHost))
        qFatal("cannot listen on 127.0.0.1: %s", qPrintable(m_server->errorString()));
}

LocalHttpServer::~LocalHttpServer()
{
    // The sockets' handlers use the members below; end them while those exist.
    m_server.reset();
}

void LocalHttpServer::respondWith(const HttpResponse &response)
{
    setHandler([response](const HttpRequest &) { return std::optional(response); });
}

QUrl LocalHttpServer::url(const QString &path) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(m_scheme).arg(m_server->serverPort()).arg(path));
}

void LocalHttpServer::releaseHeld(const HttpResponse &response)
{
    const auto held = std::exchange(m_held, {});
    for (const QPointer<QTcpSocket> &socket : held) {
        if (socket)
            answer(socket, response);
    }
}

void LocalHttpServer::accept(QTcpSocket *socket)
{
    ++m_connections;
    socket->setParent(m_server.get());
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
        m_buffers.erase(socket);
        socket->deleteLater();
    });
    if (socket->bytesAvailable() > 0)
        read(socket);
}

void LocalHttpServer::read(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const std::optional<HttpRequest> request = parseRequest(buffer);
    if (!request)
        return;
    buffer.clear();
    m_requests << *request;
    const std::optional<HttpResponse> response = m_handler ? m_handler(*request) : std::optional(HttpResponse{404, {}});
    if (response)
        answer(socket, *response);
    else
        m_held << socket;
}

void LocalHttpServer::answer(QTcpSocket *socket, const HttpResponse &response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonFor(response.status) + "\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head + response.body);
    socket->disconnectFromHost();
}

}  // namespace TestSupport
