#include "search/SearchHighlight.h"

#include <algorithm>

namespace SearchHighlight {

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c.category() == QChar::Other_PrivateUse;
}

namespace {

// Lower case without accents: "Été" and "ete" compare equal.
QString folded(const QString &word)
{
    QString plain;
    for (const QChar c : word.normalized(QString::NormalizationForm_D)) {
        if (!c.isMark())
            plain.append(c);
    }
    return plain.toCaseFolded();
}

// The runs of letters and digits in text, as the index's tokenizer splits it.
QList<Span> wordsIn(const QString &text)
{
    QList<Span> spans;
    for (qsizetype i = 0; i < text.size();) {
        if (!isWordCharacter(text.at(i))) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && isWordCharacter(text.at(i)))
            ++i;
        spans.append({start, i - start});
    }
    return spans;
}

}  // namespace

QList<Span> matchedWords(const QString &text, const QString &words)
{
    QStringList prefixes;
    for (const Span &word : wordsIn(words))
        prefixes.append(folded(words.mid(word.start, word.length)));
    QList<Span> matched;
    for (const Span &word : wordsIn(text)) {
        const QString candidate = folded(text.mid(word.start, word.length));
        if (std::any_of(prefixes.cbegin(), prefixes.cend(),
                        [&](const QString &prefix) { return candidate.startsWith(prefix); }))
            matched.append(word);
    }
    return matched;
}

}  // namespace SearchHighlight
