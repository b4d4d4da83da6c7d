#pragma once

#include <QHash>
#include <QWidget>

class QVBoxLayout;

// A rounded box of settings rows with hairlines between them, indented to
// start after the icon tiles. Each line belongs to the row above it, so a
// hidden row takes its line along.
class SettingsGroup : public QWidget
{
    Q_OBJECT
public:
    explicit SettingsGroup(QWidget *parent = nullptr);

    void addRow(QWidget *row);
    void setRowShown(QWidget *row, bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_layout;
    QWidget *m_lastRow = nullptr;
    QHash<QWidget *, QWidget *> m_lineAfter;
};
