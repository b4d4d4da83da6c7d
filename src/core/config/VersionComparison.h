#pragma once

#include <QList>
#include <QStringView>

// Dotted version numbers such as "2.4.1".
namespace VersionComparison {

// The numeric parts in order. Empty parts and parts that are not a plain
// signed decimal integer ("3-beta", "rc1", " 2") are dropped, not read as 0.
QList<qint64> numericParts(QStringView version);

// True when current is older than target, comparing part by part with
// missing parts taken as 0: "1.2" equals "1.2.0", "1.10" is newer than "1.9",
// and an empty or non-numeric target never makes current outdated.
bool isOutdated(QStringView current, QStringView target);

}  // namespace VersionComparison
