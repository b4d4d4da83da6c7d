#pragma once

#include "common/Shadow.h"
#include "viewer/QRHighlightBox.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QWidget>

class QSequentialAnimationGroup;
class QVariantAnimation;

// The scan over the shown image once codes are found: a green line sweeps
// down the fitted image and fades, and brackets mark every code and stay
// until the codes are cleared. Never takes the mouse.
class QRScanLineOverlay : public QWidget
{
    Q_OBJECT
public:
    struct Timings {
        int sweepMs = 1100;
        int fadeDelayMs = 1050;
        int fadeMs = 350;
        int revealMs = -1;  // the reveal spring's own length
    };
    // For every overlay made afterwards; tests shorten the animation.
    static void setTimings(const Timings &timings);

    explicit QRScanLineOverlay(QWidget *parent = nullptr);

    // Shows the overlay and restarts the sweep over boxes (normalised to an
    // image of imageSize, top-left origin).
    void play(const QList<QRectF> &boxes, const QSizeF &imageSize);
    // Hides everything at once.
    void stop();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRectF fitted() const;
    void layoutBoxes();
    void revealUpTo(double progress);
    void paintSweep(QPainter &painter, const QRectF &fit);

    QList<QRectF> m_boxes;
    QSizeF m_imageSize;
    QList<QRHighlightBox> m_highlights;
    QList<bool> m_revealed;
    Shadow::Rendered m_lineGlow;
    QVariantAnimation *m_progress;
    QVariantAnimation *m_opacity;
    QVariantAnimation *m_reveal;
    QSequentialAnimationGroup *m_fade;
};
