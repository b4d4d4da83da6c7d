#pragma once

#include <QColor>
#include <QList>
#include <QPainterPath>
#include <QSizeF>
#include <QString>

// The device outlines the viewer can draw around a screenshot.
enum class DeviceFrameType { none, iPhone, iPad, mac };

namespace DeviceFrame {

QList<DeviceFrameType> allTypes();
QString label(DeviceFrameType type);
QString symbol(DeviceFrameType type);

// One filled shape of a frame drawing.
struct Shape {
    QPainterPath path;
    QColor color;
};

// The bezel ring (even-odd), the top feature and, for phones and tablets, the
// home indicator, in drawing order, for a frame of frameSize laid over an
// image of imageSize fitted into it. Empty for none.
QList<Shape> shapes(DeviceFrameType type, const QSizeF &frameSize, const QSizeF &imageSize);

}  // namespace DeviceFrame
