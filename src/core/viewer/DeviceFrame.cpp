#include "viewer/DeviceFrame.h"

#include "viewer/ImageFit.h"

#include <QCoreApplication>

#include <algorithm>

namespace DeviceFrame {

namespace {

struct Bezel {
    double outerRadius;
    double side;
    double topBottom;
    double innerRadius;
};

Bezel bezelFor(DeviceFrameType type, const QRectF &s)
{
    const double shorter = std::min(s.width(), s.height());
    switch (type) {
    case DeviceFrameType::iPhone: {
        const double R = 0.1 * shorter;
        return {R, 0.05 * s.width(), 0.055 * s.height(), std::max(R - 3, 2.0)};
    }
    case DeviceFrameType::iPad: {
        const double R = 0.07 * shorter;
        const double bx = 0.038 * s.width();
        return {R, bx, bx, std::max(R - 2, 2.0)};
    }
    case DeviceFrameType::mac: {
        const double bx = std::max(0.02 * s.width(), 3.0);
        return {5, bx, bx, 3};
    }
    case DeviceFrameType::none:
        break;
    }
    return {};
}

QColor grey(double white, double alpha = 1.0)
{
    return QColor::fromRgbF(float(white), float(white), float(white), float(alpha));
}

QPainterPath roundedRect(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath ellipse(const QRectF &bounds)
{
    QPainterPath path;
    path.addEllipse(bounds);
    return path;
}

Shape ring(DeviceFrameType type, const QRectF &s, const Bezel &b)
{
    QPainterPath path = roundedRect(s, b.outerRadius);
    path.addRoundedRect(s.adjusted(b.side, b.topBottom, -b.side, -b.topBottom), b.innerRadius, b.innerRadius);
    path.setFillRule(Qt::OddEvenFill);
    switch (type) {
    case DeviceFrameType::iPhone:
        return {path, grey(0, 0.88)};
    case DeviceFrameType::iPad:
        return {path, grey(0.1, 0.88)};
    default:
        return {path, grey(0.12, 0.85)};
    }
}

Shape topFeature(DeviceFrameType type, const QRectF &s, const Bezel &b)
{
    const double midX = s.center().x();
    if (type == DeviceFrameType::iPhone) {
        const double w = 0.22 * s.width();
        const double h = 0.7 * b.topBottom;
        return {roundedRect(QRectF(midX - w / 2, s.top() + 0.22 * b.topBottom, w, h), h / 2), grey(0)};
    }
    if (type == DeviceFrameType::iPad) {
        const double c = 0.38 * b.side;
        return {ellipse(QRectF(midX - c, s.top() + c, 2 * c, 2 * c)), grey(0.35)};
    }
    const double c = 0.42 * b.side;
    return {ellipse(QRectF(midX - c, s.top() + 0.3 * b.side, 2 * c, 2 * c)), grey(0.45)};
}

Shape homeIndicator(DeviceFrameType type, const QRectF &s, const Bezel &b)
{
    const bool phone = type == DeviceFrameType::iPhone;
    const double w = (phone ? 0.28 : 0.2) * s.width();
    const QRectF bar(s.center().x() - w / 2, s.bottom() - 0.62 * b.topBottom, w, 2.5);
    return {roundedRect(bar, 1.25), grey(1, phone ? 0.5 : 0.4)};
}

}  // namespace

QList<DeviceFrameType> allTypes()
{
    return {DeviceFrameType::none, DeviceFrameType::iPhone, DeviceFrameType::iPad, DeviceFrameType::mac};
}

QString label(DeviceFrameType type)
{
    switch (type) {
    case DeviceFrameType::none:
        return QCoreApplication::translate("DeviceFrame", "None");
    case DeviceFrameType::iPhone:
        return QCoreApplication::translate("DeviceFrame", "iPhone");
    case DeviceFrameType::iPad:
        return QCoreApplication::translate("DeviceFrame", "iPad");
    case DeviceFrameType::mac:
        return QCoreApplication::translate("DeviceFrame", "Mac");
    }
    return {};
}

QString symbol(DeviceFrameType type)
{
    switch (type) {
    case DeviceFrameType::none:
        return QStringLiteral("rectangle.on.rectangle");
    case DeviceFrameType::iPhone:
        return QStringLiteral("iphone");
    case DeviceFrameType::iPad:
        return QStringLiteral("ipad");
    case DeviceFrameType::mac:
        return QStringLiteral("macbook");
    }
    return {};
}

QList<Shape> shapes(DeviceFrameType type, const QSizeF &frameSize, const QSizeF &imageSize)
{
    if (type == DeviceFrameType::none)
        return {};
    const QRectF s = ImageFit::fittedRect(frameSize, imageSize);
    const Bezel b = bezelFor(type, s);
    QList<Shape> result{ring(type, s, b), topFeature(type, s, b)};
    if (type != DeviceFrameType::mac)
        result.append(homeIndicator(type, s, b));
    return result;
}

}  // namespace DeviceFrame
