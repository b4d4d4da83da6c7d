#include "viewer/QRResultsMenu.h"

#include "common/Style.h"
#include "common/Symbols.h"
#include "viewer/CodeScan.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

int &sharedCloseDelay()
{
    static int ms = 1500;
    return ms;
}

constexpr int maxTextWidth = 240;
constexpr int maxLines = 3;
constexpr int maxScrollHeight = 320;

// The lines text wraps into at width, breaking inside long words (links have no spaces).
QStringList wrappedLines(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(maxTextWidth);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// At most three lines: cut at the end, or for links in the middle so that
// both the host and the last path part stay readable.
QString fittedText(QString text, const QFont &font, bool middle)
{
    text.replace(u'\n', u' ');
    QStringList lines = wrappedLines(text, font);
    if (lines.size() <= maxLines)
        return lines.join(u'\n');
    if (!middle) {
        const QString rest = lines.mid(maxLines - 1).join(u' ');
        lines = lines.mid(0, maxLines - 1);
        lines << QFontMetrics(font).elidedText(rest, Qt::ElideRight, maxTextWidth);
        return lines.join(u'\n');
    }
    qsizetype low = 0;
    qsizetype high = text.size();
    QString best = QStringLiteral("…");
    while (low <= high) {
        const qsizetype keep = (low + high) / 2;
        const QString candidate = text.left((keep + 1) / 2) + u'…' + text.right(keep / 2);
        const QStringList candidateLines = wrappedLines(candidate, font);
        if (candidateLines.size() <= maxLines) {
            best = candidateLines.join(u'\n');
            low = keep + 1;
        } else {
            high = keep - 1;
        }
    }
    return best;
}

void styleButton(QPushButton *button, const QString &symbol, const QColor &fill, const QColor &text)
{
    button->setIcon(Symbols::pixmap(symbol, text, QSizeF(11, 11), button->devicePixelRatioF()));
    button->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: %2; border: none; border-radius: 5px;"
                                         " padding: 3px 8px; }")
                              .arg(fill.name(QColor::HexArgb), text.name(QColor::HexArgb)));
}

QPushButton *makeButton(const QString &title, const QString &symbol, const QColor &fill, const QColor &text)
{
    auto *button = new QPushButton(title);
    button->setFont(Style::font(11));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::TabFocus);
    button->setIconSize(QSize(11, 11));
    styleButton(button, symbol, fill, text);
    return button;
}

}  // namespace

void QRResultsMenu::setCloseDelay(int ms)
{
    sharedCloseDelay() = ms;
}

QRResultsMenu::QRResultsMenu(const QStringList &payloads, QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_closeDelayMs(sharedCloseDelay())
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *rows = new QWidget;
    auto *rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 4, 0, 4);
    rowsLayout->setSpacing(0);
    for (int i = 0; i < payloads.size(); ++i) {
        if (i > 0) {
            auto *divider = new QFrame;
            divider->setFrameShape(QFrame::HLine);
            divider->setFixedHeight(1);
            divider->setStyleSheet(QStringLiteral("background: %1; border: none;")
                                       .arg(Style::withAlpha(palette().color(QPalette::WindowText), 0.12)
                                                .name(QColor::HexArgb)));
            auto *wrap = new QHBoxLayout;
            wrap->setContentsMargins(8, 0, 8, 0);
            wrap->addWidget(divider);
            rowsLayout->addLayout(wrap);
        }
        rowsLayout->addWidget(buildRow(payloads.at(i)));
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    if (payloads.size() > 2) {
        auto *scroll = new QScrollArea;
        scroll->setWidget(rows);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Style::slimScrollBar(scroll);
        rows->adjustSize();
        scroll->setFixedHeight(std::min(rows->sizeHint().height(), maxScrollHeight));
        scroll->setMinimumWidth(rows->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
        layout->addWidget(scroll);
    } else {
        layout->addWidget(rows);
    }
    adjustSize();
}

QWidget *QRResultsMenu::buildRow(const QString &payload)
{
    const bool link = CodeScan::isWebLink(payload);
    auto *row = new QWidget;
    auto *column = new QVBoxLayout(row);
    column->setContentsMargins(12, 10, 12, 10);
    column->setSpacing(6);

    auto *text = new QLabel;
    text->setTextFormat(Qt::PlainText);
    Style::apply(text, Style::font(11), Style::primary(palette()));
    text->setText(fittedText(payload, text->font(), link));
    text->setMaximumWidth(maxTextWidth);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(text);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    QPushButton *copy =
        makeButton(tr("Copy"), QStringLiteral("doc.on.clipboard"), Style::accent(palette()), Qt::white);
    connect(copy, &QPushButton::clicked, this, [this, copy, payload] {
        Q_EMIT copyRequested(payload);
        markCopied(copy);
    });
    buttons->addWidget(copy);
    if (link) {
        QPushButton *open = makeButton(tr("Open Link"), QStringLiteral("safari"),
                                       Style::withAlpha(palette().color(QPalette::WindowText), 0.08),
                                       Style::primary(palette()));
        connect(open, &QPushButton::clicked, this, [this, payload] {
            Q_EMIT openLinkRequested(QUrl(payload.trimmed()));
            close();
        });
        buttons->addWidget(open);
    }
    buttons->addStretch();
    column->addLayout(buttons);
    return row;
}

void QRResultsMenu::markCopied(QPushButton *button)
{
    button->setText(tr("Copied!"));
    styleButton(button, QStringLiteral("checkmark"), Style::systemGreen(), Qt::white);
    QTimer::singleShot(m_closeDelayMs, this, &QWidget::close);
}

void QRResultsMenu::popup(const QWidget *anchor)
{
    const QRect a(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QRect geometry(QPoint(a.center().x() - width() / 2, a.bottom() + 4), size());
    if (const QScreen *screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        geometry.moveLeft(std::clamp(geometry.left(), area.left(), std::max(area.left(), area.right() - width())));
        if (geometry.bottom() > area.bottom())
            geometry.moveBottom(a.top() - 4);
    }
    m_anchor = anchor;
    move(geometry.topLeft());
    show();
}

void QRResultsMenu::mousePressEvent(QMouseEvent *event)
{
    // A press on the anchor only closes the menu; replayed, it would open it again.
    const bool onAnchor = m_anchor && !rect().contains(event->position().toPoint())
                          && QRect(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size())
                                 .contains(event->globalPosition().toPoint());
    setAttribute(Qt::WA_NoMouseReplay, onAnchor);
    QWidget::mousePressEvent(event);
}

void QRResultsMenu::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setPen(Style::withAlpha(palette().color(QPalette::WindowText), 0.15));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
