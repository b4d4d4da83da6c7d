#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QTextBlock>
#include <QTest>
#include <QTextDocument>
#include <QWheelEvent>
#include <QWindow>
#include <QtMath>

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

// What names a control in the keyboard tests: its object name, else what it says.
inline QString controlName(const QWidget *widget)
{
    if (!widget)
        return QString();
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    for (const QString &name : {widget->objectName(), widget->accessibleName(), button ? button->text() : QString(),
                                widget->toolTip()}) {
        if (!name.isEmpty())
            return name;
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

// The controls the focus lands on at each of `steps` presses of Tab, or of
// Shift+Tab, in the active window.
inline QStringList tabWalk(int steps, bool backwards = false)
{
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
        names << controlName(QApplication::focusWidget());
    }
    return names;
}

// Tabs on until the named control has the focus; false when the walk comes round without it.
inline bool tabTo(const QString &name, int limit = 40)
{
    for (int i = 0; i < limit && controlName(QApplication::focusWidget()) != name; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return controlName(QApplication::focusWidget()) == name;
}

// Whether the middle of each edge of the widget, as drawn, is in `ring`'s colour.
inline bool showsRing(QWidget *widget, const QColor &ring)
{
    const QImage image = widget->grab().toImage();
    const int inset = qCeil(image.devicePixelRatio());
    const int w = image.width(), h = image.height();
    for (const QPoint at : {QPoint(w / 2, inset), QPoint(w / 2, h - 1 - inset), QPoint(inset, h / 2),
                            QPoint(w - 1 - inset, h / 2)}) {
        const QColor seen = image.pixelColor(at);
        if (qAbs(seen.red() - ring.red()) + qAbs(seen.green() - ring.green()) + qAbs(seen.blue() - ring.blue()) > 24)
            return false;
    }
    return true;
}

}  // namespace WidgetSupport
