// The carousel's big image offscreen: where the device bezel and the code
// brackets land on grabbed pixels, the results menu's links, copy and plain
// text, the QR badge, the overlay buttons' hover fill and the drag's offer.

#include "viewer/DeviceFramePickerPopover.h"
#include "viewer/QRBadgeButton.h"
#include "viewer/QRResultsMenu.h"
#include "viewer/QRScanLineOverlay.h"
#include "viewer/ThumbnailOverlayButton.h"
#include "viewer/ThumbnailView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QColor background(240, 240, 240);

ScreenshotItem itemWithImage(int width, int height, const QColor &color)
{
    ScreenshotItem item;
    item.url = QUrl::fromLocalFile(QStringLiteral("/shots/Screenshot 1.png"));
    item.thumbnail = QImage(width, height, QImage::Format_RGB32);
    item.thumbnail.fill(color);
    return item;
}

// A 320 × 200 view, shown, on a known background.
struct View {
    ThumbnailView view;
    explicit View(const ScreenshotItem &item)
    {
        QPalette palette = view.palette();
        palette.setColor(QPalette::Window, background);
        view.setPalette(palette);
        view.resize(320, 200);
        view.setItem(item);
        view.show();
    }
    QRgb pixel(int x, int y) { return view.grab().toImage().pixel(x, y); }
};

bool near(QRgb actual, const QColor &expected)
{
    return std::abs(qRed(actual) - expected.red()) <= 3 && std::abs(qGreen(actual) - expected.green()) <= 3
           && std::abs(qBlue(actual) - expected.blue()) <= 3;
}

QByteArray describe(QRgb pixel)
{
    return QByteArray::number(qRed(pixel)) + ',' + QByteArray::number(qGreen(pixel)) + ','
           + QByteArray::number(qBlue(pixel));
}

QPushButton *buttonTitled(const QWidget *parent, const QString &title)
{
    for (QPushButton *button : parent->findChildren<QPushButton *>())
        if (button->text() == title)
            return button;
    return nullptr;
}

