#include "common/SchemePalette.h"

#include "common/ColorScheme.h"
#include "common/Style.h"

#include <QApplication>
#include <QPalette>

SchemePalette::SchemePalette(ColorScheme *scheme, QObject *parent)
    : QObject(parent)
    , m_scheme(scheme)
{
    connect(m_scheme, &ColorScheme::changed, this, &SchemePalette::follow);
    follow();
}

void SchemePalette::follow()
{
    const bool wantsDark = m_scheme->preference() == ColorScheme::Preference::dark;
    if (wantsDark && !m_ownDark && !Style::isDark(QApplication::palette())) {
        m_ownDark = true;
        QApplication::setPalette(Style::darkPalette(QApplication::palette()));
    } else if (!wantsDark && m_ownDark) {
        m_ownDark = false;
        QApplication::setPalette(QPalette());  // nothing set: the platform theme's again
    }
}
