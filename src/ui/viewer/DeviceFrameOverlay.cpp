#include "viewer/DeviceFrameOverlay.h"

#include "viewer/ThumbnailFrame.h"

#include <QPainter>

DeviceFrameOverlay::DeviceFrameOverlay(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void DeviceFrameOverlay::setFrame(DeviceFrameType type, const QSizeF &imageSize)
{
    m_type = type;
    m_imageSize = imageSize;
    setVisible(type != DeviceFrameType::none);
    update();
}

void DeviceFrameOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(ThumbnailFrame::clipPath(size()));
    for (const DeviceFrame::Shape &shape : DeviceFrame::shapes(m_type, size(), m_imageSize))
        painter.fillPath(shape.path, shape.color);
}
