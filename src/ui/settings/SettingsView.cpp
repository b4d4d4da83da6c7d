#include "settings/SettingsView.h"

#include "capture/LocalCopies.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotItem.h"
#include "capture/ScreenshotMonitor.h"
#include "common/LoginItem.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "common/WindowKeys.h"
#include "config/RemoteConfigManager.h"
#include "settings/SettingsGroup.h"
#include "settings/SettingsRow.h"
#include "settings/SettingsSwitch.h"
#include "upload/ImgurClientId.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace {

QColor tile(const char *name)
{
    return QColor(QLatin1String(name));
}

QCheckBox *newSwitch(const QString &name)
{
    return new SettingsSwitch(name);
}

QPushButton *smallButton(const QString &text)
{
    auto *button = new QPushButton(text);
    button->setFont(Style::font(12));
    return button;
}

void tint(QPushButton *button, const std::optional<QColor> &color)
{
    const QString sheet = color ? QStringLiteral("color: %1;").arg(color->name()) : QString();
    Style::styleSheet(button, [sheet] { return sheet; });
}

}  // namespace

SettingsView::SettingsView(Dependencies deps, QWidget *parent)
    : QWidget(parent)
    , m_deps(std::move(deps))
{
    setObjectName(QStringLiteral("settingsView"));
    m_clearLapse.setSingleShot(true);
    m_clearLapse.setInterval(m_deps.timings.clearConfirmLapse);
    connect(&m_clearLapse, &QTimer::timeout, this, [this] { setClearConfirm(false); });
    m_syncDone.setSingleShot(true);
    m_syncDone.setInterval(m_deps.timings.syncDoneShown);
    connect(&m_syncDone, &QTimer::timeout, this, [this] {
        m_sync->setText(tr("Sync Now"));
        tint(m_sync, std::nullopt);
    });

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addSpacing(16);
    column->addWidget(buildLaunchGroup());
    column->addWidget(sectionLabel(tr("Capture")));
    column->addWidget(buildCaptureGroup());
    if (m_deps.imgurClientId) {
        column->addWidget(sectionLabel(tr("Uploads")));
        column->addWidget(buildUploadGroup());
    }
    column->addWidget(sectionLabel(tr("Permissions")));
    column->addWidget(buildShortcutGroup());
    column->addWidget(sectionLabel(tr("Actions")));
    column->addWidget(buildActionsGroup());
    column->addStretch();
    new WindowKeys(this, WindowKeys::Escape::closesWindow);

    if (m_deps.remoteConfig)
        connect(m_deps.remoteConfig, &RemoteConfigManager::configChanged, this, &SettingsView::refreshRows);
    refreshRows();
    refreshSwitches();
    readStatistics();
}

SettingsView::~SettingsView() = default;

QWidget *SettingsView::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    auto *icon = new QLabel(header);
    icon->setFixedSize(56, 56);
    icon->setAlignment(Qt::AlignCenter);
    icon->setPixmap(Symbols::pixmap(QStringLiteral("camera.on.rectangle"), Style::accent(palette()), {30, 30},
                                    devicePixelRatioF()));
    icon->setStyleSheet(QStringLiteral("background: %1; border-radius: 12px;")
                            .arg(Style::withAlpha(Style::accent(palette()), 0.12).name(QColor::HexArgb)));
    row->addWidget(icon);
    auto *texts = new QVBoxLayout;
    auto *name = new QLabel(tr("Tarnwick"), header);
    Style::apply(name, Style::font(22, QFont::Bold), Style::primary(palette()));
    texts->addWidget(name);
    auto *version = new QLabel(tr("Version %1").arg(QCoreApplication::applicationVersion()), header);
    version->setObjectName(QStringLiteral("versionLabel"));
    Style::apply(version, Style::font(12), Style::secondary(palette()));
    texts->addWidget(version);
    row->addLayout(texts, 1);
    return header;
}

QWidget *SettingsView::sectionLabel(const QString &text)
{
    auto *label = new QLabel(text, this);
    Style::apply(label, Style::font(11, QFont::Bold), Style::secondary(palette()));
    label->setContentsMargins(0, 16, 0, 8);
    return label;
}

SettingsGroup *SettingsView::buildLaunchGroup()
{
    auto *group = new SettingsGroup(this);
    m_launch = newSwitch(tr("Launch at Login"));
    group->addRow(new SettingsRow(QStringLiteral("power"), tile("#34c759"), tr("Launch at Login"),
                                  tr("Start Tarnwick automatically when you log in."), m_launch));
    connect(m_launch, &QCheckBox::clicked, this, &SettingsView::setLaunchAtLogin);
    return group;
}

