#include "upload/ImgurClientId.h"

#include "capture/Preferences.h"
#include "upload/ImgurUploader.h"

ImgurClientId::ImgurClientId(Preferences *preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_effective(resolve())
{
}

bool ImgurClientId::isPlausible(const QString &id)
{
    if (id.size() < minLength || id.size() > maxLength)
        return false;
    for (const QChar c : id) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!plain)
            return false;
    }
    return true;
}

QString ImgurClientId::userText() const
{
    return m_preferences ? m_preferences->stringValue(Preferences::imgurClientIdKey) : QString();
}

void ImgurClientId::setUserText(const QString &text)
{
    if (m_preferences)
        m_preferences->setString(Preferences::imgurClientIdKey, text.trimmed());
    const QString effective = resolve();
    if (effective == m_effective)
        return;
    m_effective = effective;
    Q_EMIT changed(m_effective);
}

QString ImgurClientId::resolve() const
{
    const QString own = userText();
    const QString built = ImgurUploader::builtInClientId();
    if (isPlausible(own))
        return own;
    return isPlausible(built) ? built : QString();
}
