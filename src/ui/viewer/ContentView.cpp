#include "viewer/ContentView.h"

#include "capture/ScreenshotMonitor.h"
#include "common/Spinner.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "config/RemoteConfigManager.h"
#include "shell/SwipeInput.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel *symbolLabel(const QString &name, const QColor &color, double size, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(Symbols::pixmap(name, color, QSizeF(size, size), parent->devicePixelRatioF()));
    label->setFixedSize(qCeil(size), qCeil(size));
    return label;
}

QLabel *textLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent,
                  const QString &objectName)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    Style::apply(label, font, color);
    return label;
}

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Style::withAlpha(Style::quaternary(parent->palette()), 0.5));
    line->setPalette(palette);
    return line;
}

}  // namespace

ContentView::ContentView(ScreenshotMonitor *monitor, QWidget *parent)
    : QWidget(parent)
    , m_monitor(monitor)
    , m_swipe(new SwipeInput(this))
{
    setObjectName(QStringLiteral("contentView"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());
    layout->addWidget(divider(this));
    m_body = new QStackedWidget(this);
    m_emptyState = buildEmptyState();
    m_carousel = buildCarousel();
    m_body->addWidget(m_emptyState);
    m_body->addWidget(m_carousel);
    layout->addWidget(m_body, 1);
    layout->addWidget(buildFooter());

    // Swiping left moves to the older item, right to the newer one.
    connect(m_swipe, &SwipeInput::swipedLeft, this, &ContentView::showNext);
    connect(m_swipe, &SwipeInput::swipedRight, this, &ContentView::showPrevious);
    connect(monitor, &ScreenshotMonitor::screenshotsChanged, this, &ContentView::onScreenshotsChanged);
    connect(monitor, &ScreenshotMonitor::isPendingChanged, this, &ContentView::refreshHeader);
    m_lastCount = monitor->screenshots().size();
    refresh();
}

QWidget *ContentView::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(14, 14, 14, 12);
    row->setSpacing(6);
    const QColor primary = Style::primary(palette());
    row->addWidget(symbolLabel(QStringLiteral("camera.on.rectangle.fill"), primary, 15, header));
    row->addWidget(textLabel(QStringLiteral("Tarnwick"), Style::font(13, QFont::DemiBold), primary, header,
                             QStringLiteral("header.title")));
    row->addStretch(1);

    m_capturing = new QWidget(header);
    auto *capturing = new QHBoxLayout(m_capturing);
    capturing->setContentsMargins(0, 0, 0, 0);
    capturing->setSpacing(5);
    m_spinner = new Spinner(12, m_capturing);
    capturing->addWidget(m_spinner);
    capturing->addWidget(textLabel(QStringLiteral("Capturing..."), Style::font(11), Style::secondary(palette()),
                                   m_capturing, QStringLiteral("header.capturing")));
    row->addWidget(m_capturing);

    m_counterRow = new QWidget(header);
    auto *counter = new QHBoxLayout(m_counterRow);
    counter->setContentsMargins(0, 0, 0, 0);
    counter->setSpacing(10);
    m_counter = textLabel(QString(), Style::monospacedDigitsFont(11), Style::tertiary(palette()), m_counterRow,
                          QStringLiteral("header.counter"));
    counter->addWidget(m_counter);
    m_libraryButton = new QPushButton(QStringLiteral("Library"), m_counterRow);
    m_libraryButton->setObjectName(QStringLiteral("header.library"));
    m_libraryButton->setFlat(true);
    m_libraryButton->setFont(Style::font(11, QFont::DemiBold));
    m_libraryButton->setIcon(QIcon(Symbols::pixmap(QStringLiteral("photo.stack"), primary, QSizeF(12, 12),
                                                   devicePixelRatioF())));
    m_libraryButton->setCursor(Qt::PointingHandCursor);
    connect(m_libraryButton, &QPushButton::clicked, this, &ContentView::libraryRequested);
    counter->addWidget(m_libraryButton);
    row->addWidget(m_counterRow);
    return header;
}

