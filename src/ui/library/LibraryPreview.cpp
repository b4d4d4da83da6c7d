#include "library/LibraryPreview.h"

#include "common/Style.h"
#include "common/Symbols.h"
#include "viewer/ImageFit.h"
#include "viewer/QRBadgeButton.h"

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace {
constexpr int imagePadding = 4;
constexpr int badgePadding = 6;
}  // namespace

LibraryPreview::LibraryPreview(QWidget *parent)
    : QWidget(parent)
    , m_badge(new QRBadgeButton(this))
{
    setFixedHeight(height);
    m_badge->setShown(false, false);
}

void LibraryPreview::setImage(const QImage &image, const QString &filePath)
{
    m_image = image;
    m_path = filePath;
    update();
}

QMimeData *LibraryPreview::dragData() const
{
    auto *mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(m_path)});
    if (QFileInfo::exists(m_path) && !m_image.isNull())
        mime->setImageData(m_image);
    return mime;
}

void LibraryPreview::setCodes(const QStringList &payloads, bool shown, bool animated)
{
    if (shown && payloads != m_badge->payloads()) {
        m_badge->setPayloads(payloads);
        placeBadge();
    }
    m_badge->setShown(shown, animated);
}

void LibraryPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF area = QRectF(rect()).adjusted(imagePadding, imagePadding, -imagePadding, -imagePadding);
    if (m_image.isNull()) {
        const QSizeF glyph(28, 28);
        const QRectF target(area.center() - QPointF(glyph.width(), glyph.height()) / 2, glyph);
        painter.drawImage(target, Symbols::image(QStringLiteral("photo"), Style::quaternary(palette()), glyph,
                                                 devicePixelRatioF()));
        return;
    }
    const QRectF target = ImageFit::fittedRect(area.size(), m_image.size()).translated(area.topLeft());
    QPainterPath shadow;
    shadow.addRoundedRect(target.translated(0, 3), 8, 8);
    painter.fillPath(shadow, QColor(0, 0, 0, 30));
    QPainterPath clip;
    clip.addRoundedRect(target, 8, 8);
    painter.setClipPath(clip);
    painter.drawImage(target, m_image);
}

void LibraryPreview::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeBadge();
}

void LibraryPreview::placeBadge()
{
    const QRectF capsule = m_badge->capsuleRect();
    m_badge->move((QPointF(width() - badgePadding - capsule.width(), badgePadding) - capsule.topLeft()).toPoint());
}

void LibraryPreview::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressAt = event->position().toPoint();
}

void LibraryPreview::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || m_path.isEmpty()
        || (event->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressed = false;
    auto *drag = new QDrag(this);
    drag->setMimeData(dragData());
    if (!m_image.isNull()) {
        const qreal ratio = devicePixelRatioF();  // within 160 points, crisp on a HiDPI screen
        QImage preview = m_image.scaled(QSize(160, 160) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        preview.setDevicePixelRatio(ratio);
        drag->setPixmap(QPixmap::fromImage(preview));
    }
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}
