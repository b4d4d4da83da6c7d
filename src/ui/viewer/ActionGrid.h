#pragma once

#include <QWidget>

class ActionButton;
class QGridLayout;
class UploadButton;

// The actions on the shown item: Copy, Copy Text, Open and Show in Folder in
// two columns, and the upload button below them. Shows the feedback it is
// given; every press leaves as a signal.
class ActionGrid : public QWidget
{
    Q_OBJECT
public:
    struct Feedback {
        bool copied = false;
        bool textCopied = false;
        bool uploading = false;
        bool uploaded = false;
    };

    explicit ActionGrid(QWidget *parent = nullptr);

    // Controls the configuration or the setup rules out are not offered at all.
    void setOffered(bool copyText, bool upload);
    void setFeedback(const Feedback &feedback);

Q_SIGNALS:
    void copyRequested();
    void copyTextRequested();
    void openRequested();
    void revealRequested();
    void uploadRequested();

private:
    void placeCells();

    ActionButton *m_copy;
    ActionButton *m_copyText;
    ActionButton *m_open;
    ActionButton *m_reveal;
    UploadButton *m_upload;
    QGridLayout *m_grid;
};
