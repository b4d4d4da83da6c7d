// The settings window offscreen, against real preference, autostart and
// saved files in a temporary folder, with shortened delays.

#include "common/ColorScheme.h"
#include "common/SchemePalette.h"
#include "common/Style.h"
#include "desktop/XdgAutostart.h"
#include "editor/AnnotationEditorView.h"
#include "editor/AnnotationEditorWindowController.h"
#include "editor/EditorToolbar.h"
#include "editor/GlassButton.h"
#include "library/LibraryDetailPane.h"
#include "library/LibraryView.h"
#include "picker/ColorPickerView.h"
#include "search/SqliteCaptureIndex.h"
#include "settings/SettingsRow.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWindowController.h"
#include "shell/AppDelegate.h"
#include "shell/HoverPanel.h"
#include "shell/HoverPreviewView.h"
#include "upload/ImgurClientId.h"
#include "viewer/ContentView.h"
#include "viewer/UploadButton.h"
#include "CachedRemoteConfig.h"
#include "MonitorFixture.h"
#include "TestSupport.h"
#include "WidgetSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTranslator>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace TestSupport;
using std::chrono::milliseconds;

namespace {

struct Settings {
    MonitorFixture fixture;
    QString configHome = fixture.root.path() + QStringLiteral("/xdg-config");
    XdgAutostart autostart{configHome, QStringLiteral("/opt/tarnwick/bin/tarnwick")};
    std::unique_ptr<ImgurClientId> clientId;
    std::unique_ptr<RemoteConfigManager> config;
    std::function<void(bool)> indexSwitched;

    Settings() { fixture.start(); }

    ScreenshotMonitor &monitor() { return *fixture.monitor; }

    SettingsView &open()
    {
        clientId = std::make_unique<ImgurClientId>(fixture.preferences.get());
        SettingsWindowController::open({.monitor = fixture.monitor.get(),
                                        .preferences = fixture.preferences.get(),
                                        .remoteConfig = config.get(),
                                        .loginItem = &autostart,
                                        .imgurClientId = clientId.get(),
                                        .textIndexSwitched = indexSwitched,
                                        .timings = {milliseconds(60), milliseconds(60), milliseconds(20)}});
        SettingsView *view = SettingsWindowController::view();
        if (!QTest::qWaitFor([view] { return view->hasStatistics(); }, 5000))
            qFatal("the statistics were never read");
        return *view;
    }

    void close() { delete SettingsWindowController::window(); }

    ~Settings()
    {
        close();
        fixture.monitor->waitForBackgroundWork();
    }

    QString saveFiles(const QString &folder, int count)
    {
        QString last;
        for (int i = 0; i < count; ++i)
            last = writePng(folder + QStringLiteral("/shot-%1.png").arg(i), makeImage(40, 30, Qt::red, i));
        return last;
    }
};

// Every text it is asked for, wrapped in brackets and made 30 % longer, as
// many languages are: what shows without them never went through a
// translation.
class PseudoTranslator : public QTranslator
{
public:
    QString translate(const char *, const char *source, const char *, int) const override
    {
        const QString text = QString::fromUtf8(source);
        if (text.contains(QLatin1Char('%')))  // arguments keep their places
            return QLatin1Char('[') + text + QLatin1Char(']');
        return QLatin1Char('[') + text + QString(int(text.size() * 0.3), QLatin1Char('~')) + QLatin1Char(']');
    }
};

// What window shows that a translation missed or would cut off: a label,
// button, placeholder, tool tip or name with letters and no brackets (file
// names and colour values aside), or a label or button whose text no longer
// fits the room the layout gave it or that reaches past the window's sides.
QStringList textFaults(QWidget *window)
{
    static const QRegularExpression exempt(QStringLiteral("^[^A-Za-z]*$|\\.png$|^#[0-9A-F]{6}$"));
    QStringList faults;
    const auto checkTranslated = [&faults](const QString &text) {
        if (!text.contains(QLatin1Char('[')) && !exempt.match(text).hasMatch())
            faults << QStringLiteral("untranslated: ") + text;
    };
    checkTranslated(window->windowTitle());
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window))
            continue;
        checkTranslated(widget->toolTip());
        checkTranslated(widget->accessibleName());
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            checkTranslated(field->placeholderText());
        const auto *label = qobject_cast<QLabel *>(widget);
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        if (!label && !button)
            continue;
        const QString text = label ? label->text() : button->text();
        checkTranslated(text);
        const bool fits = label && label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                                     : widget->sizeHint().width() <= widget->width();
        if (!text.isEmpty() && !fits && !(label && label->textFormat() == Qt::RichText))
            faults << text + QStringLiteral(" (%1 wide, needs %2)").arg(widget->width()).arg(widget->sizeHint().width());
        const int left = widget->mapTo(window, QPoint()).x();
        if (!text.isEmpty() && (left < 0 || left + widget->width() > window->width()))
            faults << text + QStringLiteral(" (x %1 to %2, past the window)").arg(left).arg(left + widget->width());
    }
    return faults;
}

