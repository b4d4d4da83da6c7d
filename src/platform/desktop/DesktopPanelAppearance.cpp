#include "desktop/DesktopPanelAppearance.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

DesktopPanelAppearance::DesktopPanelAppearance(QObject *parent)
    : PanelAppearance(parent)
{
    watchColourScheme();
    // Colour-scheme tools replace the file rather than edit it: watch it afresh each time.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        watchColourScheme();
        Q_EMIT changed();
    });
}

QString DesktopPanelAppearance::kdeglobalsPath() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kdeglobals");
}

void DesktopPanelAppearance::watchColourScheme()
{
    if (QFileInfo::exists(kdeglobalsPath()) && !m_watcher.files().contains(kdeglobalsPath()))
        m_watcher.addPath(kdeglobalsPath());
}

PanelShade::Clues DesktopPanelAppearance::clues(const QRect &iconGeometry) const
{
    PanelShade::Clues clues;
    clues.desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    clues.appWindow = QGuiApplication::palette().color(QPalette::Window);
    if (iconGeometry.isValid())
        clues.panelBackground = frameColorAround(iconGeometry);
    if (!clues.panelBackground && clues.desktop.contains(QLatin1String("KDE"), Qt::CaseInsensitive))
        clues.panelBackground = kdePanelColor(kdeglobalsPath());
    return clues;
}

std::optional<QColor> DesktopPanelAppearance::kdePanelColor(const QString &kdeglobals)
{
    const QSettings settings(kdeglobals, QSettings::IniFormat);
    const QStringList rgb = settings.value(QStringLiteral("Colors:Window/BackgroundNormal")).toStringList();
    if (rgb.size() < 3)
        return std::nullopt;
    const QColor color(rgb.at(0).toInt(), rgb.at(1).toInt(), rgb.at(2).toInt());
    return color.isValid() ? std::optional(color) : std::nullopt;
}

std::optional<QColor> DesktopPanelAppearance::frameColorAround(const QRect &rect)
{
    constexpr int frame = 2;
    QScreen *screen = QGuiApplication::screenAt(rect.center());
    if (!screen || QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    const QRect area = rect.adjusted(-frame, -frame, frame, frame).translated(-screen->geometry().topLeft());
    const QImage image = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    qint64 sum[3] = {0, 0, 0};
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inFrame = x < frame || y < frame || x >= image.width() - frame || y >= image.height() - frame;
            if (!inFrame)
                continue;
            const QRgb pixel = image.pixel(x, y);
            sum[0] += qRed(pixel);
            sum[1] += qGreen(pixel);
            sum[2] += qBlue(pixel);
            ++count;
        }
    }
    if (count == 0)
        return std::nullopt;
    return QColor(int(sum[0] / count), int(sum[1] / count), int(sum[2] / count));
}