SettingsGroup *SettingsView::buildCaptureGroup()
{
    m_captureGroup = new SettingsGroup(this);
    m_localCopies = newSwitch(tr("Save Local Copies"));
    m_localCopiesRow = new SettingsRow(
        QStringLiteral("externaldrive.badge.checkmark"), tile("#af52de"), tr("Save Local Copies"),
        tr("Keep a copy of every screenshot in Tarnwick's library. Even if the original is deleted "
                       "from the Desktop, the item stays available."),
        m_localCopies);
    m_captureGroup->addRow(m_localCopiesRow);
    connect(m_localCopies, &QCheckBox::clicked, this, &SettingsView::setLocalCopies);

    m_phone = newSwitch(tr("Capture Phone Clipboard"));
    m_phoneRow = new SettingsRow(QStringLiteral("iphone"), tile("#007aff"), tr("Capture Phone Clipboard"),
                                 tr("Automatically capture images that arrive from your phone through a "
                                                "shared clipboard."),
                                 m_phone);
    m_captureGroup->addRow(m_phoneRow);
    // Writes the state the switch shows; refreshing it from code emits nothing.
    connect(m_phone, &QCheckBox::clicked, this, [this](bool on) {
        if (on != m_deps.monitor->isClipboardCaptureEnabled())
            m_deps.monitor->toggleClipboardCapture();
        refreshSwitches();
    });

    m_anyImage = newSwitch(tr("Capture Any Copied Image"));
    m_captureGroup->addRow(new SettingsRow(
        QStringLiteral("photo.on.rectangle"), tile("#ff9500"), tr("Capture Any Copied Image"),
        tr("When disabled, only captures images taken with the screenshot tool."), m_anyImage));
    connect(m_anyImage, &QCheckBox::clicked, this, [this](bool on) {
        m_deps.preferences->setBool(Preferences::clipboardScreenshotsOnlyKey, !on);
    });

    m_textIndex = newSwitch(tr("Index Text for Search"));
    m_captureGroup->addRow(new SettingsRow(
        QStringLiteral("text.viewfinder"), tile("#34c759"), tr("Index Text for Search"),
        tr("Read the text in every capture in the background, so the library finds it by its words."),
        m_textIndex));
    connect(m_textIndex, &QCheckBox::clicked, this, [this](bool on) {
        m_deps.preferences->setBool(Preferences::textIndexEnabledKey, on);
        if (m_deps.textIndexSwitched)
            m_deps.textIndexSwitched(on);
    });
    return m_captureGroup;
}

SettingsGroup *SettingsView::buildUploadGroup()
{
    auto *group = new SettingsGroup(this);
    m_clientId = new QLineEdit;
    m_clientId->setObjectName(QStringLiteral("imgurClientIdField"));
    m_clientId->setPlaceholderText(tr("None"));
    m_clientId->setFixedWidth(150);
    m_clientId->setText(m_deps.imgurClientId->userText());
    group->addRow(new SettingsRow(QStringLiteral("square.and.arrow.up"), tile("#5ac8fa"),
                                  tr("Imgur Client ID"),
                                  tr("Uploads need a free client ID from Imgur (api.imgur.com)."),
                                  m_clientId));
    connect(m_clientId, &QLineEdit::editingFinished, this, [this] {
        const QString text = m_clientId->text().trimmed();
        m_clientId->setText(text);
        m_deps.imgurClientId->setUserText(text);
    });
    return group;
}

SettingsGroup *SettingsView::buildShortcutGroup()
{
    auto *group = new SettingsGroup(this);
    auto *open = smallButton(tr("Open System Settings…"));
    const QString subtitle = m_deps.hotKeyActive
        ? tr("Toggle Tarnwick from anywhere with Ctrl+Shift+Space.")
        : tr("Ctrl+Shift+Space could not be set up here. Bind the command \"tarnwick --toggle\" to a "
                         "key in your desktop's keyboard settings.");
    m_shortcutRow = new SettingsRow(QStringLiteral("keyboard"), tile("#007aff"), tr("Keyboard Shortcut"),
                                    subtitle, open);
    group->addRow(m_shortcutRow);
    connect(open, &QPushButton::clicked, this, [this] {
        if (m_deps.openKeyboardSettings)
            m_deps.openKeyboardSettings();
    });
    return group;
}

SettingsGroup *SettingsView::buildActionsGroup()
{
    auto *group = new SettingsGroup(this);
    m_sync = smallButton(tr("Sync Now"));
    group->addRow(new SettingsRow(QStringLiteral("arrow.triangle.2.circlepath"), tile("#ff9500"),
                                  tr("Sync Screenshots"),
                                  tr("Rescan the screenshot folder and ClipboardShots to update the list."),
                                  m_sync));
    connect(m_sync, &QPushButton::clicked, this, &SettingsView::sync);
    m_clear = smallButton(tr("Clear All"));
    group->addRow(new SettingsRow(QStringLiteral("trash"), tile("#ff3b30"), tr("Clear All Screenshots"),
                                  tr("Remove all items. Clipboard captures are also deleted from disk."),
                                  m_clear));
    connect(m_clear, &QPushButton::clicked, this, &SettingsView::clear);
    return group;
}

void SettingsView::refreshRows()
{
    const auto allowed = [this](bool RemoteFeatureFlags::*flag) {
        return !m_deps.remoteConfig || m_deps.remoteConfig->isFeatureEnabled(flag);
    };
    m_captureGroup->setRowShown(m_localCopiesRow, allowed(&RemoteFeatureFlags::local_backup_enabled));
    m_captureGroup->setRowShown(m_phoneRow, allowed(&RemoteFeatureFlags::iphone_clipboard_capture_enabled));
}

