#include "picker/ColorPickerView.h"

#include "common/Style.h"
#include "common/Symbols.h"
#include "common/UserImageFile.h"
#include "common/WindowKeys.h"
#include "picker/ColorBar.h"
#include "picker/ColorHistoryRow.h"
#include "picker/ColorModeSelector.h"
#include "picker/CopyButton.h"
#include "picker/HistorySwatch.h"
#include "picker/PickSwatch.h"
#include "picker/PickerImage.h"
#include "picker/PickerImageArea.h"
#include "picker/ZoomPan.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QShortcut>
#include <QThreadPool>
#include <QVBoxLayout>

namespace {

QWidget *header(QWidget *parent)
{
    auto *bar = new QWidget(parent);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(16, 6, 16, 6);
    row->setSpacing(5);
    auto *symbol = new QLabel(bar);
    Symbols::show(symbol, QStringLiteral("eyedropper.halffull"), Style::secondary(parent->palette()), QSizeF(11, 11));
    auto *title = new QLabel(ColorPickerView::tr("Color Picker"), bar);
    Style::apply(title, Style::font(13, QFont::DemiBold), Style::primary(parent->palette()));
    row->addStretch();
    row->addWidget(symbol);
    row->addWidget(title);
    row->addStretch();
    return bar;
}

}  // namespace

ColorPickerView::ColorPickerView(const QString &path, QWidget *parent)
    : ColorPickerView(path, Dependencies{}, parent)
{
}

ColorPickerView::ColorPickerView(const QString &path, Dependencies dependencies, QWidget *parent)
    : QWidget(parent)
    , m_path(path)
    , m_deps(std::move(dependencies))
    , m_area(new PickerImageArea(this))
    , m_problem(new QLabel(this))
    , m_historyRow(new ColorHistoryRow(this))
    , m_bar(new ColorBar(this))
{
    setFocusPolicy(Qt::StrongFocus);
    m_copiedTimer.setSingleShot(true);
    m_copiedTimer.setInterval(m_deps.copiedFor);
    connect(&m_copiedTimer, &QTimer::timeout, this, &ColorPickerView::refresh);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header(this));
    column->addWidget(m_area, 1);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setAlignment(Qt::AlignCenter);
    m_problem->setWordWrap(true);
    Style::apply(m_problem, Style::font(13), Style::secondary(palette()));
    m_problem->hide();
    column->addWidget(m_problem, 1);
    column->addWidget(m_historyRow);
    column->addWidget(m_bar);

    new WindowKeys(this, WindowKeys::Escape::closesWindow);
    // The arrows walk the history whichever control has the focus.
    new QShortcut(QKeySequence(Qt::Key_Up), this, this, [this] { m_historyRow->step(-1); });
    new QShortcut(QKeySequence(Qt::Key_Down), this, this, [this] { m_historyRow->step(1); });

    connect(m_area, &PickerImageArea::picked, this, &ColorPickerView::commitPick);
    connect(m_historyRow, &ColorHistoryRow::chosen, this, &ColorPickerView::choose);
    connect(m_bar, &ColorBar::modeChosen, this, &ColorPickerView::setColorMode);
    connect(m_bar, &ColorBar::copyRequested, this, &ColorPickerView::copy);
    refresh();
    startLoading();
}

void ColorPickerView::startLoading()
{
    QPointer<ColorPickerView> self(this);
    UserImageFile::readerThreads()->start([self, path = m_path] {
        const PickerImage image = PickerImage::load(path);
        QMetaObject::invokeMethod(qApp, [self, image] {
            if (self)
                self->showImage(image);
        }, Qt::QueuedConnection);
    });
}

void ColorPickerView::showImage(const PickerImage &image)
{
    m_area->setImage(image);
    if (image.isNull()) {
        m_problem->setText(UserImageFile::notShown(m_path, image.problem()));
        m_problem->show();
        m_area->hide();
    }
    m_loaded = true;
    Q_EMIT loadFinished();
}

void ColorPickerView::commitPick(const QColor &color)
{
    m_picked = color;
    m_history.add(color);
    m_bar->swatch()->pulseOnce(m_deps.pickPulse);
    refresh();
}

void ColorPickerView::choose(const QColor &color)
{
    m_picked = color;
    refresh();
}

void ColorPickerView::setColorMode(ColorMode mode)
{
    m_mode = mode;
    refresh();
}

void ColorPickerView::copy()
{
    if (!m_picked || !m_deps.copyText)
        return;
    m_deps.copyText(ColorFormat::colorString(*m_picked, m_mode));
    m_copiedTimer.start();  // a second copy shows its own full moment
    refresh();
}

void ColorPickerView::refresh()
{
    const QColor shown = m_picked.value_or(placeholderColor());
    m_bar->showColor(shown, m_mode);
    m_bar->copyButton()->setCopied(isCopied());
    m_historyRow->setEntries(m_history.entries(), shown, m_mode);
    m_historyRow->setVisible(!m_history.isEmpty());
    orderTabs();
}

// The history's discs are made after the bar, yet come before it on screen.
void ColorPickerView::orderTabs()
{
    QList<QWidget *> order;
    for (HistorySwatch *swatch : m_historyRow->swatches())
        order << swatch;
    order << m_bar->modeSelector() << m_bar->copyButton();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void ColorPickerView::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (control && event->key() == Qt::Key_0) {
        m_area->resetZoom();
    } else if (control && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal)) {
        m_area->scrollZoom(ZoomPan::notch);
    } else if (control && event->key() == Qt::Key_Minus) {
        m_area->scrollZoom(-ZoomPan::notch);
    } else {
        QWidget::keyPressEvent(event);
    }
}
