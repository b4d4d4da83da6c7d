#pragma once

#include <QObject>
#include <QString>

class Preferences;

// The Imgur client id in effect: the user's own from the preferences when it
// is plausible, else the build's. Every upload control follows changed(), so
// filling or clearing the field shows or hides them everywhere at once.
// Main thread only.
class ImgurClientId : public QObject
{
    Q_OBJECT
public:
    static constexpr int minLength = 8;
    static constexpr int maxLength = 64;

    // preferences: may be null (only the build's id then); not owned.
    explicit ImgurClientId(Preferences *preferences, QObject *parent = nullptr);

    // The id goes into an HTTP header: only ASCII letters and digits of a
    // plausible length count; anything else counts as no id.
    static bool isPlausible(const QString &id);

    // Empty: uploads are unavailable.
    QString effective() const { return m_effective; }
    bool isAvailable() const { return !m_effective.isEmpty(); }
    // What the user typed, trimmed, as stored.
    QString userText() const;
    // Trims and stores the text, then announces a change of the effective id.
    void setUserText(const QString &text);

Q_SIGNALS:
    void changed(const QString &effective);

private:
    QString resolve() const;

    Preferences *m_preferences;
    QString m_effective;
};
