#pragma once

#include <QAbstractButton>
#include <QMargins>
#include <QPointer>
#include <QStringList>

class PopIn;
class QRResultsMenu;
class QUrl;

// The badge over the image's top-right corner saying how many codes were
// read ("QR", "3 QR"); a click opens or closes the list of their payloads.
class QRBadgeButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit QRBadgeButton(QWidget *parent = nullptr);

    void setPayloads(const QStringList &payloads);
    QStringList payloads() const { return m_payloads; }
    // Pops in and out; hiding without animation also closes the menu.
    void setShown(bool shown, bool animated);
    bool isShown() const;
    QRResultsMenu *menu() const;

    QSize sizeHint() const override;
    static QMargins shadowMargins();
    QRectF capsuleRect() const;

Q_SIGNALS:
    void copyRequested(const QString &payload);
    void openLinkRequested(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    void toggleMenu();
    QSizeF capsuleSize() const;

    QStringList m_payloads;
    PopIn *m_popIn;
    QPointer<QRResultsMenu> m_menu;
};
