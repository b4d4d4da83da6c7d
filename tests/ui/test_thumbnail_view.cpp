// The carousel's big image and its overlays offscreen, judged on grabbed
// pixels where placement matters.

#include "viewer/DeviceFramePickerPopover.h"
#include "viewer/QRBadgeButton.h"
#include "viewer/QRResultsMenu.h"
#include "viewer/QRScanLineOverlay.h"
#include "viewer/ThumbnailOverlayButton.h"
#include "viewer/ThumbnailView.h"
#include "WidgetSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using WidgetSupport::buttonTitled;

namespace {

const QColor background(240, 240, 240);

void paintBackground(QWidget &widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, background);
    widget.setPalette(palette);
}

// The view of one capture, its image a plain size × colour.
struct View {
    ThumbnailView view;
    explicit View(QSize size = {200, 200}, const QColor &color = Qt::white)
    {
        ScreenshotItem item;
        item.url = QUrl::fromLocalFile(QStringLiteral("/shots/Screenshot 1.png"));
        item.thumbnail = QImage(size, QImage::Format_RGB32);
        item.thumbnail.fill(color);
        paintBackground(view);
        view.resize(320, 200);
        view.setItem(item);
        view.show();
    }
};

// Empty when the pixel is within 3 of expected in each channel; else the colour found.
QByteArray offBy(QRgb actual, const QColor &expected)
{
    const bool near = std::abs(qRed(actual) - expected.red()) <= 3 && std::abs(qGreen(actual) - expected.green()) <= 3
                      && std::abs(qBlue(actual) - expected.blue()) <= 3;
    return near ? QByteArray() : QColor(actual).name().toLatin1();
}

}  // namespace

class ThumbnailViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QRScanLineOverlay::setTimings({1, 0, 1, 0});
        QRResultsMenu::setCloseDelay(40);
    }

    // The bezel and the code brackets follow the image where it lies in the
    // 320 × 200 frame. A 100 × 200 portrait lies at x 110..210, its phone
    // bezel 5 wide at the sides and 11 high at top and bottom. A square lies
    // at x 60..260, where the code box (0.25, 0.25, 0.5, 0.5) is 110..210 ×
    // 50..150, not 80..240 as on the frame.
    void overlaysFollowTheImage_data()
    {
        QTest::addColumn<bool>("phone");  // else the square with a code
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("expected");
        const QColor ring(24, 12, 6);
        const QColor image(200, 100, 50);
        const QColor green(52, 199, 89);
        QTest::newRow("left bezel") << true << QPoint(112, 100) << ring;
        QTest::newRow("right bezel") << true << QPoint(207, 100) << ring;
        QTest::newRow("top bezel beside the island") << true << QPoint(125, 6) << ring;
        QTest::newRow("bottom bezel") << true << QPoint(125, 194) << ring;
        QTest::newRow("first image column inside") << true << QPoint(115, 100) << image;
        QTest::newRow("last image column inside") << true << QPoint(204, 100) << image;
        QTest::newRow("first image row inside") << true << QPoint(125, 11) << image;
        QTest::newRow("pillar left of the image") << true << QPoint(100, 100) << background;
        QTest::newRow("bracket top left, down") << false << QPoint(110, 55) << green;
        QTest::newRow("bracket top left, across") << false << QPoint(115, 50) << green;
        QTest::newRow("bracket bottom right, up") << false << QPoint(210, 145) << green;
        QTest::newRow("bracket bottom right, across") << false << QPoint(205, 150) << green;
        QTest::newRow("no bracket at the frame's box, left") << false << QPoint(80, 55) << QColor(Qt::white);
        QTest::newRow("no bracket at the frame's box, right") << false << QPoint(240, 145) << QColor(Qt::white);
        QTest::newRow("tint inside the box") << false << QPoint(160, 100) << QColor(230, 248, 235);
    }
    void overlaysFollowTheImage()
    {
        QFETCH(bool, phone);
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        View v(phone ? QSize(100, 200) : QSize(200, 200), phone ? QColor(200, 100, 50) : QColor(Qt::white));
        if (phone)
            v.view.setDeviceFrame(DeviceFrameType::iPhone);
        else
            v.view.showCodes({QRectF(0.25, 0.25, 0.5, 0.5)}, {QStringLiteral("code")});
        // Once the code sweep has faded, only the brackets are left.
        QTRY_COMPARE(offBy(v.view.grab().toImage().pixel(at), expected), QByteArray());
    }

    void codeMenu_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<bool>("link");  // else it can only be copied
        QTest::newRow("http") << "http://example.com/a" << true;
        QTest::newRow("https") << "https://example.com" << true;
        QTest::newRow("upper case, as compact codes write it") << "HTTP://X.ORG/ABC" << true;
        QTest::newRow("a scheme that merely begins with http") << "httpx://example.com" << false;
        QTest::newRow("ftp") << "ftp://example.com/file" << false;
        QTest::newRow("plain text") << "WIFI network password" << false;
        QTest::newRow("scheme without a host") << "http" << false;
        QTest::newRow("markup, shown as it is") << "<b>x</b>" << false;
    }
    // Through the badge, as the user gets there: a web link opens at once, a
    // copy says so until the menu closes.
    void codeMenu()
    {
        QFETCH(QString, payload);
        QFETCH(bool, link);
        View v;
        QSignalSpy opened(&v.view, &ThumbnailView::openLinkRequested);
        QSignalSpy copied(&v.view, &ThumbnailView::copyCodeRequested);
        v.view.showCodes({QRectF(0.1, 0.1, 0.2, 0.2)}, {payload});
        auto *badge = v.view.findChild<QRBadgeButton *>();
        QTest::mouseClick(badge, Qt::LeftButton, {}, badge->capsuleRect().center().toPoint());
        QPointer<QRResultsMenu> menu = badge->menu();
        QVERIFY(menu && menu->isVisible());
        auto *label = menu->findChild<QLabel *>();
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), payload);
        QAbstractButton *open = buttonTitled(menu, QStringLiteral("Open Link"));
        QCOMPARE(open != nullptr, link);
        if (open) {
            open->click();
            QCOMPARE(opened.count(), 1);
            QCOMPARE(opened.at(0).at(0).toUrl(), QUrl(payload));
            QTRY_VERIFY(!menu);
            return;
        }
        buttonTitled(menu, QStringLiteral("Copy"))->click();
        QCOMPARE(copied.count(), 1);
        QCOMPARE(copied.at(0).at(0).toString(), payload);
        QVERIFY(buttonTitled(menu, QStringLiteral("Copied!")));
        QVERIFY(menu->isVisible());  // until the delay has passed
        QTRY_VERIFY(!menu);
    }

    // The badge counts the codes unless it is not allowed; the sweep runs either way.
    void badge()
    {
        View v;
        const auto show = [&v](int codes) {
            v.view.showCodes(QList<QRectF>(codes, QRectF(0.1, 0.1, 0.2, 0.2)), QStringList(codes, QStringLiteral("x")));
        };
        auto *badge = v.view.findChild<QRBadgeButton *>();
        auto *scan = v.view.findChild<QRScanLineOverlay *>();
        v.view.setBadgeAllowed(false);
        show(1);
        QVERIFY(badge->isHidden() && !scan->isHidden());
        v.view.setBadgeAllowed(true);
        QVERIFY(!badge->isHidden());
        QCOMPARE(badge->text(), QStringLiteral("QR"));
        show(3);
        QCOMPARE(badge->text(), QStringLiteral("3 QR"));
        v.view.clearCodes();
        QVERIFY(badge->isHidden() && scan->isHidden());
        show(1);
        QVERIFY(!badge->isHidden());
    }

    void overlayButtonHover_data()
    {
        QTest::addColumn<QColor>("hoverColor");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("transparent: darker black") << QColor(Qt::transparent) << QColor(67, 67, 67);
        QTest::newRow("teal at three quarters") << QColor(48, 176, 199) << QColor(96, 192, 209);
    }
    void overlayButtonHover()
    {
        QFETCH(QColor, hoverColor);
        QFETCH(QColor, expected);
        QWidget parent;
        parent.setAutoFillBackground(true);
        paintBackground(parent);
        auto *button = new ThumbnailOverlayButton(QStringLiteral("square.and.arrow.up"), QStringLiteral("Share"),
                                                  hoverColor, &parent);
        parent.resize(40, 40);
        parent.show();
        const auto fillOffBy = [&](const QColor &color) { return offBy(parent.grab().toImage().pixel(5, 13), color); };
        QCOMPARE(fillOffBy(QColor(120, 120, 120)), QByteArray());
        QEnterEvent enter(QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), button->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(button, &enter);
        QTRY_COMPARE(fillOffBy(expected), QByteArray());
    }

    // A double click opens the file, the context menu chooses a frame, and a
    // drag offers a copy of the file, never a move.
    void pictureActions()
    {
        View v;
        QSignalSpy opened(&v.view, &ThumbnailView::openRequested);
        QTest::mouseDClick(&v.view, Qt::LeftButton, {}, QPoint(160, 60));
        QCOMPARE(opened.count(), 1);
        QSignalSpy chosen(&v.view, &ThumbnailView::frameChosen);
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(160, 60), v.view.mapToGlobal(QPoint(160, 60)));
        QApplication::sendEvent(&v.view, &request);
        QPointer<DeviceFramePickerPopover> picker = v.view.findChild<DeviceFramePickerPopover *>();
        QVERIFY(picker && picker->isVisible());
        QTest::mouseClick(picker, Qt::LeftButton, {}, picker->tileRect(DeviceFrameType::iPad).center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(0).value<DeviceFrameType>(), DeviceFrameType::iPad);
        QTRY_VERIFY(!picker);

        const ThumbnailView::DragOffer offer = ThumbnailView::dragOffer(*v.view.item());
        QCOMPARE(offer.actions, Qt::DropActions(Qt::CopyAction));
        QCOMPARE(offer.defaultAction, Qt::CopyAction);
        QCOMPARE(offer.mimeData->urls(), QList<QUrl>{v.view.item()->url});
    }
};

QTEST_MAIN(ThumbnailViewTest)
#include "test_thumbnail_view.moc"