// The desktop's light or dark choice, as the test makes it.
class ChosenScheme : public ColorScheme
{
public:
    Preference choice = Preference::none;
    Preference preference() const override { return choice; }
    void choose(Preference preference)
    {
        choice = preference;
        Q_EMIT changed();
    }
};

// The contrast ratio of two colours by their relative luminance.
double contrast(QRgb a, QRgb b)
{
    const auto luminance = [](QRgb colour) {
        const auto linear = [](int value) {
            const double v = value / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// How the text painted in area stands out: the colour most of the area
// shows, against the pixel farthest from it.
double textContrast(const QImage &shot, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    const QRgb background = std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                                return a.second < b.second;
                            })->first;
    double best = 1;
    for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it)
        best = std::max(best, contrast(*it, background));
    return best;
}

// Where window shows text: the labels and buttons, or the menu's items.
QList<QRect> placesOf(QWidget *window, const QString &text)
{
    QList<QRect> places;
    if (auto *menu = qobject_cast<QMenu *>(window)) {
        for (QAction *action : menu->actions())
            if (action->text() == text)
                places << menu->actionGeometry(action);
        return places;
    }
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const auto *label = qobject_cast<QLabel *>(widget);
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        if (widget->isVisible() && ((label && label->text() == text) || (button && button->text() == text)))
            places << QRect(widget->mapTo(window, QPoint()), widget->size());
    }
    return places;
}

}  // namespace

class SettingsUiTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each click writes or removes the entry the switch then shows; the
    // switch reads it back at the next opening.
    void launchSwitch_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("afterClick");
        QTest::newRow("none") << QByteArray() << false << true;
        QTest::newRow("plain") << QByteArray("[Desktop Entry]\nType=Application\nExec=tarnwick\n") << true << false;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=tarnwick\nHidden=true\n") << false << true;
        QTest::newRow("hidden false") << QByteArray("[Desktop Entry]\nExec=tarnwick\nHidden=false\n") << true << false;
        // A file where the folder should be: nobody, not even root, can write into it.
        QTest::newRow("unwritable folder: the switch returns") << QByteArray("in the way") << false << false;
    }

    void launchSwitch()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, on);
        QFETCH(bool, afterClick);
        Settings settings;
        if (entry == "in the way")
            writeBytes(settings.configHome + QStringLiteral("/autostart"), entry);
        else if (!entry.isEmpty())
            writeBytes(settings.autostart.filePath(), entry);
        QCheckBox *launch = settings.open().launchSwitch();
        QCOMPARE(launch->isChecked(), on);
        launch->click();
        QCOMPARE(launch->isChecked(), afterClick);
        QCOMPARE(QFile::exists(settings.autostart.filePath()), afterClick);
        if (afterClick)
            QVERIFY(readBytes(settings.autostart.filePath()).contains("\nExec=\"/opt/tarnwick/bin/tarnwick\"\n"));
        settings.close();
        QCOMPARE(settings.open().launchSwitch()->isChecked(), afterClick);
    }

    // The settings by keyboard alone: Tab walks every control top to
    // bottom, Space and Return press the focused one, Escape closes.
    void keyboard()
    {
        Settings settings;
        SettingsView &view = settings.open();
        QVERIFY(QTest::qWaitForWindowActive(view.window()));
        const QStringList order{u"Launch at Login"_s, u"Save Local Copies"_s, u"Capture Phone Clipboard"_s,
                                u"Capture Any Copied Image"_s, u"Index Text for Search"_s, u"imgurClientIdField"_s,
                                u"Open System Settings…"_s, u"Sync Now"_s, u"Clear All"_s};
        QCOMPARE(WidgetSupport::controlName(QApplication::focusWidget()), order.first());
        QCOMPARE(WidgetSupport::tabWalk(order.size()), order.mid(1) << order.first());
        QCOMPARE(WidgetSupport::tabWalk(order.size(), true), QStringList(order.crbegin(), order.crend()));
        for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape}) {  // on Launch at Login
            QTest::keyClick(QApplication::focusWidget(), key);
            QTRY_COMPARE(QFile::exists(settings.autostart.filePath()), key == Qt::Key_Space);
        }
        QTRY_VERIFY(!SettingsWindowController::window());
    }

    void flagsHideRows_data()
    {
        QTest::addColumn<bool>("localBackup");
        QTest::addColumn<bool>("phoneCapture");
        QTest::newRow("both") << true << true;
        QTest::newRow("no local copies") << false << true;
        QTest::newRow("no phone capture") << true << false;
    }

    void flagsHideRows()
    {
        QFETCH(bool, localBackup);
        QFETCH(bool, phoneCapture);
        Settings settings;
        RemoteConfig config;
        config.feature_flags.local_backup_enabled = localBackup;
        config.feature_flags.iphone_clipboard_capture_enabled = phoneCapture;
        settings.config = cachedConfigManager(settings.fixture.root.path() + QStringLiteral("/config-cache"), config);
        SettingsView &view = settings.open();
        QCOMPARE(view.localCopiesRow()->isVisibleTo(&view), localBackup);
        QCOMPARE(view.phoneRow()->isVisibleTo(&view), phoneCapture);
    }

    // The count is read again when the switch goes off: files saved after the
    // window opened are counted too.
    void disablingLocalCopiesAsksFirst_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("one, cancelled") << 1 << "This will permanently delete 1 saved image (" << false;
        QTest::newRow("three, deleted") << 3 << "This will permanently delete 3 saved images (" << true;
    }

    void disablingLocalCopiesAsksFirst()
    {
        QFETCH(int, files);
        QFETCH(QString, message);
        QFETCH(bool, confirm);
        Settings settings;
        settings.fixture.preferences->setBool(Preferences::saveLocalCopiesKey, true);
        SettingsView &view = settings.open();
        const QString saved = settings.fixture.folders.savedShots;
        settings.saveFiles(saved, files);

        view.localCopiesSwitch()->click();
        QTRY_VERIFY(view.disableDialog());
        QMessageBox *dialog = view.disableDialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Disable Save Local Copies?"));
        QVERIFY2(dialog->text().startsWith(message), qPrintable(dialog->text()));
        QVERIFY(dialog->text().endsWith(QStringLiteral(") from Tarnwick's library.")));
        QVERIFY(view.localCopiesSwitch()->isChecked());

        const QString choice = confirm ? QStringLiteral("Disable and Delete Saved Files") : QStringLiteral("Cancel");
        WidgetSupport::buttonTitled(dialog, choice)->click();
        QTRY_VERIFY(!view.disableDialog());
        QCOMPARE(view.localCopiesSwitch()->isChecked(), !confirm);
        QCOMPARE(settings.fixture.preferences->saveLocalCopies(), !confirm);
        QTRY_COMPARE(int(QDir(saved).entryList(QDir::Files).size()), confirm ? 0 : files);
    }

    // A press that lapses clears nothing; two in a row clear the clipboard's own files.
    void clearAllNeedsTwoPresses()
    {
        Settings settings;
        const QString clipboardShot = settings.saveFiles(settings.fixture.folders.clipboardShots, 1);
        const QString elsewhere = settings.saveFiles(settings.fixture.shots, 1);
        settings.monitor().addScreenshots({elsewhere, clipboardShot});
        QTRY_COMPARE(settings.monitor().screenshots().size(), 2);
        QPushButton *clear = settings.open().clearButton();

        clear->click();
        QCOMPARE(clear->text(), QStringLiteral("Confirm?"));
        QTRY_COMPARE(clear->text(), QStringLiteral("Clear All"));
        QTest::qWait(50);
        QCOMPARE(settings.monitor().screenshots().size(), 2);
        QVERIFY(QFile::exists(clipboardShot));

        clear->click();
        QCOMPARE(clear->text(), QStringLiteral("Confirm?"));
        clear->click();
        QTRY_COMPARE(settings.monitor().screenshots().size(), 0);
        QCOMPARE(clear->text(), QStringLiteral("Clear All"));
        QVERIFY(!QFile::exists(clipboardShot));
        QVERIFY(QFile::exists(elsewhere));
    }

    void syncShowsDoneForAMoment()
    {
        Settings settings;
        QPushButton *sync = settings.open().syncButton();
        sync->click();
        QCOMPARE(sync->text(), QStringLiteral("Done!"));
        QTRY_COMPARE(sync->text(), QStringLiteral("Sync Now"));
    }

    // Each click writes the state the switch then shows, once.
    void captureSwitchesWriteWhatTheyShow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("phone clipboard") << "phone";
        QTest::newRow("any copied image") << "any";
        QTest::newRow("index text for search, the indexer told") << "index";
    }

    void captureSwitchesWriteWhatTheyShow()
    {
        QFETCH(QString, name);
        Settings settings;
        QList<bool> told;
        settings.indexSwitched = [&told](bool on) { told << on; };
        SettingsView &view = settings.open();
        QCheckBox *box = name == "phone" ? view.phoneSwitch() : name == "any" ? view.anyImageSwitch()
                                                                                 : view.textIndexSwitch();
        const auto stored = [&] {
            const Preferences &preferences = *settings.fixture.preferences;
            return name == "phone" ? preferences.isClipboardCaptureEnabled()
                 : name == "any"   ? !preferences.clipboardScreenshotsOnly()
                                   : preferences.isTextIndexEnabled();
        };
        QCOMPARE(box->isChecked(), stored());
        for (int i = 0; i < 2; ++i) {
            const bool before = box->isChecked();
            box->click();
            QCOMPARE(box->isChecked(), !before);
            QCOMPARE(stored(), !before);
        }
        QCOMPARE(told, name == "index" ? (QList<bool>{false, true}) : QList<bool>());
    }

    void clientIdFieldDrivesTheUploadControls_data()
    {
        QTest::addColumn<QString>("typed");  // stored trimmed
        QTest::addColumn<bool>("offered");
        QTest::newRow("plain") << "0123abcdEF" << true;
        QTest::newRow("spaces around") << "  0123abcdEF \t" << true;
        QTest::newRow("cleared") << "" << false;
        QTest::newRow("header injection") << "0123abcd\r\nX-Evil: 1" << false;
        QTest::newRow("punctuation") << "0123-abcd-ef" << false;
        QTest::newRow("too short") << "abc12" << false;
    }

    // The popover, the library and the editor follow the id while they are open.
    void clientIdFieldDrivesTheUploadControls()
    {
        QFETCH(QString, typed);
        QFETCH(bool, offered);
        Settings settings;
        settings.fixture.addShots(1);
        QLineEdit *field = settings.open().clientIdField();
        ContentView popover({.monitor = &settings.monitor(), .imgurClientId = settings.clientId.get()});
        popover.show();
        LibraryView library({.monitor = &settings.monitor(), .imgurClientId = settings.clientId.get()});
        library.show();
        AnnotationEditorWindowController::setUploads({settings.clientId.get(), {}});
        QPointer<QWidget> editor =
            AnnotationEditorWindowController::open(settings.monitor().screenshots().constFirst().filePath(), nullptr);
        const auto shownAfterTyping = [&](const QString &text) {
            field->setText(text);
            Q_EMIT field->editingFinished();
            auto *popoverUpload = popover.findChild<UploadButton *>();
            const EditorToolbar *toolbar = AnnotationEditorWindowController::view()->toolbar();
            return QList<bool>{popoverUpload && popoverUpload->isVisibleTo(&popover),
                               library.detail()->uploadButton()->isVisibleTo(&library),
                               toolbar->uploadButton()->isVisibleTo(editor)};
        };
        QCOMPARE(shownAfterTyping(QString()), QList<bool>(3, false));
        // A valid id first, so that each row also shows the change back.
        QCOMPARE(shownAfterTyping(u"validId123"_s), QList<bool>(3, true));
        QCOMPARE(shownAfterTyping(typed), QList<bool>(3, offered));
        QCOMPARE(settings.fixture.preferences->stringValue(Preferences::imgurClientIdKey), typed.trimmed());
        QCOMPARE(field->text(), typed.trimmed());
        QCOMPARE(settings.clientId->effective(), offered ? typed.trimmed() : QString());
        AnnotationEditorWindowController::setUploads({});
        delete editor;
        popover.actions()->waitForBackgroundWork();
        library.actions()->waitForBackgroundWork();
    }

    // Each window, built under a pseudo-translation, shows no text that was
    // left out (only file names and texts without letters: numbers, times)
    // and cuts none off. Built light, then dark as the desktop asks, then
    // light again, its main texts stand out at 4.5:1 or more in all three.
    void windowTexts_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("texts");  // "@name": the capture's file name
        QTest::newRow("popover") << "popover" << QStringList{"Tarnwick", "@name", "Copy", "Open"};
        QTest::newRow("hover panel") << "hover" << QStringList{"@name"};
        QTest::newRow("library") << "library" << QStringList{"@name", "Copy Text", "Annotate"};
        QTest::newRow("settings") << "settings" << QStringList{"Tarnwick", "Launch at Login", "Index Text for Search"};
        QTest::newRow("colour picker") << "picker" << QStringList{"Color Picker", "Copy"};
        QTest::newRow("annotation editor") << "editor" << QStringList{"Arrow"};
        QTest::newRow("tray menu") << "menu" << QStringList{"Show Screenshots", "Quit"};
    }

    void windowTexts()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, texts);
        PseudoTranslator pseudo;
        QCoreApplication::installTranslator(&pseudo);
        const auto restore = qScopeGuard([&pseudo] {
            QCoreApplication::removeTranslator(&pseudo);
            QApplication::setPalette(QPalette());
        });
        ChosenScheme scheme;
        const SchemePalette palette(&scheme);
        Settings settings;
        settings.fixture.addShots(1);
        const ScreenshotItem item = settings.monitor().screenshots().front();
        SqliteCaptureIndex index(settings.fixture.root.filePath(QStringLiteral("index.sqlite")));
        std::unique_ptr<QWidget> owned;
        std::unique_ptr<AppDelegate> delegate;
        QWidget *shown = nullptr;
        if (window == "popover") {
            owned = std::make_unique<ContentView>(ContentView::Dependencies{.monitor = &settings.monitor()});
            owned->resize(360, 480);  // the popover's size
        } else if (window == "hover") {
            owned = std::make_unique<HoverPanel>(new HoverPreviewView(item));
        } else if (window == "library") {
            owned = std::make_unique<LibraryView>(
                LibraryView::Dependencies{.monitor = &settings.monitor(), .captureIndex = &index});
            owned->resize(720, 480);  // the library window's fixed size
        } else if (window == "settings") {
            shown = settings.open().window();
        } else if (window == "picker") {
            owned = std::make_unique<ColorPickerView>(item.filePath());
        } else if (window == "editor") {
            owned = std::make_unique<AnnotationEditorView>(item.filePath(),
                                                           AnnotationActions::Dependencies{.monitor = &settings.monitor()});
        } else {
            delegate = std::make_unique<AppDelegate>(&settings.monitor(), AppDelegate::Services{nullptr, [] {}},
                                                     AppDelegate::Timings{});
            delegate->applicationDidFinishLaunching();
            delegate->menu()->popup(QPoint(10, 10));
            shown = delegate->menu();
        }
        if (owned) {
            shown = owned.get();
            shown->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        if (auto *editor = qobject_cast<AnnotationEditorView *>(shown))
            QTRY_VERIFY(editor->isLoaded());
        if (auto *picker = qobject_cast<ColorPickerView *>(shown))
            QTRY_VERIFY(picker->isLoaded());
        const QStringList faults = textFaults(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(" | "))));
        for (const ColorScheme::Preference choice : {ColorScheme::Preference::none, ColorScheme::Preference::dark,
                                                     ColorScheme::Preference::none}) {
            scheme.choose(choice);
            QCOMPARE(Style::isDark(QApplication::palette()), choice == ColorScheme::Preference::dark);
            // The windows hear of a new palette through the event loop.
            QTRY_COMPARE(shown->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
            // Painted over the window colour, as the screen shows a translucent window.
            QImage shot(shown->size(), QImage::Format_RGB32);
            shot.fill(QApplication::palette().color(QPalette::Window));
            QPainter(&shot).drawPixmap(0, 0, shown->grab());
            for (const QString &text : texts) {
                const QString translated = pseudo.translate(nullptr, qPrintable(text), nullptr, -1);
                const QList<QRect> places = placesOf(shown, text == "@name" ? item.url.fileName() : translated);
                QVERIFY2(!places.isEmpty(), qPrintable(text));
                for (const QRect &place : places) {
                    const double ratio = textContrast(shot, place & shot.rect());
                    // 4.5:1, less what rounding a blend to whole 8-bit values takes away.
                    const QString shade = choice == ColorScheme::Preference::dark ? u"dark"_s : u"light"_s;
                    QVERIFY2(ratio >= 4.49,
                             qPrintable(QStringLiteral("%1 in %2: %3:1").arg(text, shade).arg(ratio, 0, 'f', 1)));
                }
            }
        }
        if (auto *view = qobject_cast<ContentView *>(shown))
            view->actions()->waitForBackgroundWork();
        if (auto *library = qobject_cast<LibraryView *>(shown))
            library->actions()->waitForBackgroundWork();
    }
};

QTEST_MAIN(SettingsUiTest)
#include "test_settings_ui.moc"
