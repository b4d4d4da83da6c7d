#include "common/Accessibility.h"

#include "capture/ScreenshotItem.h"
#include "common/AccessibleApplication.h"
#include "common/AccessibleControl.h"
#include "common/AccessibleWidgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QVariant>

namespace {

// Qt's own buttons already describe themselves; the ones this program
// paints derive from QAbstractButton directly.
bool paintsItself(const QObject *button)
{
    for (const char *standard : {"QPushButton", "QToolButton", "QCheckBox", "QRadioButton"}) {
        if (button->inherits(standard))
            return false;
    }
    return true;
}

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (object == qApp)
        return new AccessibleApplication;
    // Asked once per class from the most derived up: decide on the first call.
    if (!object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (auto *control = dynamic_cast<AccessibleControl *>(object))
        return new AccessibleControlWidget(widget, control);
    if (auto *button = qobject_cast<QAbstractButton *>(object); button && paintsItself(button))
        return new AccessibleButton(button);
    return nullptr;
}

}  // namespace

namespace Accessibility {

void install()
{
    QAccessible::installFactory(interfaceFor);
    // The bridge may already have asked for the application's interface
    // while the application object was being built: drop it so that the
    // next request gets the one that lists popups.
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    if (application && !dynamic_cast<AccessibleApplication *>(application)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(application));
        QAccessible::queryAccessibleInterface(qApp);
    }
}

QString pictureDescription(const ScreenshotItem &item)
{
    const QString when = item.formattedDate() + QLatin1Char(' ') + item.formattedTime();
    const QSize size = item.pixelSize();
    if (!size.isValid())
        return QCoreApplication::translate("Accessibility", "Screenshot from %1").arg(when);
    return QCoreApplication::translate("Accessibility", "Screenshot from %1, %2 \u00D7 %3")
        .arg(when)
        .arg(size.width())
        .arg(size.height());
}

QString colourName(const QColor &colour)
{
    return QCoreApplication::translate("Accessibility", "Color %1").arg(colour.name().toUpper());
}

void setChosen(QWidget *button, bool chosen)
{
    const QVariant before = button->property(AccessibleButton::chosenProperty);
    button->setProperty(AccessibleButton::chosenProperty, chosen);
    if (before.isValid() && before.toBool() != chosen)
        stateChanged(button);
}

void stateChanged(QWidget *widget)
{
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
    auto *control = dynamic_cast<AccessibleControlWidget *>(QAccessible::queryAccessibleInterface(widget));
    if (!control)
        return;
    for (QAccessibleInterface *part : control->parts()) {
        QAccessibleStateChangeEvent partEvent(part, changed);
        QAccessible::updateAccessibility(&partEvent);
    }
}

}  // namespace Accessibility
