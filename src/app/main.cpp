// Composition root: builds the desktop services, hands them to the capture
// core and the shell, and forwards commands to an instance already running.

#include "AnalysisCommands.h"
#include "analysis/TesseractTextRecognizer.h"
#include "analysis/ZxingCodeDetector.h"
#include "capture/InotifyFolderWatcher.h"
#include "capture/LocalFolders.h"
#include "capture/Preferences.h"
#include "capture/DesktopClipboard.h"
#include "capture/ScreenshotItem.h"
#include "capture/ScreenshotMonitor.h"
#include "capture/SpectacleListener.h"
#include "capture/Thumbnailer.h"
#include "capture/XdgScreenshotFolderLocator.h"
#include "common/Accessibility.h"
#include "common/SchemePalette.h"
#include "common/Symbols.h"
#include "common/UserImageFile.h"
#include "config/RemoteConfigManager.h"
#include "desktop/Compositor.h"
#include "desktop/DesktopColorScheme.h"
#include "desktop/DesktopPanelAppearance.h"
#include "desktop/DesktopWorkspace.h"
#include "desktop/KeyboardSettings.h"
#include "desktop/XdgAutostart.h"
#include "editor/AnnotationEditorWindowController.h"
#include "hotkey/DesktopHotKey.h"
#include "picker/ColorPickerWindowController.h"
#include "search/ChildProcessCaptureReader.h"
#include "search/IndexedTextRecognizer.h"
#include "search/RecognizerCaptureReader.h"
#include "search/SqliteCaptureIndex.h"
#include "search/TextIndexer.h"
#include "session/AllocatorTuning.h"
#include "session/IdleMemoryRelease.h"
#include "session/DBusService.h"
#include "shell/AppDelegate.h"
#include "upload/ImgurClientId.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <sched.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Engines of the search index's reader. It runs only when the processor is
// otherwise idle, so the second takes no time from anything else, and reads
// a capture in some 60 % of the time of one.
constexpr int kIndexEngines = 2;

struct Command {
    bool toggle = false;
    bool screenshotTaken = false;
    QString pickColor;  // absolute path of the image to pick colours from
    QString annotate;   // absolute path of the image to annotate
    bool library = false;
    bool settings = false;
};

// Help texts, in the user's language: handOff installs the translators first.
QString help(const char *text)
{
    return QCoreApplication::translate("main", text);
}

struct Options {
    QCommandLineOption toggle{QStringLiteral("toggle"),
                              help(QT_TRANSLATE_NOOP("main", "Show or hide the screenshot popover."))};
    QCommandLineOption taken{QStringLiteral("screenshot-taken"),
                             help(QT_TRANSLATE_NOOP("main", "Tell Tarnwick that a screenshot is being saved."))};
    QCommandLineOption text{QStringLiteral("text"),
                            help(QT_TRANSLATE_NOOP("main", "Print the text recognised in the image FILE, as Copy "
                                                           "Text copies it, and exit.")),
                            help(QT_TRANSLATE_NOOP("main", "FILE"))};
    QCommandLineOption codes{QStringLiteral("codes"),
                             help(QT_TRANSLATE_NOOP("main", "Print the QR codes and bar codes found in the image FILE, "
                                                            "one JSON object per line ({\"box\": [x, y, w, h], "
                                                            "\"format\", \"text\"}, box relative to the image size, "
                                                            "text null when unreadable), and exit.")),
                             help(QT_TRANSLATE_NOOP("main", "FILE"))};
    QCommandLineOption search{QStringLiteral("search"),
                              help(QT_TRANSLATE_NOOP("main", "Print the captures whose text holds every one of WORDS "
                                                             "(each matched as the start of a word), newest first, one "
                                                             "JSON object per line ({\"path\", \"snippet\"}), and "
                                                             "exit.")),
                              help(QT_TRANSLATE_NOOP("main", "WORDS"))};
    QCommandLineOption pickColor{QStringLiteral("pick-color"),
                                 help(QT_TRANSLATE_NOOP("main", "Pick colours from the image FILE.")),
                                 help(QT_TRANSLATE_NOOP("main", "FILE"))};
    QCommandLineOption annotate{QStringLiteral("annotate"), help(QT_TRANSLATE_NOOP("main", "Annotate the image FILE.")),
                                help(QT_TRANSLATE_NOOP("main", "FILE"))};
    QCommandLineOption library{QStringLiteral("library"), help(QT_TRANSLATE_NOOP("main", "Open the library window."))};
    QCommandLineOption settings{QStringLiteral("settings"),
                                help(QT_TRANSLATE_NOOP("main", "Open the settings window."))};
    // The search index's reader, which this program starts for itself.
    QCommandLineOption readCaptures{QStringLiteral("read-captures")};
};

