#pragma once

#include "capture/ScreenshotItem.h"

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;
class ScreenshotMonitor;
class Spinner;
class SwipeInput;

// The popover's content: the header (title, "Capturing..." or the position
// counter with the library button), the empty state or the shown screenshot,
// and the version footer. Follows the monitor; its own state is the index of
// the shown item among the newest 20.
class ContentView : public QWidget
{
    Q_OBJECT
public:
    explicit ContentView(ScreenshotMonitor *monitor, QWidget *parent = nullptr);

    QList<ScreenshotItem> visibleScreenshots() const;
    int currentIndex() const { return m_currentIndex; }
    SwipeInput *swipeInput() const { return m_swipe; }

    // One step to the older or newer item; false at either end.
    bool showNext();
    bool showPrevious();

Q_SIGNALS:
    void libraryRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildEmptyState();
    QWidget *buildCarousel();
    QWidget *buildFooter();
    void onScreenshotsChanged();
    void setCurrentIndex(int index);
    void refresh();
    void refreshHeader();
    void refreshBody();

    ScreenshotMonitor *m_monitor;
    SwipeInput *m_swipe;
    int m_currentIndex = 0;
    qsizetype m_lastCount = 0;

    QWidget *m_capturing = nullptr;
    Spinner *m_spinner = nullptr;
    QWidget *m_counterRow = nullptr;
    QLabel *m_counter = nullptr;
    QPushButton *m_libraryButton = nullptr;
    QStackedWidget *m_body = nullptr;
    QWidget *m_emptyState = nullptr;
    QWidget *m_carousel = nullptr;
    QLabel *m_thumbnail = nullptr;
    QLabel *m_fileName = nullptr;
};
