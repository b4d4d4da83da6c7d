#pragma once

#include "common/Style.h"

#include <QAbstractButton>

class QLabel;
class Spinner;

// "Upload to Imgur", then a spinner and "Uploading..." on orange, then
// "Link Copied!" in green once the link is on the clipboard. Measures, fonts
// and fills come from the look of the place that shows it.
class UploadButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum class State { idle, uploading, uploaded };

    explicit UploadButton(QWidget *parent = nullptr);
    explicit UploadButton(const Style::UploadLook &look, QWidget *parent = nullptr);

    void setState(State state);
    State state() const { return m_state; }
    const Style::UploadLook &look() const { return m_look; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Style::UploadLook m_look;
    State m_state = State::idle;
    Spinner *m_spinner;
    QLabel *m_icon;
    QLabel *m_label;
};
