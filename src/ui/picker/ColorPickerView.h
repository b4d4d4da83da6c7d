#pragma once

#include "picker/ColorFormat.h"
#include "picker/ColorHistory.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>

class ColorBar;
class ColorHistoryRow;
class QLabel;
class PickerImageArea;
class PickerImage;

// One picker: the image of one file with the loupe and zoom, the row of past
// picks and the colour bar. Decodes the file once, off the main thread, and
// never writes it. Everything it holds lives as long as the view.
class ColorPickerView : public QWidget
{
    Q_OBJECT
public:
    struct Dependencies {
        // Puts text on the app's clipboard; none: nothing is copied.
        std::function<void(const QString &)> copyText;
        std::chrono::milliseconds copiedFor{2000};
        std::chrono::milliseconds pickPulse{450};
    };

    // The grey the bar shows before the first pick.
    static QColor placeholderColor() { return QColor(142, 142, 147); }

    explicit ColorPickerView(const QString &path, QWidget *parent = nullptr);
    ColorPickerView(const QString &path, Dependencies dependencies, QWidget *parent = nullptr);

    QString path() const { return m_path; }
    bool isLoaded() const { return m_loaded; }
    // None until something has been picked.
    std::optional<QColor> pickedColor() const { return m_picked; }
    ColorMode colorMode() const { return m_mode; }
    const ColorHistory &history() const { return m_history; }
    bool isCopied() const { return m_copiedTimer.isActive(); }
    PickerImageArea *imageArea() const { return m_area; }
    ColorHistoryRow *historyRow() const { return m_historyRow; }
    ColorBar *colorBar() const { return m_bar; }

public Q_SLOTS:
    void commitPick(const QColor &color);
    // A history entry shown again; the history keeps its order.
    void choose(const QColor &color);
    void setColorMode(ColorMode mode);
    // Copies the shown colour string; nothing before the first pick, when
    // the bar shows only a placeholder.
    void copy();

Q_SIGNALS:
    // The file has been read, whether or not it held an image.
    void loadFinished();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void startLoading();
    void showImage(const PickerImage &image);
    void refresh();
    void orderTabs();

    QString m_path;
    Dependencies m_deps;
    bool m_loaded = false;
    std::optional<QColor> m_picked;
    ColorMode m_mode = ColorMode::hex;
    ColorHistory m_history;
    QTimer m_copiedTimer;
    PickerImageArea *m_area;
    QLabel *m_problem;  // why the image is not shown, in its place
    ColorHistoryRow *m_historyRow;
    ColorBar *m_bar;
};
