#include "common/Style.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QPalette>
#include <QPointer>
#include <QScrollBar>

#include <optional>

namespace Style {

namespace {

constexpr double primaryOpacity = 0.88;
constexpr double toneOpacities[] = {primaryOpacity, 0.55, 0.36, 0.22};

void styleSlimScrollBar(QAbstractScrollArea *area, const QColor &text)
{
    const QString sheet =
        QStringLiteral("QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 2px 2px 0; }"
                       "QScrollBar::handle:vertical { background: %1; border-radius: 4px; min-height: 24px; }"
                       "QScrollBar::handle:vertical:hover { background: %2; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                       "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(withAlpha(text, 0.22).name(QColor::HexArgb), withAlpha(text, 0.4).name(QColor::HexArgb));
    if (area->verticalScrollBar()->styleSheet() != sheet)
        area->verticalScrollBar()->setStyleSheet(sheet);
}

// The palette a widget would have without one of its own.
QPalette inheritedPalette(const QWidget *widget)
{
    return widget->parentWidget() ? widget->parentWidget()->palette() : QApplication::palette(widget);
}

QColor inheritedText(const QWidget *widget)
{
    return inheritedPalette(widget).color(QPalette::WindowText);
}

// The tone among primary to quaternary that color is of the text colour;
// none for any other colour, such as white on a tinted button.
std::optional<double> toneOf(const QColor &color, const QColor &text)
{
    if (color.rgb() != text.rgb())
        return std::nullopt;
    for (const double opacity : toneOpacities) {
        if (color.alpha() == withAlpha(color, opacity).alpha())
            return opacity;
    }
    return std::nullopt;
}

void setTextColour(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

// Runs a refresh whenever the palette of its widget or of the widget's
// parent changes. The parent's change comes first and reaches widgets with
// a style sheet too, which Qt leaves out when it hands a palette down.
class PaletteFollower : public QObject
{
public:
    PaletteFollower(QWidget *widget, const QString &what, std::function<void()> refresh)
        : QObject(widget)
        , m_widget(widget)
        , m_refresh(std::move(refresh))
    {
        setObjectName(nameFor(what));
        widget->installEventFilter(this);
        watchParent();
    }

    static QString nameFor(const QString &what) { return QStringLiteral("paletteFollower.") + what; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_widget && event->type() == QEvent::ParentChange)
            watchParent();
        if (event->type() == QEvent::PaletteChange && !m_refreshing) {
            m_refreshing = true;  // the refresh may set the widget's palette
            m_refresh();
            m_refreshing = false;
        }
        return false;
    }

private:
    void watchParent()
    {
        if (m_parent)
            m_parent->removeEventFilter(this);
        m_parent = m_widget->parentWidget();
        if (m_parent)
            m_parent->installEventFilter(this);
    }

    QWidget *m_widget;
    QPointer<QWidget> m_parent;
    std::function<void()> m_refresh;
    bool m_refreshing = false;
};

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

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
}

QPalette darkPalette(const QPalette &light)
{
    const QColor window(40, 40, 43);
    const QColor text(236, 236, 240);
    const QColor dimmed(128, 128, 134);
    QPalette dark(text, window, QColor(72, 72, 76), QColor(18, 18, 20), QColor(54, 54, 58), text,
                  QColor(255, 255, 255), QColor(30, 30, 32), window);
    dark.setColor(QPalette::Button, QColor(52, 52, 56));
    dark.setColor(QPalette::AlternateBase, QColor(46, 46, 50));
    dark.setColor(QPalette::ToolTipBase, QColor(56, 56, 60));
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 156));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::Link, QColor(90, 170, 255));
    dark.setColor(QPalette::LinkVisited, QColor(190, 140, 255));
    dark.setColor(QPalette::Highlight, light.color(QPalette::Highlight));
    dark.setColor(QPalette::HighlightedText, light.color(QPalette::HighlightedText));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, dimmed);
    dark.setColor(QPalette::Disabled, QPalette::Highlight, QColor(80, 80, 84));
    return dark;
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
    followTone(widget, QStringLiteral("textTone"), color,
               [widget](const QColor &shade) { setTextColour(widget, shade); });
}

void followTone(QWidget *widget, const QString &what, const QColor &color, std::function<void(const QColor &)> paint)
{
    const std::optional<double> tone = toneOf(color, inheritedText(widget));
    if (!tone) {
        followPalette(widget, what, nullptr);
        paint(color);
        return;
    }
    followPalette(widget, what, [widget, tone, paint = std::move(paint)] {
        paint(withAlpha(inheritedText(widget), *tone));
    });
}

void followPalette(QWidget *widget, const QString &what, std::function<void()> refresh)
{
    delete widget->findChild<QObject *>(PaletteFollower::nameFor(what), Qt::FindDirectChildrenOnly);
    if (!refresh)
        return;
    refresh();
    new PaletteFollower(widget, what, std::move(refresh));
}

void fill(QWidget *widget, std::function<QColor(const QPalette &inherited)> shade)
{
    widget->setAutoFillBackground(true);
    followPalette(widget, QStringLiteral("fill"), [widget, shade = std::move(shade)] {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, shade(inheritedPalette(widget)));
        widget->setPalette(palette);
    });
}

void styleSheet(QWidget *widget, std::function<QString()> sheet)
{
    followPalette(widget, QStringLiteral("styleSheet"), [widget, sheet = std::move(sheet)] {
        widget->setStyleSheet(sheet());  // set again even when unchanged: that takes the new palette
    });
}

void slimScrollBar(QAbstractScrollArea *area)
{
    followPalette(area, QStringLiteral("slimScrollBar"),
                  [area] { styleSlimScrollBar(area, area->palette().color(QPalette::WindowText)); });
}

}  // namespace Style
