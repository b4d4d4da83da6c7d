// The uploader against a real HTTPS server on 127.0.0.1 that plays the image API.

#include "upload/ImgurUploader.h"
#include "LocalHttpServer.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;
using namespace std::chrono_literals;

namespace {

UploadOutcome await(const QFuture<UploadOutcome> &future)
{
    if (!QTest::qWaitFor([&] { return future.isFinished(); }, 10000))
        qFatal("upload did not finish");
    return future.result();
}

QByteArray successBody(const QByteArray &data)
{
    return "{\"success\":true,\"status\":200,\"data\":" + data + "}";
}

}  // namespace

class ImgurUploaderTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_certDir;
    TestCertificate m_cert;

    ImgurUploader uploaderFor(const LocalHttpServer &server, const TestCertificate &trusted,
                              std::chrono::milliseconds timeout = 60s)
    {
        ImgurUploader::Settings settings;
        settings.apiHost = server.url();
        settings.clientId = QStringLiteral("0123456789abcde");
        settings.timeout = timeout;
        settings.tls = trusted.clientConfiguration();
        return ImgurUploader(settings);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        m_cert = TestCertificate::generate(m_certDir.path());
        QVERIFY(!m_cert.isNull());
    }

    void postsTheImageAsTheExactMultipartForm()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith({200, successBody("{\"link\":\"https://i.example/a.png\",\"deletehash\":\"d3l\"}")});
        const QImage image = makeImage(37, 23, Qt::magenta, 5);
        const UploadOutcome outcome = await(uploaderFor(server, m_cert).upload(image));
        QCOMPARE(outcome, UploadOutcome(UploadResult{QStringLiteral("https://i.example/a.png"), QStringLiteral("d3l")}));

        QCOMPARE(server.requests().size(), 1);
        const HttpRequest &request = server.requests().first();
        QCOMPARE(request.method, QByteArray("POST"));
        QCOMPARE(request.target, QByteArray("/3/image"));
        QCOMPARE(request.header("authorization"), QByteArray("Client-ID 0123456789abcde"));
        const QByteArray contentType = request.header("content-type");
        const QRegularExpression form(QStringLiteral(
            "^multipart/form-data; boundary=(Boundary-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12})$"));
        const QRegularExpressionMatch match = form.match(QString::fromLatin1(contentType));
        QVERIFY2(match.hasMatch(), contentType.constData());
        const QByteArray boundary = match.captured(1).toLatin1();

        const QByteArray head = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"image\"\r\n\r\n";
        const QByteArray tail = "\r\n--" + boundary + "\r\nContent-Disposition: form-data; name=\"type\"\r\n\r\n"
                                "base64\r\n--" + boundary + "--\r\n";
        QVERIFY(request.body.startsWith(head));
        QVERIFY(request.body.endsWith(tail));
        const QByteArray base64 = request.body.mid(head.size(), request.body.size() - head.size() - tail.size());
        QVERIFY(QRegularExpression(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$")).match(QString::fromLatin1(base64)).hasMatch());
        const auto png = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        QVERIFY(png && png.decoded.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(QImage::fromData(*png, "PNG").convertToFormat(image.format()), image);
        QCOMPARE(request.header("content-length"), QByteArray::number(request.body.size()));

        // Every upload has a boundary of its own.
        await(uploaderFor(server, m_cert).upload(image));
        QVERIFY(server.requests().at(1).header("content-type") != contentType);
    }

    void readsTheResponse_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<UploadOutcome>("expected");
        const QByteArray created = successBody("{\"link\":\"https://i.example/a.png\"}");
        QTest::newRow("201 is a server error") << 201 << created << UploadOutcome(UploadError::serverError(QString::fromUtf8(created)));
        QTest::newRow("500 with text") << 500 << QByteArray("Über capacity") << UploadOutcome(UploadError::serverError(QStringLiteral("Über capacity")));
        QTest::newRow("404 empty") << 404 << QByteArray() << UploadOutcome(UploadError::serverError(QString()));
        QTest::newRow("500 not utf-8") << 500 << QByteArray("\xff\xfe\xfd") << UploadOutcome(UploadError::serverError(QStringLiteral("Status code: 500")));
        QTest::newRow("403 cut utf-8") << 403 << QByteArray("ok \xc3") << UploadOutcome(UploadError::serverError(QStringLiteral("Status code: 403")));
        QTest::newRow("no link") << 200 << successBody("{\"deletehash\":\"x\"}") << UploadOutcome(UploadError::invalidResponse());
        QTest::newRow("link not text") << 200 << successBody("{\"link\":5}") << UploadOutcome(UploadError::invalidResponse());
        QTest::newRow("data not object") << 200 << successBody("\"https://i.example/a.png\"") << UploadOutcome(UploadError::invalidResponse());
        QTest::newRow("array at the top") << 200 << QByteArray("[{\"data\":{\"link\":\"x\"}}]") << UploadOutcome(UploadError::invalidResponse());
        QTest::newRow("no deletehash") << 200 << successBody("{\"link\":\"L\"}") << UploadOutcome(UploadResult{QStringLiteral("L"), std::nullopt});
        QTest::newRow("deletehash not text") << 200 << successBody("{\"link\":\"L\",\"deletehash\":null}") << UploadOutcome(UploadResult{QStringLiteral("L"), std::nullopt});
        QTest::newRow("success flag ignored") << 200 << QByteArray("{\"success\":false,\"data\":{\"link\":\"L\",\"deletehash\":\"h\"}}") << UploadOutcome(UploadResult{QStringLiteral("L"), QStringLiteral("h")});
    }

    void readsTheResponse()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(UploadOutcome, expected);
        LocalHttpServer server(&m_cert);
        server.respondWith({status, body});
        const UploadOutcome outcome = await(uploaderFor(server, m_cert).upload(makeImage(4, 4)));
        if (outcome != expected && std::holds_alternative<UploadError>(outcome))
            QFAIL(qPrintable(std::get<UploadError>(outcome).errorDescription()));
        QVERIFY(outcome == expected);
    }

    void bodyThatIsNotJsonIsANetworkError()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith({200, "<html>ok</html>", "text/html"});
        const UploadOutcome outcome = await(uploaderFor(server, m_cert).upload(makeImage(4, 4)));
        QVERIFY(std::holds_alternative<UploadError>(outcome));
        const UploadError error = std::get<UploadError>(outcome);
        QCOMPARE(error.kind(), UploadError::Kind::networkError);
        QVERIFY(!error.detail().isEmpty());
        QCOMPARE(error.errorDescription(), QStringLiteral("Erro de rede: ") + error.detail());
    }

    void transportFailuresAreNetworkErrors()
    {
        QTemporaryDir otherDir;
        const TestCertificate stranger = TestCertificate::generate(otherDir.path());
        LocalHttpServer untrusted(&stranger);
        untrusted.respondWith({200, successBody("{\"link\":\"L\"}")});
        const UploadOutcome refused = await(uploaderFor(untrusted, m_cert).upload(makeImage(4, 4)));
        QVERIFY(std::holds_alternative<UploadError>(refused));
        QCOMPARE(std::get<UploadError>(refused).kind(), UploadError::Kind::networkError);
        QVERIFY(untrusted.requests().isEmpty());

        LocalHttpServer silent(&m_cert);
        silent.setHandler([](const HttpRequest &) { return std::optional<HttpResponse>(); });
        QElapsedTimer clock;
        clock.start();
        const UploadOutcome timedOut = await(uploaderFor(silent, m_cert, 300ms).upload(makeImage(4, 4)));
        QVERIFY(std::holds_alternative<UploadError>(timedOut));
        QCOMPARE(std::get<UploadError>(timedOut).kind(), UploadError::Kind::networkError);
        QCOMPARE(silent.heldCount(), 1);
        QVERIFY(clock.elapsed() >= 250);
    }

    void imageThatCannotBeEncodedSendsNothing()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith({200, successBody("{\"link\":\"L\"}")});
        const UploadOutcome outcome = await(uploaderFor(server, m_cert).upload(QImage()));
        QCOMPARE(outcome, UploadOutcome(UploadError::invalidImage()));
        QTest::qWait(100);
        QCOMPARE(server.connectionCount(), 0);
    }

    void errorTextsAreExact()
    {
        QCOMPARE(UploadError::networkError(QStringLiteral("Connection refused")).errorDescription(),
                 QStringLiteral("Erro de rede: Connection refused"));
        QCOMPARE(UploadError::serverError(QStringLiteral("{\"error\":1}")).errorDescription(),
                 QStringLiteral("Erro do servidor: {\"error\":1}"));
        QCOMPARE(UploadError::invalidImage().errorDescription(), QStringLiteral("Não foi possível processar a imagem"));
        QCOMPARE(UploadError::invalidResponse().errorDescription(), QStringLiteral("Resposta inválida do servidor"));
    }

};

QTEST_GUILESS_MAIN(ImgurUploaderTest)
#include "test_imgur_uploader.moc"
