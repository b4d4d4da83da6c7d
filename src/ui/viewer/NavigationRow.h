#pragma once

#include "capture/ScreenshotItem.h"

#include <QAbstractButton>
#include <QList>
#include <QWidget>

class ThumbnailStrip;

// A round chevron button of the navigation row, faint when it cannot move.
class NavButton : public QAbstractButton
{
    Q_OBJECT
public:
    NavButton(const QString &icon, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_icon;
};

// Previous, the thumbnail strip, next. With a single item there is nothing to
// move between: the strip gives way to empty space.
class NavigationRow : public QWidget
{
    Q_OBJECT
public:
    explicit NavigationRow(QWidget *parent = nullptr);

    void setItems(const QList<ScreenshotItem> &items, int current, bool animate);

Q_SIGNALS:
    void previousRequested();
    void nextRequested();
    void indexRequested(int index);

private:
    NavButton *m_previous;
    NavButton *m_next;
    ThumbnailStrip *m_strip;
    QWidget *m_space;
};
