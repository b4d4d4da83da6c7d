#include "AnalysisScreens.h"

#include <QFontMetrics>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace AnalysisScreens {

namespace {

const QStringList &paragraphs()
{
    static const QStringList text{
        QStringLiteral("The morning train left the station a few minutes late, and most of the passengers "
                       "spent the first part of the journey looking out at the fields. A light rain had fallen "
                       "during the night, so the grass was bright and the roads were still wet."),
        QStringLiteral("Our team meets every Tuesday to review the work of the previous week. Please bring "
                       "your notes, a short list of open questions, and any ideas you would like to share "
                       "with the others before the end of the month."),
        QStringLiteral("When you save a document for the first time, choose a folder that you can find again "
                       "easily. You can change the name later, but moving files between folders often makes "
                       "them harder to locate when you need them."),
        QStringLiteral("The garden behind the old house was full of apple trees, and every autumn the children "
                       "helped their grandmother collect the fruit. She kept the best apples in a cool room and "
                       "gave the rest to the neighbours."),
        QStringLiteral("Thank you for your order. Your package will be sent within two working days, and you "
                       "will receive an email with the tracking number as soon as it leaves our warehouse."),
        QStringLiteral("Reading a good book in the evening is one of the simplest ways to relax after a long "
                       "day. Many people find that a quiet hour without screens helps them sleep better and "
                       "wake up with more energy."),
        QStringLiteral("The museum will be closed on Monday for maintenance. Visitors who have already bought "
                       "tickets for that day may use them on any other date before the end of the year."),
        QStringLiteral("Before you start the new project, make sure that everyone understands the goals and "
                       "the schedule. A clear plan at the beginning saves a great deal of time and trouble "
                       "later on."),
    };
    return text;
}

const QStringList &headings()
{
    static const QStringList text{QStringLiteral("Travel notes"), QStringLiteral("Weekly meeting"),
                                  QStringLiteral("Saving your work"), QStringLiteral("Family stories"),
                                  QStringLiteral("Order confirmation"), QStringLiteral("Evening habits"),
                                  QStringLiteral("Museum notice"), QStringLiteral("Project planning")};
    return text;
}

QStringList wrapped(const QString &paragraph, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QString &word : paragraph.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

QStringList wordsOf(const QString &text)
{
    QString cleaned = text;
    cleaned.remove(QRegularExpression(QStringLiteral("[^\\w\\s]")));
    return cleaned.toLower().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

}  // namespace

QImage window(QSize size, bool dark)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), dark ? QColor(30, 30, 32) : QColor(246, 246, 248));
    painter.fillRect(QRect(0, 0, size.width(), 52), dark ? QColor(44, 44, 48) : QColor(226, 226, 230));
    painter.fillRect(QRect(0, 52, size.width() / 6, size.height()), dark ? QColor(38, 38, 42) : QColor(236, 236, 240));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const QRgb lights[] = {0xff5f57, 0xfebc2e, 0x28c840};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(QColor(lights[i]));
        painter.drawEllipse(QPoint(26 + i * 24, 26), 7, 7);
    }
    return image;
}

QImage encoded(const QString &program, QStringList arguments, const QString &outputPath)
{
    arguments << QStringLiteral("-o") << outputPath;
    if (QProcess::execute(program, arguments) != 0)
        return {};
    return QImage(outputPath).convertToFormat(QImage::Format_RGB32);
}

QRect paste(QImage &screen, const QImage &code, QPoint at, int scale)
{
    const QRect target(at, code.size() * scale);
    QPainter painter(&screen);
    const int quiet = 16 * scale;
    painter.fillRect(target.adjusted(-quiet, -quiet, quiet, quiet), Qt::white);
    painter.drawImage(target, code);
    return target;
}

TextScreen text(QSize size, bool dark, int pixelSize, int words)
{
    TextScreen screen{window(size, dark), {}};
    QPainter painter(&screen.image);
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPixelSize(pixelSize);
    QFont heading = body;
    heading.setBold(true);
    heading.setPixelSize(pixelSize + 3);
    const QFontMetrics metrics(body);
    const int sidebar = size.width() / 6;
    const int width = pixelSize * 48;
    const int lineHeight = metrics.height() + pixelSize / 3;
    int column = 0;
    int y = 90;
    int written = 0;
    for (qsizetype i = 0; written < words; ++i) {
        const QString paragraph = paragraphs().at(i % paragraphs().size());
        const QStringList lines = wrapped(paragraph, metrics, width - 40);
        QRect card(sidebar + 40 + column * (width + 60), y, width, lineHeight * int(lines.size() + 1) + 40);
        if (card.bottom() > size.height() - 20) {  // next column
            ++column;
            y = 90;
            card.moveTo(sidebar + 40 + column * (width + 60), y);
        }
        if (card.right() > size.width() - 20)
            break;
        painter.fillRect(card, dark ? QColor(48, 48, 52) : Qt::white);
        painter.setPen(dark ? QColor(235, 235, 240) : QColor(28, 28, 30));
        painter.setFont(heading);
        const QString title = headings().at(i % headings().size());
        painter.drawText(card.left() + 20, card.top() + 20 + metrics.ascent(), title);
        screen.lines.append(title);
        painter.setFont(body);
        painter.setPen(dark ? QColor(210, 210, 215) : QColor(60, 60, 67));
        for (int l = 0; l < lines.size(); ++l)
            painter.drawText(card.left() + 20, card.top() + 20 + (l + 1) * lineHeight + metrics.ascent(), lines[l]);
        screen.lines.append(lines);
        written += int(wordsOf(paragraph).size() + wordsOf(title).size());
        y = card.bottom() + 24;
    }
    return screen;
}

double wordAccuracy(const QString &expected, const QString &recognised)
{
    const QStringList want = wordsOf(expected);
    const QStringList got = wordsOf(recognised);
    if (want.isEmpty())
        return got.isEmpty() ? 1.0 : 0.0;
    // Longest common subsequence of the two word lists.
    std::vector<int> previous(size_t(got.size()) + 1, 0), current(previous.size(), 0);
    for (const QString &word : want) {
        for (qsizetype j = 0; j < got.size(); ++j)
            current[size_t(j) + 1] = word == got[j] ? previous[size_t(j)] + 1
                                                    : std::max(previous[size_t(j) + 1], current[size_t(j)]);
        std::swap(previous, current);
    }
    return double(previous.back()) / double(want.size());
}

}  // namespace AnalysisScreens
