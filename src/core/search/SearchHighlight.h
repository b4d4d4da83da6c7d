#pragma once

#include <QList>
#include <QString>

// The words of a search hit's snippet to show in bold: those that start with
// a word searched for, in any case and with accents ignored, as the index
// matches them.
namespace SearchHighlight {

struct Span {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Span &, const Span &) = default;
};

// Letters, digits, combining marks and private-use characters make words;
// everything else separates them, as the index's tokenizer splits text.
bool isWordCharacter(QChar c);

QList<Span> matchedWords(const QString &text, const QString &words);

}  // namespace SearchHighlight
