#include "editor/AnnotationEditorView.h"

#include "annotation/AnnotationDocument.h"
#include "annotation/AnnotationExport.h"
#include "common/Style.h"
#include "common/Symbols.h"
#include "common/WindowKeys.h"
#include "common/UserImageFile.h"
#include "editor/AnnotationCanvas.h"
#include "editor/EditorToolbar.h"

#include <QFuture>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

#include <utility>

AnnotationEditorView::AnnotationEditorView(const QString &path, AnnotationActions::Dependencies deps,
                                           QWidget *parent)
    : QWidget(parent)
    , m_path(path)
    , m_document(new AnnotationDocument(this))
    , m_actions(new AnnotationActions(std::move(deps), this))
    , m_toolbar(new EditorToolbar(m_document, m_actions, this))
    , m_area(new QStackedWidget(this))
    , m_placeholder(new QLabel(this))
    , m_problem(new QLabel(this))
{
    // Keys reach it through the canvas or when given the focus; a click on
    // the toolbar must not take the focus from the text being typed.
    setFocusPolicy(Qt::NoFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    auto *divider = new QWidget(this);
    divider->setFixedHeight(1);
    Style::fill(divider, [](const QPalette &palette) { return Style::quaternary(palette); });
    layout->addWidget(divider);
    layout->addWidget(m_area, 1);
    Style::fill(m_area, [](const QPalette &palette) { return palette.color(QPalette::Window).darker(112); });
    m_placeholder->setObjectName(QStringLiteral("photo"));
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setAlignment(Qt::AlignCenter);
    m_problem->setWordWrap(true);
    Style::apply(m_problem, Style::font(13), Style::secondary(palette()));
    auto *empty = new QWidget(m_area);
    auto *column = new QVBoxLayout(empty);
    column->addStretch();
    column->addWidget(m_placeholder);
    column->addWidget(m_problem);
    column->addStretch();
    m_area->addWidget(empty);

    new WindowKeys(this, WindowKeys::Escape::keepsMeaning);  // it only ends the text being written
    connect(m_toolbar, &EditorToolbar::copyRequested, this, &AnnotationEditorView::copyAnnotatedImage);
    connect(m_toolbar, &EditorToolbar::uploadRequested, this, &AnnotationEditorView::uploadToImgur);
    // Acting on the text instead while the inline editor has the focus: the
    // text input takes these keys first.
    auto *undo = new QShortcut(QKeySequence::Undo, this, m_document, &AnnotationDocument::undo);
    auto *copy = new QShortcut(QKeySequence::Copy, this, this, &AnnotationEditorView::copyAnnotatedImage);
    undo->setContext(Qt::WidgetWithChildrenShortcut);
    copy->setContext(Qt::WidgetWithChildrenShortcut);

    QtConcurrent::run(UserImageFile::readerThreads(), UserImageFile::read, path)
        .then(this, [this](const UserImageFile::Decoded &decoded) {
            if (decoded.image.isNull())
                m_problem->setText(UserImageFile::notShown(m_path, decoded.problem));
            setImage(decoded.image);
        });
}

void AnnotationEditorView::setImage(const QImage &image)
{
    m_image = image;
    m_loaded = true;
    if (image.isNull()) {
        Symbols::show(m_placeholder, QStringLiteral("photo"), Style::tertiary(palette()), QSizeF(40, 40));
    } else {
        m_canvas = new AnnotationCanvas(image, m_document, m_area);
        m_area->addWidget(m_canvas);
        m_area->setCurrentWidget(m_canvas);
        if (hasFocus())
            m_canvas->setFocus();
    }
    Q_EMIT loaded();
    if (std::exchange(m_copyWhenLoaded, false))
        copyAnnotatedImage();
}

QImage AnnotationEditorView::buildAnnotatedImage() const
{
    if (!m_canvas)
        return {};
    return AnnotationExport::buildAnnotatedImage(m_image, m_document->annotations(),
                                                 m_canvas->displayImgRect().width());
}

void AnnotationEditorView::copyAnnotatedImage()
{
    if (!m_loaded) {
        m_copyWhenLoaded = true;
        return;
    }
    m_actions->copy(buildAnnotatedImage());
}

void AnnotationEditorView::uploadToImgur()
{
    if (m_actions->isUploading())
        return;
    m_actions->upload(buildAnnotatedImage());
}

void AnnotationEditorView::keyPressEvent(QKeyEvent *event)
{
    // Only keys that reach this window and no text input took; never while
    // a text is being written, wherever the focus went.
    const bool deleteKey = event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
    if (deleteKey && m_document->editingTextId().isNull()) {
        m_document->deleteSelected();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