void describe(QCommandLineParser &parser, Options &options)
{
    parser.setApplicationDescription(
        help(QT_TRANSLATE_NOOP("main", "Keeps every screenshot you take at hand.\n--text, --codes and --search "
                                       "work without a display or a running instance.")));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(options.toggle);
    parser.addOption(options.taken);
    parser.addOption(options.text);
    parser.addOption(options.codes);
    parser.addOption(options.search);
    parser.addOption(options.pickColor);
    parser.addOption(options.annotate);
    parser.addOption(options.library);
    parser.addOption(options.settings);
    options.readCaptures.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(options.readCaptures);
}

// The image for --pick-color and --annotate, made absolute here: a running
// instance does not share this process's working folder. None, with a line
// on stderr, when it cannot be read; nothing is forwarded then.
std::optional<QString> pickableFile(const QString &argument)
{
    const QString path = QFileInfo(argument).absoluteFilePath();
    const QString problem = UserImageFile::problem(path);
    if (problem.isEmpty())
        return path;
    std::fprintf(stderr, "tarnwick: %s: %s\n", qPrintable(problem), qPrintable(path));
    return std::nullopt;
}

// --text, --codes and --search: answered by this process alone.
std::optional<int> analyse(const QCommandLineParser &parser, const Options &options)
{
    if (parser.isSet(options.codes)) {
        const ZxingCodeDetector detector;
        return AnalysisCommands::printCodes(detector, parser.value(options.codes));
    }
    if (parser.isSet(options.text)) {
        const TesseractTextRecognizer recognizer({}, 2);
        const int code = AnalysisCommands::printText(recognizer, parser.value(options.text));
        // Taking the engines down at exit takes longer than anything else
        // after the text: the process ends without.
        std::fflush(stdout);
        std::_Exit(code);
    }
    if (parser.isSet(options.readCaptures)) {
        // Runs only when nothing else wants the processor.
        const sched_param param{};
        sched_setscheduler(0, SCHED_IDLE, &param);
        const TesseractTextRecognizer recognizer({}, kIndexEngines);
        const ZxingCodeDetector detector;
        const int code = ChildProcessCaptureReader::serve(RecognizerCaptureReader(recognizer, &detector));
        std::fflush(stdout);
        std::_Exit(code);
    }
    if (parser.isSet(options.search)) {
        // Read-only: a running instance may be writing the index meanwhile.
        SqliteCaptureIndex index(SqliteCaptureIndex::standardFilePath());
        const std::optional<QString> problem = index.openReadOnly();
        const QStringList words = QStringList{parser.value(options.search)} + parser.positionalArguments();
        return AnalysisCommands::printSearch(index, problem, words.join(QLatin1Char(' ')));
    }
    return std::nullopt;
}

