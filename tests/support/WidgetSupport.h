#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QTextBlock>
#include <QTextDocument>
#include <QWheelEvent>
#include <QWindow>

// Helpers of the widget tests.
namespace WidgetSupport {

// The named descendant, without which the test cannot go on.
template <typename T = QWidget>
T *childNamed(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

// The first button under parent showing text; null if there is none.
template <typename Button = QAbstractButton>
Button *buttonTitled(const QObject *parent, const QString &text)
{
    for (Button *button : parent->findChildren<Button *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

// The colour each "·" of a label's text is drawn in: the label's own where
// the text does not give one.
inline QList<QRgb> dotColours(const QLabel *label)
{
    QTextDocument document;
    if (label->textFormat() == Qt::RichText)
        document.setHtml(label->text());
    else
        document.setPlainText(label->text());
    QList<QRgb> colours;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto run = block.begin(); !run.atEnd(); ++run) {
            const QTextCharFormat format = run.fragment().charFormat();
            const QColor colour = format.hasProperty(QTextFormat::ForegroundBrush)
                                      ? format.foreground().color()
                                      : label->palette().color(QPalette::WindowText);
            colours.append(QList<QRgb>(run.fragment().text().count(QChar(0xB7)), colour.rgba()));
        }
    }
    return colours;
}

// A horizontal wheel event inside window; without an angle, twice the pixels, as a touchpad sends it.
inline void sendWheel(QWindow *window, int dx, Qt::ScrollPhase phase, QPoint angle = {})
{
    const QPointF inside(50, 50);
    QWheelEvent event(inside, window->mapToGlobal(inside), QPoint(dx, 0), angle.isNull() ? QPoint(dx * 2, 0) : angle,
                      Qt::NoButton, Qt::NoModifier, phase, false);
    QCoreApplication::sendEvent(window, &event);
}

// A two-finger swipe: the moves of one gesture, then its end.
inline void swipe(QWindow *window, std::initializer_list<int> moves)
{
    for (const int dx : moves)
        sendWheel(window, dx, Qt::ScrollUpdate);
    sendWheel(window, 0, Qt::ScrollEnd);
}

}  // namespace WidgetSupport
