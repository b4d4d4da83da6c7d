// Bounded random mutations of valid documents and responses, fed to the
// configuration decoder, the upload-response reader and the installer's file
// name. Fixed seeds: every run sees the same inputs.

#include "upload/ImgurUploader.h"
#include "config/RemoteConfig.h"
#include "config/RemoteConfigManager.h"
#include "RemoteConfigSamples.h"

#include <QJsonArray>
#include <QStringDecoder>
#include <QTest>

#include <cmath>
#include <random>

using namespace TestSupport;

namespace {

constexpr int iterations = 4000;

class Mutator
{
public:
    explicit Mutator(quint32 seed)
        : m_random(seed)
    {
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    // One to four byte-level edits: flips, inserted tokens, deletions, cuts, repeats.
    QByteArray bytes(QByteArray data)
    {
        static const QList<QByteArray> tokens{"{", "}", "[", "]", ",", ":", "\"", "\\", "null", "true", "1e999",
                                              "-0", "3.5", "\"\\u0000\"", "\xc3", "\xff", "\"data\"", "\"link\""};
        for (int edits = 1 + below(4); edits > 0; --edits) {
            const int at = data.isEmpty() ? 0 : below(int(data.size()));
            switch (below(5)) {
            case 0:
                if (!data.isEmpty())
                    data[at] = char(data[at] ^ (1 << below(8)));
                break;
            case 1:
                data.insert(at, tokens[below(int(tokens.size()))]);
                break;
            case 2:
                data.remove(at, 1 + below(8));
                break;
            case 3:
                data.truncate(at);
                break;
            default:
                data.insert(at, data.mid(at, below(16)));
                break;
            }
        }
        return data;
    }

    QJsonValue anyValue()
    {
        switch (below(6)) {
        case 0: return QJsonValue();
        case 1: return below(2) == 0;
        case 2: return double(below(1000)) / double(1 + below(7));
        case 3: return QStringLiteral("x");
        case 4: return QJsonArray{1, QStringLiteral("a")};
        default: return QJsonObject{{QStringLiteral("k"), 1}};
        }
    }

private:
    std::mt19937 m_random;
};

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);  // decodes on conversion
    Q_UNUSED(text);
    return !utf8.hasError();
}

}  // namespace

class ConfigFuzzTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decoderSurvivesByteMutations()
    {
        Mutator mutate(0x7a31u);
        const QByteArray valid = sampleConfigBytes();
        int accepted = 0;
        for (int i = 0; i < iterations; ++i) {
            const QByteArray input = mutate.bytes(valid);
            const auto config = RemoteConfig::decode(input);
            if (!config)
                continue;
            ++accepted;
            // Whatever is accepted survives its own encoding unchanged.
            QCOMPARE(RemoteConfig::decode(QJsonDocument(config->toJson()).toJson()), config);
        }
        QVERIFY(accepted > 0 && accepted < iterations);  // the mutations reach both outcomes
    }

    void decoderFollowsTheKeyRules()
    {
        Mutator mutate(0x51u);
        const QStringList paths = requiredConfigKeyPaths();
        const QJsonObject sample = sampleConfigJson();
        for (int i = 0; i < iterations; ++i) {
            const QString path = paths[mutate.below(int(paths.size()))];
            const bool remove = mutate.below(4) == 0;
            const QJsonValue value = mutate.anyValue();
            QJsonValue old;
            QJsonObject edited = editedAt(sample, path, [&](QJsonObject &o, const QString &key) {
                old = o.value(key);
                if (remove)
                    o.remove(key);
                else
                    o.insert(key, value);
            });
            // Unknown keys are ignored wherever they appear.
            edited.insert(QStringLiteral("unknown_top"), mutate.anyValue());
            const QString section = paths[2 + mutate.below(3)];
            if (edited.value(section).isObject())
                edited = editedAt(edited, section + QStringLiteral("/unknown"),
                                  [&](QJsonObject &o, const QString &key) { o.insert(key, mutate.anyValue()); });
            const bool integral = value.toDouble() == std::trunc(value.toDouble());
            const bool expected = !remove && !old.isObject() && old.type() == value.type()
                && (path != QLatin1String("version") || integral);
            QVERIFY2(RemoteConfig::decode(QJsonDocument(edited).toJson()).has_value() == expected,
                     qPrintable(path + QLatin1Char(' ') + QString::fromUtf8(QJsonDocument(edited).toJson())));
        }
    }

    void uploadResponseReaderSurvivesMutations()
    {
        Mutator mutate(0x1a9u);
        const QByteArray valid = "{\"data\":{\"id\":\"a\",\"link\":\"https://i.example/a.png\",\"deletehash\":\"h\"},\"success\":true}";
        const int statuses[] = {200, 200, 200, 201, 400, 500};
        for (int i = 0; i < iterations; ++i) {
            const QByteArray body = mutate.bytes(valid);
            const int status = statuses[mutate.below(6)];
            const UploadOutcome outcome = ImgurUploader::readResponse(status, body);
            const QJsonDocument parsed = QJsonDocument::fromJson(body);
            if (status != 200) {
                const QString expected = isUtf8(body) ? QString::fromUtf8(body) : QStringLiteral("Status code: %1").arg(status);
                QVERIFY2(outcome == UploadOutcome(UploadError::serverError(expected)), body.toHex().constData());
            } else if (const auto *result = std::get_if<UploadResult>(&outcome)) {
                QCOMPARE(parsed.object().value(QStringLiteral("data")).toObject().value(QStringLiteral("link")).toString(),
                         result->link);
            } else {
                const auto kind = std::get<UploadError>(outcome).kind();
                QCOMPARE(kind, parsed.isNull() ? UploadError::Kind::networkError : UploadError::Kind::invalidResponse);
            }
        }
        QCOMPARE(ImgurUploader::readResponse(std::nullopt, valid), UploadOutcome(UploadError::invalidResponse()));
    }

    void installerNamesAreAlwaysPlain()
    {
        Mutator mutate(0xd1u);
        const QByteArray seed = "/downloads/..%2F%2e%2e%5C%252F.%00Tarnwick%20Setup.dmg";
        for (int i = 0; i < iterations; ++i) {
            const QUrl url(QStringLiteral("https://h") + QString::fromLatin1(mutate.bytes(seed)));
            const QString name = RemoteConfigManager::installerFileName(url);
            QVERIFY(!name.isEmpty());
            QVERIFY2(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
                         && !name.contains(QLatin1String("..")) && !name.startsWith(QLatin1Char('.'))
                         && !name.contains(QChar(0)) && name.toUtf8().size() <= 255,
                     qPrintable(name));
        }
    }
};

QTEST_GUILESS_MAIN(ConfigFuzzTest)
#include "test_config_fuzz.moc"