// The program's texts for the user's language, built in under :/i18n, and
// Qt's own (dialog buttons, context menus, --help) from the system when installed.
void installTranslations(QCoreApplication &app)
{
    auto *own = new QTranslator(&app);
    if (own->load(QLocale(), QStringLiteral("tarnwick"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(own);
    auto *qt = new QTranslator(&app);
    if (qt->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

// Handles --help, --version, --text, --codes and --search, and hands --toggle /
// --screenshot-taken / --pick-color / --annotate / --library / --settings to
// a running instance. Returns an exit code when this process is done.
std::optional<int> handOff(int argc, char **argv, Command &command)
{
    QCoreApplication probe(argc, argv);
    probe.setApplicationName(QStringLiteral("tarnwick"));
    probe.setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    installTranslations(probe);
    QCommandLineParser parser;
    Options options;
    describe(parser, options);
    parser.process(probe);  // exits for --help, --version and unknown options
    if (const auto done = analyse(parser, options))
        return done;
    command.toggle = parser.isSet(options.toggle);
    command.screenshotTaken = parser.isSet(options.taken);
    command.library = parser.isSet(options.library);
    command.settings = parser.isSet(options.settings);
    bool forwarded = false;
    if (command.library)
        forwarded = DBusService::callRunningInstance(QStringLiteral("Library"));
    if (command.settings)
        forwarded = DBusService::callRunningInstance(QStringLiteral("Settings")) || forwarded;
    if (parser.isSet(options.pickColor)) {
        const std::optional<QString> file = pickableFile(parser.value(options.pickColor));
        if (!file)
            return 1;
        command.pickColor = *file;
        forwarded = DBusService::callRunningInstance(QStringLiteral("PickColor"), 0, {command.pickColor});
    }
    if (parser.isSet(options.annotate)) {
        const std::optional<QString> file = pickableFile(parser.value(options.annotate));
        if (!file)
            return 1;
        command.annotate = *file;
        forwarded = DBusService::callRunningInstance(QStringLiteral("Annotate"), 0, {command.annotate}) || forwarded;
    }
    if (command.screenshotTaken)
        forwarded = DBusService::callRunningInstance(QStringLiteral("ScreenshotTaken"));
    if (command.toggle)
        forwarded = DBusService::callRunningInstance(QStringLiteral("Toggle")) || forwarded;
    // Launching again while running brings the popover up in the running instance.
    if (!command.toggle && !command.screenshotTaken && command.pickColor.isEmpty() && command.annotate.isEmpty()
        && !command.library && !command.settings)
        forwarded = DBusService::callRunningInstance(QStringLiteral("Toggle"));
    if (forwarded)
        return 0;
    return std::nullopt;
}

void preferX11Clipboard()
{
    // The windows stay on X11 in every session: only there can the popover be
    // placed under the tray. The clipboard is chosen on its own (DesktopClipboard).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char **argv)
{
    AllocatorTuning::mapLargeBuffers();
    Command command;
    if (const auto done = handOff(argc, argv, command))
        return *done;
    // Not for --text: its two engines, reading a page at once, would contend
    // for one arena, which makes it a few percent slower.
    AllocatorTuning::shareArenas();

    preferX11Clipboard();
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Tarnwick"));
    app.setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    app.setDesktopFileName(QStringLiteral("com.tarnwick.Tarnwick"));
    installTranslations(app);
    app.setWindowIcon(Symbols::appIcon());
    app.setQuitOnLastWindowClosed(false);
    Accessibility::install();

    const DBusService::Claim claim = DBusService::claimName();
    switch (claim) {
    case DBusService::Claim::claimed:
        break;
    case DBusService::Claim::taken: {
        // Another instance started at the same moment won the name: hand it
        // the command and leave, never running beside it.
        if (!command.pickColor.isEmpty())
            return DBusService::callRunningInstance(QStringLiteral("PickColor"), 10000, {command.pickColor}) ? 0 : 1;
        if (!command.annotate.isEmpty())
            return DBusService::callRunningInstance(QStringLiteral("Annotate"), 10000, {command.annotate}) ? 0 : 1;
        if (command.library || command.settings)
            return DBusService::callRunningInstance(command.library ? QStringLiteral("Library")
                                                                    : QStringLiteral("Settings"),
                                                    10000)
                ? 0
                : 1;
        const QString method = command.screenshotTaken && !command.toggle ? QStringLiteral("ScreenshotTaken")
                                                                          : QStringLiteral("Toggle");
        return DBusService::callRunningInstance(method, 10000) ? 0 : 1;
    }
    case DBusService::Claim::noBus:
        std::fputs("tarnwick: no session bus; running alone, without the single-instance check and --toggle\n",
                   stderr);
        break;
    }

    // Before the first window is built, so that each starts in the desktop's scheme.
    DesktopColorScheme colorScheme;
    const SchemePalette schemePalette(&colorScheme);

    Preferences preferences(Preferences::standardFilePath());
    DesktopClipboard clipboard;
    InotifyFolderWatcher folderWatcher;
    XdgScreenshotFolderLocator folderLocator;

    ScreenshotMonitor::Dependencies deps;
    deps.preferences = &preferences;
    deps.clipboard = &clipboard;
    deps.folderWatcher = &folderWatcher;
    deps.folderLocator = &folderLocator;
    deps.folders = LocalFolders::standard();
    deps.thumbnailCacheDir = Thumbnailer::standardCacheDir();
    ScreenshotMonitor monitor(deps);
    IdleMemoryRelease memoryRelease;
    QObject::connect(&monitor, &ScreenshotMonitor::captureInserted, &memoryRelease, &IdleMemoryRelease::activity);

    const std::unique_ptr<GlobalHotKey> hotKey = DesktopHotKey::create();
    AppDelegate::Services services;
    services.hotKey = hotKey.get();
    DesktopPanelAppearance panel;
    services.panel = &panel;
    services.compositing = &Compositor::isRunning;
    services.refreshRemoteConfig = [] { RemoteConfigManager::shared().fetchRemote(); };
    DesktopWorkspace workspace;
    services.workspace = &workspace;
    services.remoteConfig = &RemoteConfigManager::shared();
    services.preferences = &preferences;
    const ZxingCodeDetector codeDetector;
    // Copy Text, which the user waits for, reads on two cores.
    const TesseractTextRecognizer textRecognizer({}, 2);
    // Opened by the indexer on its own thread: start-up never waits for the disk.
    SqliteCaptureIndex captureIndex(SqliteCaptureIndex::standardFilePath());
    const IndexedTextRecognizer copyTextRecognizer(textRecognizer, captureIndex);
    services.codeDetector = &codeDetector;
    services.textRecognizer = &copyTextRecognizer;
    // Its engine in a process of its own: once idle, the memory it took is all back.
    const ChildProcessCaptureReader captureReader(QCoreApplication::applicationFilePath());
    TextIndexer indexer({&monitor, &captureReader, &captureIndex});
    indexer.setEnabled(preferences.isTextIndexEnabled());
    services.textIndexSwitched = [&indexer](bool on) { indexer.setEnabled(on); };
    services.captureIndex = &captureIndex;
    services.textIndexer = &indexer;
    ImgurClientId imgurClientId(&preferences);
    services.imgurClientId = &imgurClientId;
    XdgAutostart autostart;
    services.loginItem = &autostart;
    services.openKeyboardSettings = &KeyboardSettings::open;
    AppDelegate delegate(&monitor, services, AppDelegate::Timings{});

    DBusService service(&monitor);
    service.setCaptureIndex(&captureIndex);
    if (claim == DBusService::Claim::claimed && !service.exportObject())
        std::fputs("tarnwick: could not export the session-bus object\n", stderr);
    QObject::connect(&service, &DBusService::toggleRequested, &delegate, &AppDelegate::togglePopover);
    QObject::connect(&service, &DBusService::screenshotTakenReported, &monitor,
                     &ScreenshotMonitor::screenshotEventFired);
    ColorPickerWindowController::setCopyText([&monitor](const QString &text) { monitor.copyTextToClipboard(text); });
    QObject::connect(&service, &DBusService::pickColorRequested, &delegate,
                     [](const QString &path) { ColorPickerWindowController::open(path); });
    AnnotationEditorWindowController::setUploads({&imgurClientId, services.imgur});
    QObject::connect(&service, &DBusService::annotateRequested, &delegate,
                     [&monitor](const QString &path) { AnnotationEditorWindowController::open(path, &monitor); });
    QObject::connect(&delegate, &AppDelegate::annotateRequested, &delegate, [&monitor](const ScreenshotItem &item) {
        AnnotationEditorWindowController::open(item, &monitor);
    });
    QObject::connect(&service, &DBusService::libraryRequested, &delegate, &AppDelegate::openLibrary);
    QObject::connect(&service, &DBusService::settingsRequested, &delegate, &AppDelegate::openSettings);
    SpectacleListener spectacle;
    QObject::connect(&spectacle, &SpectacleListener::screenshotTaken, &monitor,
                     &ScreenshotMonitor::screenshotEventFired);

    delegate.applicationDidFinishLaunching();
    if (command.screenshotTaken)
        monitor.screenshotEventFired();
    if (command.toggle)
        delegate.togglePopover();
    if (!command.pickColor.isEmpty())
        ColorPickerWindowController::open(command.pickColor);
    if (!command.annotate.isEmpty())
        AnnotationEditorWindowController::open(command.annotate, &monitor);
    if (command.library)
        delegate.openLibrary();
    if (command.settings)
        delegate.openSettings();
    return app.exec();
}
