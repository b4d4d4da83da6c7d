#pragma once

#include <QCheckBox>

// A settings switch: a pill with a sliding knob, filled with the accent
// colour when on. Behaves as a check box without a label.
class SettingsSwitch : public QCheckBox
{
    Q_OBJECT
public:
    explicit SettingsSwitch(const QString &accessibleName, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
};
