#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

// Screenshot-like images for the code detector and the text recogniser:
// a window's chrome painted with QPainter, with codes made by other encoders
// (qrencode, zint) pasted in, or blocks of ordinary English text.
namespace AnalysisScreens {

// Panels, a title bar and a sidebar, no text.
QImage window(QSize size, bool dark = false);

// Runs an encoder (qrencode or zint) that writes a PNG to outputPath; the
// image without quiet zone or caption, null on failure.
QImage encoded(const QString &program, QStringList arguments, const QString &outputPath);

// Pastes code at `at`, scaled by an integer factor, on a white quiet zone;
// returns the code's rectangle.
QRect paste(QImage &screen, const QImage &code, QPoint at, int scale = 1);

struct TextScreen {
    QImage image;
    QStringList lines;  // what is written, in reading order
};

// About `words` words of English in several cards of wrapped lines, text
// `pixelSize` pixels high.
TextScreen text(QSize size, bool dark, int pixelSize, int words);

// Share of the expected words found, in order, among the recognised ones.
double wordAccuracy(const QString &expected, const QString &recognised);

}  // namespace AnalysisScreens
