#pragma once

#include "capture/ScreenshotItem.h"

#include <QWidget>

// The hover panel's content: the newest screenshot's image (or a placeholder),
// its file name and a details line of date, dimensions and file size. Built
// once per show; it does not follow later changes of the list.
class HoverPreviewView : public QWidget
{
    Q_OBJECT
public:
    explicit HoverPreviewView(const ScreenshotItem &item, QWidget *parent = nullptr);

    // Date, then dimensions and file size where the file still tells them.
    static QStringList detailParts(const ScreenshotItem &item);

    const ScreenshotItem &item() const { return m_item; }
    // The details line as shown, parts joined by " · " (tests read it).
    QString detailsText() const;

private:
    QWidget *buildImagePart();
    QWidget *buildNameLine();
    QWidget *buildDetailsLine();

    ScreenshotItem m_item;
    QStringList m_details;
};
