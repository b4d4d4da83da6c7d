#pragma once

#include <QWidget>

// The zoom factor in a dark capsule, shown only while the image is zoomed.
class ZoomBadge : public QWidget
{
    Q_OBJECT
public:
    explicit ZoomBadge(QWidget *parent = nullptr);
    // Shows or hides the badge; keeps it 8 points inside its parent's
    // top-right corner.
    void setZoom(double zoom);
    QString text() const { return m_text; }
    void place();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
