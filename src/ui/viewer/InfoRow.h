#pragma once

#include "capture/ScreenshotItem.h"

#include <QStringList>
#include <QWidget>

class QLabel;

// The shown item's file name (elided in the middle), when it was taken, its
// size in pixels and on disk, and the button that removes it from the history.
class InfoRow : public QWidget
{
    Q_OBJECT
public:
    explicit InfoRow(QWidget *parent = nullptr);

    void setItem(const ScreenshotItem &item);

    // "Today", "14:02", "1440×900", "1.4 MB", leaving out what is unknown;
    // shown joined by fainter dots.
    static QStringList detailParts(const ScreenshotItem &item);

Q_SIGNALS:
    void deleteRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elideName();

    QString m_name;
    QLabel *m_nameLabel;
    QLabel *m_details;
};
