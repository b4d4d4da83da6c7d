#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>

class ImgurClientId;
class LoginItem;
class Preferences;
class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;
class RemoteConfigManager;
class ScreenshotMonitor;
class SettingsGroup;
class SettingsRow;

// The settings window's content: launch at login, the capture switches, the
// Imgur client id, the keyboard-shortcut hint and the two maintenance actions.
// Switches show the stored state and write only what the user changed.
class SettingsView : public QWidget
{
    Q_OBJECT
public:
    struct Timings {
        std::chrono::milliseconds clearConfirmLapse{3000};
        std::chrono::milliseconds syncDoneShown{2000};
        std::chrono::milliseconds statsAfterEnabling{1500};
    };
    // The monitor and the preferences are required.
    struct Dependencies {
        ScreenshotMonitor *monitor = nullptr;
        Preferences *preferences = nullptr;
        RemoteConfigManager *remoteConfig = nullptr;  // none: every row
        LoginItem *loginItem = nullptr;               // none: the launch switch stays off
        ImgurClientId *imgurClientId = nullptr;       // none: no client id row
        std::function<void()> openKeyboardSettings = {};  // the desktop's shortcut settings
        std::function<void(bool)> textIndexSwitched = {};  // after the index switch was written
        bool hotKeyActive = true;                     // false: explain how to bind the toggle
        Timings timings = {};
    };

    explicit SettingsView(Dependencies deps, QWidget *parent = nullptr);
    ~SettingsView() override;

    QCheckBox *launchSwitch() const { return m_launch; }
    QCheckBox *localCopiesSwitch() const { return m_localCopies; }
    QCheckBox *phoneSwitch() const { return m_phone; }
    QCheckBox *anyImageSwitch() const { return m_anyImage; }
    QCheckBox *textIndexSwitch() const { return m_textIndex; }
    QLineEdit *clientIdField() const { return m_clientId; }
    QPushButton *syncButton() const { return m_sync; }
    QPushButton *clearButton() const { return m_clear; }
    SettingsRow *localCopiesRow() const { return m_localCopiesRow; }
    SettingsRow *phoneRow() const { return m_phoneRow; }
    SettingsRow *shortcutRow() const { return m_shortcutRow; }
    // The disable-local-copies dialog while it is shown.
    QMessageBox *disableDialog() const { return m_dialog; }
    int savedShotsCount() const { return m_savedCount; }
    bool hasStatistics() const { return m_statsRead; }

    // The statistics line's and the dialog's texts.
    static QString statisticsText(int count, qint64 bytes);
    static QString disableMessage(int count, qint64 bytes);

Q_SIGNALS:
    // The saved-shots statistics were read (tests).
    void statisticsRead();

private:
    QWidget *buildHeader();
    QWidget *sectionLabel(const QString &text);
    SettingsGroup *buildLaunchGroup();
    SettingsGroup *buildCaptureGroup();
    SettingsGroup *buildUploadGroup();
    SettingsGroup *buildShortcutGroup();
    SettingsGroup *buildActionsGroup();
    void refreshSwitches();
    void refreshRows();
    void setLaunchAtLogin(bool on);
    void setLocalCopies(bool on);
    void askToDisableLocalCopies(int count, qint64 bytes);
    void readStatistics(std::function<void()> then = {});
    void applyStatistics(int count, qint64 bytes);
    void sync();
    void clear();
    void setClearConfirm(bool confirm);

    Dependencies m_deps;
    int m_savedCount = 0;
    qint64 m_savedSize = 0;
    bool m_statsRead = false;
    bool m_clearConfirm = false;
    QTimer m_clearLapse;
    QTimer m_syncDone;

    SettingsGroup *m_captureGroup = nullptr;
    SettingsRow *m_localCopiesRow = nullptr;
    SettingsRow *m_phoneRow = nullptr;
    SettingsRow *m_shortcutRow = nullptr;
    QCheckBox *m_launch = nullptr;
    QCheckBox *m_localCopies = nullptr;
    QCheckBox *m_phone = nullptr;
    QCheckBox *m_anyImage = nullptr;
    QCheckBox *m_textIndex = nullptr;
    QLineEdit *m_clientId = nullptr;
    QPushButton *m_sync = nullptr;
    QPushButton *m_clear = nullptr;
    QPointer<QMessageBox> m_dialog;
    // Declared last so it is destroyed first: its tasks hand results to this object.
    QThreadPool m_pool;
};
