#pragma once

#include "editor/AnnotationActions.h"

#include <QImage>
#include <QString>
#include <QWidget>

class AnnotationCanvas;
class AnnotationDocument;
class EditorToolbar;
class QLabel;
class QStackedWidget;

// The editor's content: the toolbar row over the canvas area. The image is
// decoded off the main thread when the view is made; one that does not load
// shows the photo symbol, the reason, and no canvas. Copy
// and upload flatten the marks onto that decoded image, the one on screen,
// so changes to the file meanwhile cannot lose or misplace the marks. The
// file is only ever read.
class AnnotationEditorView : public QWidget
{
    Q_OBJECT

public:
    AnnotationEditorView(const QString &path, AnnotationActions::Dependencies deps, QWidget *parent = nullptr);

    QString path() const { return m_path; }
    bool isLoaded() const { return m_loaded; }
    const QImage &image() const { return m_image; }
    AnnotationDocument *document() const { return m_document; }
    AnnotationActions *actions() const { return m_actions; }
    AnnotationCanvas *canvas() const { return m_canvas; }
    EditorToolbar *toolbar() const { return m_toolbar; }

    // The marks flattened onto the image at its own size; null without an image.
    QImage buildAnnotatedImage() const;
    // Asked for before the image is decoded, the copy happens once it is.
    void copyAnnotatedImage();
    void uploadToImgur();

Q_SIGNALS:
    void loaded();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setImage(const QImage &image);

    QString m_path;
    QImage m_image;
    bool m_loaded = false;
    bool m_copyWhenLoaded = false;
    AnnotationDocument *m_document;
    AnnotationActions *m_actions;
    EditorToolbar *m_toolbar;
    QStackedWidget *m_area;
    QLabel *m_placeholder;
    QLabel *m_problem;  // why the image is not shown
    AnnotationCanvas *m_canvas = nullptr;
};