QWidget *ContentView::buildEmptyState()
{
    auto *empty = new QWidget(this);
    auto *column = new QVBoxLayout(empty);
    column->setContentsMargins(0, 44, 0, 44);
    column->setSpacing(12);
    column->addStretch(1);
    auto *symbol = symbolLabel(QStringLiteral("camera.on.rectangle"), Style::quaternary(palette()), 32, empty);
    column->addWidget(symbol, 0, Qt::AlignHCenter);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(textLabel(QStringLiteral("No Screenshots"), Style::font(13, QFont::Medium),
                               Style::secondary(palette()), empty, QStringLiteral("emptyState.title")),
                     0, Qt::AlignHCenter);
    // The desktop's own screenshot keys, written as key caps.
    auto *hint = textLabel(QStringLiteral("<code>PrtSc</code> or <code>Shift PrtSc</code>"), Style::font(11),
                           Style::tertiary(palette()), empty, QStringLiteral("emptyState.hint"));
    hint->setTextFormat(Qt::RichText);
    texts->addWidget(hint, 0, Qt::AlignHCenter);
    column->addLayout(texts);
    column->addStretch(1);
    return empty;
}

QWidget *ContentView::buildCarousel()
{
    // The shown item; the full viewer builds on this.
    auto *carousel = new QWidget(this);
    auto *column = new QVBoxLayout(carousel);
    column->setContentsMargins(14, 14, 14, 14);
    column->setSpacing(10);
    m_thumbnail = new QLabel(carousel);
    m_thumbnail->setObjectName(QStringLiteral("carousel.thumbnail"));
    m_thumbnail->setAlignment(Qt::AlignCenter);
    m_thumbnail->setMinimumSize(1, 1);
    column->addWidget(m_thumbnail, 1);
    m_fileName = textLabel(QString(), Style::font(11.5, QFont::Medium), Style::primary(palette()), carousel,
                           QStringLiteral("carousel.fileName"));
    column->addWidget(m_fileName);
    return carousel;
}

QWidget *ContentView::buildFooter()
{
    auto *footer = textLabel(QStringLiteral("Tarnwick v") + RemoteConfigManager::appVersion(), Style::font(10),
                             Style::quaternary(palette()), this, QStringLiteral("footer.version"));
    footer->setAlignment(Qt::AlignCenter);
    footer->setContentsMargins(0, 0, 0, 10);
    return footer;
}

QList<ScreenshotItem> ContentView::visibleScreenshots() const
{
    return m_monitor->screenshots().mid(0, ScreenshotMonitor::popoverMaxItems);
}

bool ContentView::showNext()
{
    if (m_currentIndex >= visibleScreenshots().size() - 1)
        return false;
    setCurrentIndex(m_currentIndex + 1);
    return true;
}

bool ContentView::showPrevious()
{
    if (m_currentIndex < 1)
        return false;
    setCurrentIndex(m_currentIndex - 1);
    return true;
}

void ContentView::setCurrentIndex(int index)
{
    m_currentIndex = index;
    refresh();
}

void ContentView::onScreenshotsChanged()
{
    const qsizetype count = m_monitor->screenshots().size();
    if (count != m_lastCount) {
        m_lastCount = count;
        const int visible = int(visibleScreenshots().size());
        m_currentIndex = visible == 0 ? 0 : std::min(visible - 1, m_currentIndex);
    }
    refresh();
}

void ContentView::refresh()
{
    refreshHeader();
    refreshBody();
}

void ContentView::refreshHeader()
{
    const bool pending = m_monitor->isPending();
    const qsizetype count = visibleScreenshots().size();
    m_capturing->setVisible(pending);
    m_counterRow->setVisible(!pending && count > 0);
    m_counter->setText(QStringLiteral("%1 of %2").arg(m_currentIndex + 1).arg(count));
}

void ContentView::refreshBody()
{
    const QList<ScreenshotItem> visible = visibleScreenshots();
    if (visible.isEmpty()) {
        m_body->setCurrentWidget(m_emptyState);
        return;
    }
    m_body->setCurrentWidget(m_carousel);
    const ScreenshotItem &item = visible.at(std::clamp(m_currentIndex, 0, int(visible.size()) - 1));
    m_fileName->setText(QFileInfo(item.filePath()).fileName());
    if (item.thumbnail.isNull()) {
        m_thumbnail->setPixmap(Symbols::pixmap(QStringLiteral("photo"), Style::tertiary(palette()), QSizeF(40, 40),
                                               devicePixelRatioF()));
        return;
    }
    // The popover's width less its margins, at the viewer's 1.6 aspect ratio.
    const QSize box(332, 207);
    m_thumbnail->setPixmap(QPixmap::fromImage(item.thumbnail).scaled(box, Qt::KeepAspectRatio,
                                                                    Qt::SmoothTransformation));
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_swipe->setEnabled(true);
}

void ContentView::hideEvent(QHideEvent *event)
{
    m_swipe->setEnabled(false);
    QWidget::hideEvent(event);
}

void ContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}
