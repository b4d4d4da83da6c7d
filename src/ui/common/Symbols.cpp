#include "common/Symbols.h"

#include "common/Style.h"

#include <QFile>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library register only when asked to; once is enough.
static void initSymbolResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Symbols {

namespace {

// The one table from the symbol names used in the code to the icon files.
const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> files{
        {QStringLiteral("arrow.down.circle.fill"), QStringLiteral("circle-arrow-down.svg")},
        {QStringLiteral("arrow.triangle.2.circlepath"), QStringLiteral("refresh-cw.svg")},
        {QStringLiteral("arrow.up.right"), QStringLiteral("arrow-up-right.svg")},
        {QStringLiteral("arrow.up.right.square"), QStringLiteral("square-arrow-out-up-right.svg")},
        {QStringLiteral("calendar"), QStringLiteral("calendar.svg")},
        {QStringLiteral("camera.on.rectangle"), QStringLiteral("camera.svg")},
        {QStringLiteral("camera.on.rectangle.fill"), QStringLiteral("camera.svg")},
        {QStringLiteral("checkmark"), QStringLiteral("check.svg")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("circle-check.svg")},
        {QStringLiteral("chevron.left"), QStringLiteral("chevron-left.svg")},
        {QStringLiteral("chevron.right"), QStringLiteral("chevron-right.svg")},
        {QStringLiteral("desktopcomputer"), QStringLiteral("monitor.svg")},
        {QStringLiteral("doc.on.clipboard"), QStringLiteral("clipboard.svg")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("triangle-alert.svg")},
        {QStringLiteral("externaldrive.badge.checkmark"), QStringLiteral("hard-drive.svg")},
        {QStringLiteral("eyedropper.halffull"), QStringLiteral("pipette.svg")},
        {QStringLiteral("folder"), QStringLiteral("folder.svg")},
        {QStringLiteral("ipad"), QStringLiteral("tablet.svg")},
        {QStringLiteral("iphone"), QStringLiteral("smartphone.svg")},
        {QStringLiteral("keyboard"), QStringLiteral("keyboard.svg")},
        {QStringLiteral("macbook"), QStringLiteral("laptop.svg")},
        {QStringLiteral("pencil.and.outline"), QStringLiteral("pencil-line.svg")},
        {QStringLiteral("photo"), QStringLiteral("image.svg")},
        {QStringLiteral("photo.on.rectangle"), QStringLiteral("images.svg")},
        {QStringLiteral("photo.on.rectangle.angled"), QStringLiteral("images.svg")},
        {QStringLiteral("photo.stack"), QStringLiteral("images.svg")},
        {QStringLiteral("power"), QStringLiteral("power.svg")},
        {QStringLiteral("qrcode"), QStringLiteral("qr-code.svg")},
        {QStringLiteral("rectangle.on.rectangle"), QStringLiteral("square-dashed.svg")},
        {QStringLiteral("safari"), QStringLiteral("compass.svg")},
        {QStringLiteral("square.and.arrow.up"), QStringLiteral("share.svg")},
        {QStringLiteral("text.viewfinder"), QStringLiteral("scan-text.svg")},
        {QStringLiteral("trash"), QStringLiteral("trash.svg")},
        {QStringLiteral("xmark"), QStringLiteral("x.svg")},
        {QStringLiteral("rectangle"), QStringLiteral("square.svg")},
        {QStringLiteral("circle"), QStringLiteral("circle.svg")},
        {QStringLiteral("rectangle.fill"), QStringLiteral("highlighter.svg")},
        {QStringLiteral("character.textbox"), QStringLiteral("type.svg")},
        {QStringLiteral("arrow.uturn.backward"), QStringLiteral("undo-2.svg")},
    };
    return files;
}

QByteArray tintedSvg(const QString &path, const QColor &color)
{
    initSymbolResources();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray svg = file.readAll();
    svg.replace("currentColor", color.name(QColor::HexRgb).toLatin1());
    return svg;
}

}  // namespace

QString resourcePath(const QString &name)
{
    const QString file = table().value(name);
    return file.isEmpty() ? QString() : QStringLiteral(":/symbols/") + file;
}

QImage image(const QString &name, const QColor &color, const QSizeF &size, qreal devicePixelRatio)
{
    QImage canvas((size * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    canvas.setDevicePixelRatio(devicePixelRatio);
    const QString path = resourcePath(name);
    if (path.isEmpty())
        return canvas;
    QSvgRenderer renderer(tintedSvg(path, color));
    if (!renderer.isValid())
        return canvas;
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(color.alphaF());
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return canvas;
}

QPixmap pixmap(const QString &name, const QColor &color, const QSizeF &size, qreal devicePixelRatio)
{
    return QPixmap::fromImage(image(name, color, size, devicePixelRatio));
}

void show(QLabel *label, const QString &name, const QColor &color, const QSizeF &size)
{
    Style::followTone(label, QStringLiteral("symbolTone"), color, [label, name, size](const QColor &shade) {
        label->setPixmap(pixmap(name, shade, size, label->devicePixelRatioF()));
    });
}

}  // namespace Symbols

QIcon Symbols::appIcon()
{
    initSymbolResources();
    return QIcon::fromTheme(QStringLiteral("com.tarnwick.Tarnwick"),
                            QIcon(QStringLiteral(":/app/com.tarnwick.Tarnwick.svg")));
}
