#pragma once

#include "common/AccessibleControl.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

class QMimeData;
class QRBadgeButton;

// The detail pane's large image. It can be dragged out as a copy of the file
// (never a move: the capture must stay where its item points) and carries the
// QR badge in its top-right corner.
class LibraryPreview : public QWidget, public AccessibleControl
{
    Q_OBJECT
public:
    static constexpr int height = 240;

    explicit LibraryPreview(QWidget *parent = nullptr);

    void setImage(const QImage &image, const QString &filePath);
    QAccessible::Role accessibleRole() const override { return QAccessible::Graphic; }
    QRBadgeButton *badge() const { return m_badge; }
    // Shows the badge for these payloads, or hides it when shown is false.
    void setCodes(const QStringList &payloads, bool shown, bool animated);
    // The data a drag out of the preview carries.
    QMimeData *dragData() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void placeBadge();

    QImage m_image;
    QString m_path;
    QPoint m_pressAt;
    bool m_pressed = false;
    QRBadgeButton *m_badge;
};
