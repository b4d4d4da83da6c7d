// Every window that shows a capture, at twice the pixels per point: a capture
// as large as the drawn area in device pixels must keep each pixel crisp. It
// is one device row short, so that centring it puts it half a device pixel
// off the grid unless it is placed on whole device pixels.

#include "annotation/AnnotationDocument.h"
#include "editor/AnnotationCanvas.h"
#include "library/LibraryPreview.h"
#include "picker/PickerImageArea.h"
#include "shell/HoverPreviewView.h"
#include "viewer/ThumbnailView.h"

#include <QApplication>
#include <QLayout>
#include <QTest>

#include <memory>

namespace {

// Builds a window showing capture; returns the widget that draws it.
using Build = QWidget *(*)(const QImage &capture);

ScreenshotItem itemOf(const QImage &capture)
{
    ScreenshotItem item;
    item.url = QUrl::fromLocalFile(QStringLiteral("/shots/Screenshot 1.png"));
    item.thumbnail = capture;
    return item;
}

}  // namespace

Q_DECLARE_METATYPE(Build)

class HiDpiUiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void capturesKeepEveryDevicePixel_data()
    {
        QTest::addColumn<Build>("build");
        QTest::addColumn<int>("inset");  // around the drawn area, in points
        QTest::newRow("popover") << Build([](const QImage &capture) -> QWidget * {
            auto *view = new ThumbnailView;
            view->setItem(itemOf(capture));
            return view;
        }) << 0;
        QTest::newRow("hover panel") << Build([](const QImage &capture) {
            return (new HoverPreviewView(itemOf(capture)))->layout()->itemAt(0)->widget();
        }) << 0;
        QTest::newRow("library") << Build([](const QImage &capture) -> QWidget * {
            auto *preview = new LibraryPreview;
            preview->setImage(capture, QString());
            return preview;
        }) << 4;
        QTest::newRow("picker") << Build([](const QImage &capture) -> QWidget * {
            auto *area = new PickerImageArea;
            area->setImage(PickerImage::fromImage(capture));
            return area;
        }) << 0;
        QTest::newRow("editor") << Build([](const QImage &capture) -> QWidget * {
            auto *document = new AnnotationDocument;
            auto *canvas = new AnnotationCanvas(capture, document);
            document->setParent(canvas);
            return canvas;
        }) << 0;
    }

    void capturesKeepEveryDevicePixel()
    {
        QFETCH(Build, build);
        QFETCH(int, inset);
        const QSize size(200, 124);
        const QRect area = QRect(QPoint(), size).adjusted(inset, inset, -inset, -inset);
        const qreal ratio = qApp->devicePixelRatio();
        QVERIFY(ratio > 1);
        const QRect device(area.topLeft() * ratio, area.size() * ratio - QSize(0, 1));
        QImage checker(device.size(), QImage::Format_RGB32);  // one-pixel squares
        for (int y = 0; y < checker.height(); ++y)
            for (int x = 0; x < checker.width(); ++x)
                checker.setPixel(x, y, (x + y) % 2 ? 0xffffffff : 0xff000000);
        QWidget *picture = build(checker);
        const std::unique_ptr<QWidget> window(picture->window());
        picture->setFixedSize(size);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (QWidget *overlay : picture->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            overlay->hide();  // buttons and badges over the capture are not judged
        const QImage shot = picture->grab().toImage();
        const auto gray = [&](int x, int y) { return qGray(shot.pixel(device.topLeft() + QPoint(x, y))); };
        int crisp = 0;  // black beside white: neither a blend of the two nor a plain background
        for (int y = 0; y < checker.height(); ++y)
            for (int x = 1; x < checker.width(); ++x)
                crisp += std::abs(gray(x, y) - gray(x - 1, y)) > 200;
        // Rounded corners and outlines take a few.
        QCOMPARE_GE(crisp, checker.width() * checker.height() * 98 / 100);
    }
};

QTEST_MAIN(HiDpiUiTest)
#include "test_hidpi_ui.moc"
