#pragma once

#include "viewer/DeviceFrame.h"

#include <QList>
#include <QWidget>

// A small popup offering one tile per device frame; clicking a tile selects
// it, reports it and closes the popup.
class DeviceFramePickerPopover : public QWidget
{
    Q_OBJECT
public:
    explicit DeviceFramePickerPopover(DeviceFrameType selected, QWidget *parent = nullptr);

    DeviceFrameType selected() const { return m_selected; }
    // Shows the popup with its top-left corner at globalPos, kept on screen.
    void popup(const QPoint &globalPos);
    QSize sizeHint() const override;
    // Where the tile of type lies; empty when it is not offered.
    QRect tileRect(DeviceFrameType type) const;

Q_SIGNALS:
    void chosen(DeviceFrameType type);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRectF columnRect(int index) const;
    double columnWidth(int index) const;

    QList<DeviceFrameType> m_options;
    DeviceFrameType m_selected;
};
