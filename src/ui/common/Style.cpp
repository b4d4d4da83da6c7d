#include "common/Style.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QScrollBar>

namespace Style {

namespace {

constexpr double primaryOpacity = 0.88;

}  // namespace

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

QColor primary(const QPalette &palette)
{
    return withAlpha(palette.color(QPalette::WindowText), primaryOpacity);
}

QColor secondary(const QPalette &palette)
{
    return withAlpha(palette.color(QPalette::WindowText), 0.55);
}

QColor tertiary(const QPalette &palette)
{
    return withAlpha(palette.color(QPalette::WindowText), 0.36);
}

QColor quaternary(const QPalette &palette)
{
    return withAlpha(palette.color(QPalette::WindowText), 0.22);
}

QColor systemRed()
{
    return QColor(255, 59, 48);
}

QColor systemGreen()
{
    return QColor(52, 199, 89);
}

QColor systemBlue()
{
    return QColor(0, 122, 255);
}

QColor systemTeal()
{
    return QColor(48, 176, 199);
}

QColor systemOrange()
{
    return QColor(255, 149, 0);
}

QColor accent(const QPalette &palette)
{
    return palette.color(QPalette::Highlight);
}

ActionLook viewerAction()
{
    return {.fontSize = 11, .height = 26, .radius = 6, .foregroundOpacity = 0.7,
            .hoverForegroundOpacity = primaryOpacity, .fillOpacity = 0.04, .hoverFillOpacity = 0.1, .tintFillOpacity = 0.12};
}

ActionLook libraryTile()
{
    // The library's tiles stay as they are under the pointer.
    return {.fontSize = 11.5, .height = 32, .radius = 8, .foregroundOpacity = 0.8, .hoverForegroundOpacity = 0.8,
            .fillOpacity = 0.07, .hoverFillOpacity = 0.07, .tintFillOpacity = 0.12};
}

UploadLook viewerUpload()
{
    return {.height = 28, .radius = 6, .spacing = 6, .fontSize = 11, .weight = QFont::Medium, .iconSize = 12,
            .spinnerDiameter = 9, .uploadedFillOpacity = 0.15, .accentFill = false,
            .uploadingText = QCoreApplication::translate("UploadButton", "Uploading...")};
}

UploadLook libraryUpload()
{
    return {.height = 32, .radius = 9, .spacing = 7, .fontSize = 12, .weight = QFont::DemiBold, .iconSize = 12,
            .spinnerDiameter = 12, .uploadedFillOpacity = 0.18, .accentFill = true,
            .uploadingText = QCoreApplication::translate("UploadButton", "Uploading…")};
}

QFont font(double pixelSize, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight);
    return font;
}

QFont monospacedDigitsFont(double pixelSize, QFont::Weight weight)
{
    // The system fonts here draw digits at one width already; the family only
    // needs a fallback that does the same.
    QFont font = Style::font(pixelSize, weight);
    font.setStyleHint(QFont::SansSerif, QFont::PreferMatch);
    return font;
}

QString dotSeparated(const QStringList &parts, const QColor &dotColor)
{
    QStringList escaped;
    for (const QString &part : parts)
        escaped << part.toHtmlEscaped();
    return escaped.join(QStringLiteral(" <span style=\"color:%1\">·</span> ").arg(dotColor.name(QColor::HexArgb)));
}

void apply(QWidget *widget, const QFont &font, const QColor &color)
{
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void slimScrollBar(QAbstractScrollArea *area)
{
    const QColor text = area->palette().color(QPalette::WindowText);
    area->verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 2px 2px 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 4px; min-height: 24px; }"
                       "QScrollBar::handle:vertical:hover { background: %2; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                       "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(withAlpha(text, 0.22).name(QColor::HexArgb), withAlpha(text, 0.4).name(QColor::HexArgb)));
}

}  // namespace Style
