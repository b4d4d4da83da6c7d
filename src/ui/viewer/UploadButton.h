#pragma once

#include <QAbstractButton>

class QLabel;
class Spinner;

// "Upload to Imgur", then a spinner and "Uploading..." on orange, then
// "Link Copied!" in green once the link is on the clipboard.
class UploadButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum class State { idle, uploading, uploaded };

    explicit UploadButton(QWidget *parent = nullptr);

    void setState(State state);
    State state() const { return m_state; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    State m_state = State::idle;
    Spinner *m_spinner;
    QLabel *m_icon;
    QLabel *m_label;
};
