#include "config/VersionComparison.h"

#include <algorithm>

namespace VersionComparison {

namespace {
// An optional sign followed by ASCII digits only; anything else, including
// surrounding spaces, is not a number here.
bool isPlainInteger(QStringView part)
{
    if (part.startsWith(u'+') || part.startsWith(u'-'))
        part = part.mid(1);
    return !part.isEmpty()
        && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
}  // namespace

QList<qint64> numericParts(QStringView version)
{
    QList<qint64> parts;
    for (QStringView part : version.split(u'.', Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 value = part.toLongLong(&ok, 10);  // ok is false on overflow
        if (ok && isPlainInteger(part))
            parts << value;
    }
    return parts;
}

bool isOutdated(QStringView current, QStringView target)
{
    const QList<qint64> c = numericParts(current);
    const QList<qint64> t = numericParts(target);
    const qsizetype length = std::max(c.size(), t.size());
    for (qsizetype i = 0; i < length; ++i) {
        const qint64 mine = c.value(i, 0);
        const qint64 theirs = t.value(i, 0);
        if (mine != theirs)
            return mine < theirs;
    }
    return false;
}

}  // namespace VersionComparison
