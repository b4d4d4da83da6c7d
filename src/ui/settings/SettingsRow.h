#pragma once

#include <QColor>
#include <QWidget>

class QLabel;

// One settings row: a coloured icon tile, the title over a wrapping subtitle
// (and an optional detail line under it), and the row's control on the right.
class SettingsRow : public QWidget
{
    Q_OBJECT
public:
    SettingsRow(const QString &symbol, const QColor &tile, const QString &title, const QString &subtitle,
                QWidget *control, QWidget *parent = nullptr);

    void setSubtitle(const QString &subtitle);
    QString subtitle() const;
    // Empty text hides the detail line.
    void setDetail(const QString &detail);
    QString detail() const;
    QWidget *control() const { return m_control; }

private:
    QLabel *m_subtitle;
    QLabel *m_detail;
    QWidget *m_control;
};
