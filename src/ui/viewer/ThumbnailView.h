#pragma once

#include "capture/ScreenshotItem.h"
#include "common/AccessibleControl.h"
#include "viewer/DeviceFrame.h"

#include <QList>
#include <QMimeData>
#include <QRectF>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class QUrl;

// The carousel's large image: the item's thumbnail fitted in a rounded 1.6 : 1
// frame, with the scan sweep and brackets over detected codes, the device
// frame, the overlay buttons (Pick Color, Share, Annotate), the QR badge with
// its results menu and the phone badge. Drags the file out as a copy and
// offers the device-frame picker from its context menu. Shows; never acts:
// every intent leaves as a signal.
class ThumbnailView : public QWidget, public AccessibleControl
{
    Q_OBJECT
public:
    explicit ThumbnailView(QWidget *parent = nullptr);
    ~ThumbnailView() override;

    // The shown item, or none (an empty frame).
    void setItem(const std::optional<ScreenshotItem> &item);
    std::optional<ScreenshotItem> item() const;

    void setDeviceFrame(DeviceFrameType type);
    DeviceFrameType deviceFrame() const;

    // Plays the scan sweep (the brackets around every box stay after it fades)
    // and shows the badge for the payloads unless the badge is not allowed.
    void showCodes(const QList<QRectF> &boxes, const QStringList &payloads);
    void clearCodes();
    void setBadgeAllowed(bool allowed);

    // What dragging the image out offers: the file's URL, to be copied only,
    // so that no drop target can move the capture away.
    struct DragOffer {
        std::unique_ptr<QMimeData> mimeData;
        Qt::DropActions actions;
        Qt::DropAction defaultAction;
    };
    static DragOffer dragOffer(const ScreenshotItem &item);

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QAccessible::Role accessibleRole() const override { return QAccessible::Graphic; }

Q_SIGNALS:
    void openRequested();                      // double click
    void pickColorRequested();
    void shareRequested(QWidget *anchor);      // the menu opens at anchor
    void annotateRequested();
    void frameChosen(DeviceFrameType type);    // from the picker
    void copyCodeRequested(const QString &payload);
    void openLinkRequested(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void layoutChildren();
    void startDrag();
    void showFramePicker(const QPoint &globalPos);

    struct Private;
    Private *d;
};