void hover(QWidget *widget)
{
    QEnterEvent enter(QPointF(5, 5), widget->mapToGlobal(QPointF(5, 5)), widget->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(widget, &enter);
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

    // A 100 × 200 portrait image in the 320 × 200 frame lies at x 110..210;
    // its phone bezel is 5 wide at the sides and 11 high at top and bottom.
    void phoneBezelOnAPortraitImage_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("expected");
        const QColor ring(24, 12, 6);
        const QColor image(200, 100, 50);
        QTest::newRow("left bezel") << QPoint(112, 100) << ring;
        QTest::newRow("right bezel") << QPoint(207, 100) << ring;
        QTest::newRow("top bezel beside the island") << QPoint(125, 6) << ring;
        QTest::newRow("bottom bezel") << QPoint(125, 194) << ring;
        QTest::newRow("first image column inside") << QPoint(115, 100) << image;
        QTest::newRow("last image column inside") << QPoint(204, 100) << image;
        QTest::newRow("first image row inside") << QPoint(125, 11) << image;
        QTest::newRow("pillar left of the image") << QPoint(100, 100) << background;
        QTest::newRow("pillar right of the image") << QPoint(220, 100) << background;
    }
    void phoneBezelOnAPortraitImage()
    {
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        View v(itemWithImage(100, 200, QColor(200, 100, 50)));
        v.view.setDeviceFrame(DeviceFrameType::iPhone);
        const QRgb actual = v.pixel(at.x(), at.y());
        QVERIFY2(near(actual, expected), describe(actual));
    }

    // A square image in the 320 × 200 frame lies at x 60..260; the box
    // (0.25, 0.25, 0.5, 0.5) is 110..210 × 50..150 on it, not 80..240.
    void bracketsOnAPillarBoxedImage()
    {
        View v(itemWithImage(200, 200, Qt::white));
        v.view.showCodes({QRectF(0.25, 0.25, 0.5, 0.5)}, {QStringLiteral("code")});
        const QColor green(52, 199, 89);
        const QList<std::pair<QPoint, QColor>> samples{
            {{110, 55}, green},   {{115, 50}, green},         {{210, 145}, green},
            {{205, 150}, green},  {{80, 55}, Qt::white},        {{240, 145}, Qt::white},
            {{160, 100}, QColor(230, 248, 235)},
        };
        // Once the sweep has faded, only the brackets are left.
        const auto mismatches = [&] {
            const QImage image = v.view.grab().toImage();
            QByteArray found;
            for (const auto &[at, expected] : samples)
                if (!near(image.pixel(at), expected))
                    found += QByteArray::number(at.x()) + ',' + QByteArray::number(at.y()) + ": "
                             + describe(image.pixel(at)) + "; ";
            return found;
        };
        QTRY_COMPARE(mismatches(), QByteArray());
    }

    void openLinkOnlyForWebLinks_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<bool>("offered");
        QTest::newRow("http") << "http://example.com/a" << true;
        QTest::newRow("https") << "https://example.com" << true;
        QTest::newRow("upper case, as compact codes write it") << "HTTP://X.ORG/ABC" << true;
        QTest::newRow("a scheme that merely begins with http") << "httpx://example.com" << false;
        QTest::newRow("ftp") << "ftp://example.com/file" << false;
        QTest::newRow("mailto") << "mailto:someone@example.com" << false;
        QTest::newRow("plain text") << "WIFI network password" << false;
        QTest::newRow("scheme without a host") << "http" << false;
    }
    void openLinkOnlyForWebLinks()
    {
        QFETCH(QString, payload);
        QFETCH(bool, offered);
        QPointer<QRResultsMenu> menu = new QRResultsMenu({payload});
        QSignalSpy opened(menu.data(), &QRResultsMenu::openLinkRequested);
        menu->show();
        QPushButton *open = buttonTitled(menu, QStringLiteral("Open Link"));
        QCOMPARE(open != nullptr, offered);
        if (!open) {
            delete menu;
            return;
        }
        open->click();
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toUrl(), QUrl(payload));
        QTRY_VERIFY(!menu);  // closed at once
    }

    // Through the badge, as the user gets there; the payload is markup that
    // must be shown as it is.
    void copyFromTheMenu()
    {
        View v(itemWithImage(200, 200, Qt::white));
        QSignalSpy copied(&v.view, &ThumbnailView::copyCodeRequested);
        const QString payload = QStringLiteral("<b>x</b>");
        v.view.showCodes({QRectF(0.1, 0.1, 0.2, 0.2)}, {payload});
        auto *badge = v.view.findChild<QRBadgeButton *>();
        QTest::mouseClick(badge, Qt::LeftButton, {}, badge->capsuleRect().center().toPoint());
        QPointer<QRResultsMenu> menu = badge->menu();
        QVERIFY(menu && menu->isVisible());
        auto *label = menu->findChild<QLabel *>();
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), payload);

        buttonTitled(menu, QStringLiteral("Copy"))->click();
        QCOMPARE(copied.count(), 1);
        QCOMPARE(copied.at(0).at(0).toString(), payload);
        QVERIFY(buttonTitled(menu, QStringLiteral("Copied!")));
        QVERIFY(menu->isVisible());  // until the delay has passed
        QTRY_VERIFY(!menu);
    }

    void badge_data()
    {
        QTest::addColumn<int>("codes");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<QString>("text");
        QTest::newRow("one code") << 1 << true << "QR";
        QTest::newRow("three codes") << 3 << true << "3 QR";
        QTest::newRow("not allowed") << 1 << false << "";
    }
    void badge()
    {
        QFETCH(int, codes);
        QFETCH(bool, allowed);
        QFETCH(QString, text);
        View v(itemWithImage(200, 200, Qt::white));
        v.view.setBadgeAllowed(allowed);
        QStringList payloads;
        QList<QRectF> boxes;
        for (int i = 0; i < codes; ++i) {
            payloads << QString::number(i);
            boxes << QRectF(0.3 * i, 0.1, 0.2, 0.2);
        }
        v.view.showCodes(boxes, payloads);
        auto *badge = v.view.findChild<QRBadgeButton *>();
        auto *scan = v.view.findChild<QRScanLineOverlay *>();
        QCOMPARE(!badge->isHidden(), allowed);
        if (allowed)
            QCOMPARE(badge->text(), text);
        QVERIFY(!scan->isHidden());

        v.view.clearCodes();
        QVERIFY(badge->isHidden());
        QVERIFY(scan->isHidden());
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
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, background);
        parent.setPalette(palette);
        auto *button = new ThumbnailOverlayButton(QStringLiteral("square.and.arrow.up"), QStringLiteral("Share"),
                                                  hoverColor, &parent);
        parent.resize(40, 40);
        parent.show();
        const auto fill = [&] { return parent.grab().toImage().pixel(5, 13); };
        QVERIFY2(near(fill(), QColor(120, 120, 120)), describe(fill()));
        hover(button);
        QTRY_VERIFY2(near(fill(), expected), describe(fill()));
    }

    void doubleClickOpensAndTheContextMenuChoosesAFrame()
    {
        View v(itemWithImage(200, 200, Qt::white));
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
    }

    void dragOffersACopyOfTheFile()
    {
        const ScreenshotItem item = itemWithImage(10, 10, Qt::red);
        const ThumbnailView::DragOffer offer = ThumbnailView::dragOffer(item);
        QCOMPARE(offer.actions, Qt::DropActions(Qt::CopyAction));
        QCOMPARE(offer.defaultAction, Qt::CopyAction);
        QVERIFY(offer.mimeData->hasFormat(QStringLiteral("text/uri-list")));
        QCOMPARE(offer.mimeData->urls(), QList<QUrl>{item.url});
    }
};

QTEST_MAIN(ThumbnailViewTest)
#include "test_thumbnail_view.moc"
