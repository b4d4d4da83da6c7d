#include "LocalHttpServer.h"

#include "TestSupport.h"

#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslServer>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace TestSupport {

namespace {

// One complete request from buffer; none while it is still incomplete.
std::optional<HttpRequest> parseRequest(const QByteArray &buffer)
{
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return std::nullopt;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    HttpRequest request{requestLine.value(0), requestLine.value(1), {}, {}};
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    const qsizetype length = request.header("content-length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return std::nullopt;
    request.body = buffer.mid(headerEnd + 4, length);
    return request;
}

// Made once per process and kept to its end: the TLS backend may be gone
// by the time static objects are destroyed.
const std::pair<QSslCertificate, QSslKey> &certificate(LocalHttpServer::Tls kind)
{
    static const auto generate = [] {
        const QTemporaryDir dir;
        const QString keyPath = dir.filePath(u"key.pem"_s);
        const QString certPath = dir.filePath(u"cert.pem"_s);
        QProcess openssl;
        openssl.start(u"openssl"_s, u"req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                                    u"-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1"_s.split(u' ')
                                        << u"-keyout"_s << keyPath << u"-out"_s << certPath);
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            qFatal("openssl could not make a certificate");
        return new std::pair(QSslCertificate(readBytes(certPath), QSsl::Pem), QSslKey(readBytes(keyPath), QSsl::Ec, QSsl::Pem));
    };
    static const auto *const trusted = generate();
    static const auto *const untrusted = generate();
    return kind == LocalHttpServer::Tls::Trusted ? *trusted : *untrusted;
}

}  // namespace

QSslConfiguration LocalHttpServer::trustingClient()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setCaCertificates({certificate(Tls::Trusted).first});
    return configuration;
}

LocalHttpServer::LocalHttpServer(Tls tls)
{
    if (tls == Tls::None) {
        m_server = std::make_unique<QTcpServer>();
    } else {
        auto server = std::make_unique<QSslServer>();
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(certificate(tls).first);
        configuration.setPrivateKey(certificate(tls).second);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(configuration);
        m_server = std::move(server);
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

QUrl LocalHttpServer::url(const QString &path) const
{
    const QString scheme = qobject_cast<QSslServer *>(m_server.get()) ? u"https"_s : u"http"_s;
    return QUrl(u"%1://127.0.0.1:%2%3"_s.arg(scheme).arg(m_server->serverPort()).arg(path));
}

void LocalHttpServer::releaseHeld(const HttpResponse &response)
{
    for (const QPointer<QTcpSocket> &socket : std::exchange(m_held, {})) {
        if (socket)
            answer(socket, response);
    }
}

void LocalHttpServer::accept(QTcpSocket *socket)
{
    socket->setParent(m_server.get());
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    // The request stays in the socket's buffer until all of it has arrived.
    const auto read = [this, socket] {
        const std::optional<HttpRequest> request = parseRequest(socket->peek(socket->bytesAvailable()));
        if (!request)
            return;
        socket->readAll();
        m_requests << *request;
        if (const std::optional<HttpResponse> response = m_handler(*request))
            answer(socket, *response);
        else
            m_held << socket;
    };
    QObject::connect(socket, &QTcpSocket::readyRead, socket, read);
    read();
}

void LocalHttpServer::answer(QTcpSocket *socket, const HttpResponse &response)
{
    // Clients read the status code; the reason phrase is free text.
    socket->write("HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\nContent-Length: "
                  + QByteArray::number(response.body.size()) + "\r\nConnection: close\r\n\r\n" + response.body);
    socket->disconnectFromHost();
}

}  // namespace TestSupport