void SettingsView::refreshSwitches()
{
    m_launch->setChecked(m_deps.loginItem && m_deps.loginItem->isEnabled());
    m_localCopies->setChecked(m_deps.monitor->saveLocalCopies());
    m_phone->setChecked(m_deps.monitor->isClipboardCaptureEnabled());
    m_anyImage->setChecked(!m_deps.monitor->clipboardScreenshotsOnly());
    m_textIndex->setChecked(m_deps.preferences && m_deps.preferences->isTextIndexEnabled());
}

void SettingsView::setLaunchAtLogin(bool on)
{
    if (!m_deps.loginItem) {
        m_launch->setChecked(false);
        return;
    }
    if (const std::optional<QString> error = m_deps.loginItem->setEnabled(on)) {
        std::fprintf(stderr, "Launch at login error: %s\n", qPrintable(*error));
        std::fflush(stderr);
    }
    m_launch->setChecked(m_deps.loginItem->isEnabled());
}

void SettingsView::setLocalCopies(bool on)
{
    if (on) {
        m_deps.preferences->setBool(Preferences::saveLocalCopiesKey, true);
        m_deps.monitor->syncExistingToSavedShots(true);
        QTimer::singleShot(m_deps.timings.statsAfterEnabling, this, [this] { readStatistics(); });
        return;
    }
    // Stays on until the user decides. The count is read again first: captures
    // saved since the last reading would otherwise be deleted uncounted.
    m_localCopies->setChecked(true);
    readStatistics([this] {
        if (m_savedCount >= 1) {
            askToDisableLocalCopies(m_savedCount, m_savedSize);
            return;
        }
        m_deps.preferences->setBool(Preferences::saveLocalCopiesKey, false);
        m_localCopies->setChecked(false);
    });
}

void SettingsView::askToDisableLocalCopies(int count, qint64 bytes)
{
    if (m_dialog)
        return;
    m_dialog = new QMessageBox(QMessageBox::Warning, tr("Disable Save Local Copies?"),
                               disableMessage(count, bytes), QMessageBox::NoButton, this);
    QPushButton *disable =
        m_dialog->addButton(tr("Disable and Delete Saved Files"), QMessageBox::DestructiveRole);
    m_dialog->addButton(tr("Cancel"), QMessageBox::RejectRole);
    connect(disable, &QPushButton::clicked, this, [this] {
        m_deps.preferences->setBool(Preferences::saveLocalCopiesKey, false);
        m_deps.monitor->clearSavedShots();
        applyStatistics(0, 0);
        m_localCopies->setChecked(false);
    });
    connect(m_dialog, &QDialog::finished, m_dialog, &QObject::deleteLater);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->open();
}

void SettingsView::readStatistics(std::function<void()> then)
{
    const QString folder = m_deps.monitor->folders().savedShots;
    m_pool.start([this, folder, then = std::move(then)] {
        const LocalCopies::Stats stats = LocalCopies::stats(folder);
        QMetaObject::invokeMethod(this, [this, stats, then] {
            applyStatistics(stats.count, stats.totalSize);
            if (then)
                then();
        }, Qt::QueuedConnection);
    });
}

void SettingsView::applyStatistics(int count, qint64 bytes)
{
    m_savedCount = count;
    m_savedSize = bytes;
    m_statsRead = true;
    m_localCopiesRow->setDetail(count >= 1 ? statisticsText(count, bytes) : QString());
    Q_EMIT statisticsRead();
}

QString SettingsView::statisticsText(int count, qint64 bytes)
{
    return (count == 1 ? tr("%1 image · %2") : tr("%1 images · %2"))
        .arg(count)
        .arg(ScreenshotItem::formatByteCount(bytes));
}

QString SettingsView::disableMessage(int count, qint64 bytes)
{
    return (count == 1 ? tr("This will permanently delete %1 saved image (%2) from Tarnwick's library.")
                       : tr("This will permanently delete %1 saved images (%2) from Tarnwick's library."))
        .arg(count)
        .arg(ScreenshotItem::formatByteCount(bytes));
}

void SettingsView::sync()
{
    m_deps.monitor->syncAll();
    m_sync->setText(tr("Done!"));
    tint(m_sync, Style::systemGreen());
    m_syncDone.start();
}

void SettingsView::clear()
{
    if (!m_clearConfirm) {
        setClearConfirm(true);
        m_clearLapse.start();
        return;
    }
    m_clearLapse.stop();
    m_deps.monitor->removeAllDeletingTemporary();
    m_deps.monitor->markAllRead();
    setClearConfirm(false);
}

void SettingsView::setClearConfirm(bool confirm)
{
    m_clearConfirm = confirm;
    m_clear->setText(confirm ? tr("Confirm?") : tr("Clear All"));
    tint(m_clear, confirm ? std::optional(Style::systemRed()) : std::nullopt);
}
