#include "common/Diagnostics.h"

#include <QMutex>

#include <cstdio>

namespace {
QMutex &mutex()
{
    static QMutex m;
    return m;
}
Diagnostics::Observer &observer()
{
    static Diagnostics::Observer o;
    return o;
}
}  // namespace

void Diagnostics::line(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    QMutexLocker lock(&mutex());
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (observer())
        observer()(text);
}

void Diagnostics::setObserver(Observer o)
{
    QMutexLocker lock(&mutex());
    observer() = std::move(o);
}
