#pragma once

#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

// A titled window kept in a single slot: showing it again brings the one
// window forward. Stands in for windows whose views are not built yet.
namespace PlaceholderWindow {
QWidget *show(QPointer<QWidget> &slot, const QString &title, QSize size);
}
