#pragma once

#include "viewer/DeviceFrame.h"

#include <QSizeF>
#include <QWidget>

// The device bezel drawn over the shown image, fitted to the image's aspect
// inside the rounded thumbnail frame. Never takes the mouse: the image below
// keeps its drag and double click.
class DeviceFrameOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit DeviceFrameOverlay(QWidget *parent = nullptr);

    void setFrame(DeviceFrameType type, const QSizeF &imageSize);
    DeviceFrameType frameType() const { return m_type; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DeviceFrameType m_type = DeviceFrameType::none;
    QSizeF m_imageSize;
};
