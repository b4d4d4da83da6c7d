// The uploader against a real HTTPS server on 127.0.0.1 that plays the image
// API; the fuzz test holds its response reader to its rules on any answer.

#include "capture/Preferences.h"
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
using namespace Qt::StringLiterals;

namespace {

enum class Server { Trusted, Silent, Untrusted };  // Silent holds every request

ImgurUploader uploaderFor(const LocalHttpServer &server, std::chrono::milliseconds timeout = 60s)
{
    ImgurUploader::Settings settings;
    settings.apiHost = server.url();
    settings.clientId = u"0123456789abcde"_s;
    settings.timeout = timeout;
    settings.tls = LocalHttpServer::trustingClient();
    return ImgurUploader(settings);
}

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

class UploadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void postsTheImageAsTheExactMultipartForm()
    {
        LocalHttpServer server;
        const HttpResponse created{200, successBody("{\"link\":\"https://i.example/a.png\",\"deletehash\":\"d3l\"}")};
        server.setHandler([&](const HttpRequest &) { return std::optional(created); });
        const QImage image = makeImage(37, 23, Qt::magenta, 5);
        QCOMPARE(await(uploaderFor(server).upload(image)), UploadOutcome(UploadResult{u"https://i.example/a.png"_s, u"d3l"_s}));
        await(uploaderFor(server).upload(image));
        QCOMPARE(server.requests().size(), 2);
        const HttpRequest &request = server.requests().first();
        QCOMPARE(request.method + ' ' + request.target, QByteArray("POST /3/image"));
        QCOMPARE(request.header("authorization"), QByteArray("Client-ID 0123456789abcde"));
        const QByteArray contentType = request.header("content-type");
        const QRegularExpressionMatch match = QRegularExpression(
            u"^multipart/form-data; boundary=(Boundary-[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12})$"_s)
            .match(QString::fromLatin1(contentType));
        QVERIFY2(match.hasMatch(), contentType.constData());
        QVERIFY(server.requests().at(1).header("content-type") != contentType);  // a boundary per upload

        const QByteArray boundary = match.captured(1).toLatin1();
        const QByteArray head = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"image\"\r\n\r\n";
        const QByteArray tail = "\r\n--" + boundary + "\r\nContent-Disposition: form-data; name=\"type\"\r\n\r\n"
                                "base64\r\n--" + boundary + "--\r\n";
        QVERIFY(request.body.startsWith(head) && request.body.endsWith(tail));
        // Strict decoding: no line breaks or other characters outside the Base64 alphabet.
        const auto png = QByteArray::fromBase64Encoding(request.body.sliced(head.size(), request.body.size() - head.size() - tail.size()),
                                                        QByteArray::AbortOnBase64DecodingErrors);
        QVERIFY(png && png.decoded.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(QImage::fromData(*png, "PNG").convertToFormat(image.format()), image);
        QCOMPARE(request.header("content-length"), QByteArray::number(request.body.size()));
    }

    void outcome_data()
    {
        QTest::addColumn<Server>("kind");
        QTest::addColumn<bool>("encodable");
        QTest::addColumn<HttpResponse>("response");
        QTest::addColumn<UploadOutcome>("expected");  // a network error's detail is whatever the transport said
        const auto row = [](const char *name, int status, const QByteArray &body, const UploadOutcome &expected) {
            QTest::newRow(name) << Server::Trusted << true << HttpResponse{status, body} << expected;
        };
        const QByteArray created = successBody("{\"link\":\"https://i.example/a.png\"}");
        row("201 is a server error", 201, created, UploadError::serverError(QString::fromUtf8(created)));
        row("404 empty", 404, {}, UploadError::serverError(QString()));
        row("403 cut utf-8", 403, "ok \xc3", UploadError::serverError(u"Status code: 403"_s));
        row("body that is not JSON is a network error", 200, "<html>ok</html>", UploadError::networkError({}));
        row("no deletehash", 200, successBody("{\"link\":\"L\"}"), UploadResult{u"L"_s, std::nullopt});
        row("deletehash not text", 200, successBody("{\"link\":\"L\",\"deletehash\":null}"), UploadResult{u"L"_s, std::nullopt});
        row("answer over 1 MiB is a network error", 200, QByteArray(1 << 20, ' ') + successBody("{\"link\":\"L\"}"),
            UploadError::networkError({}));
        row("success flag ignored", 200, "{\"success\":false,\"data\":{\"link\":\"L\",\"deletehash\":\"h\"}}", UploadResult{u"L"_s, u"h"_s});
        const HttpResponse fine{200, successBody("{\"link\":\"L\"}")};
        QTest::newRow("untrusted certificate is a network error") << Server::Untrusted << true << fine << UploadOutcome(UploadError::networkError({}));
        QTest::newRow("silent server times out: network error") << Server::Silent << true << fine << UploadOutcome(UploadError::networkError({}));
        QTest::newRow("image that cannot be encoded sends nothing") << Server::Trusted << false << fine << UploadOutcome(UploadError::invalidImage());
    }

    void outcome()
    {
        QFETCH(Server, kind);
        QFETCH(bool, encodable);
        QFETCH(HttpResponse, response);
        QFETCH(UploadOutcome, expected);
        LocalHttpServer server(kind == Server::Untrusted ? LocalHttpServer::Tls::Untrusted : LocalHttpServer::Tls::Trusted);
        server.setHandler([&](const HttpRequest &) { return kind == Server::Silent ? std::nullopt : std::optional(response); });
        QElapsedTimer clock;
        clock.start();
        UploadOutcome outcome = await(uploaderFor(server, kind == Server::Silent ? 300ms : 60s).upload(encodable ? makeImage(4, 4) : QImage()));
        if (kind == Server::Silent)
            QVERIFY(clock.elapsed() >= 250);
        if (auto *error = std::get_if<UploadError>(&outcome); error && error->kind() == UploadError::Kind::networkError) {
            QVERIFY(!error->detail().isEmpty());
            outcome = UploadError::networkError({});
        }
        QCOMPARE(outcome, expected);
        const bool sent = encodable && kind != Server::Untrusted;
        if (!sent)
            QTest::qWait(100);  // time for a request that should not come
        QCOMPARE(server.requests().size(), sent ? 1 : 0);
    }

    void clientIdIsTheUsersOwnElseTheBuilds()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"Tarnwick.conf"_s);
        Preferences preferences(file);
        const auto effective = [&] { return ImgurUploader::clientIdFor(preferences.stringValue(Preferences::imgurClientIdKey)); };
        QCOMPARE(effective(), ImgurUploader::builtInClientId());
        writeBytes(file, "[General]\nimgurClientID=\" 0a1b2c3d4e5f678 \"\n");
        QCOMPARE(effective(), u"0a1b2c3d4e5f678"_s);
        writeBytes(file, "[General]\nimgurClientID=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n");  // not text
        QCOMPARE(effective(), ImgurUploader::builtInClientId());
    }
};

QTEST_GUILESS_MAIN(UploadTest)
#include "test_upload.moc"
