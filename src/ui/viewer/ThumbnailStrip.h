#pragma once

#include "capture/ScreenshotItem.h"

#include <QList>
#include <QScrollArea>

class StripThumbnail;

// The row of small thumbnails between the navigation buttons: the current
// one larger, framed and opaque, the others small and faded. Moves only on
// its own, scrolling the current one to its centre; the user's wheel goes to
// the swipe handling instead.
class ThumbnailStrip : public QScrollArea
{
    Q_OBJECT
public:
    explicit ThumbnailStrip(QWidget *parent = nullptr);

    // animate: changes follow the navigation spring; otherwise they jump.
    void setItems(const QList<ScreenshotItem> &items, int current, bool animate);
    int count() const { return int(m_thumbnails.size()); }

    QSize sizeHint() const override;

Q_SIGNALS:
    void thumbnailClicked(int index);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void centreCurrent(bool animate);

    QWidget *m_row;
    QList<StripThumbnail *> m_thumbnails;
    int m_current = 0;
};
