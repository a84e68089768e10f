// SPDX-License-Identifier: MIT
// The working pane under a converter window's controls: a "Show working"
// button and, when it is down, the working of the last conversion.
#pragma once

#include "conversions/conversion.h"

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace quorvex {

class WorkingPane : public QWidget {
    Q_OBJECT
public:
    // Adds the pane at the bottom of `window`, whose fixed size (from its
    // layout) grows by the button's row. While the pane is shown the window
    // can be resized; the pane takes the growth, the controls above keep
    // their places. It opens at least openPaneWidth wide, with room for
    // openPaneLines lines of the pane's text or for the working it shows if
    // that needs more, and grows as a later working needs, until the user
    // sizes it; always within the screen.
    explicit WorkingPane(QWidget *window);

    // The pane alone, always shown, for a window that lays it out itself:
    // no Show working button, and the window's size is left to its layout.
    struct AlwaysShown {};
    WorkingPane(QWidget *parent, AlwaysShown);

    // Shows working written elsewhere, as it is.
    void showHtml(const QString &html);

    // The working of a conversion of `input`. When it shows no result, the
    // pane says so, and which input the window's boxes still show.
    void showConversion(const QString &input, const Conversion &conversion);

    static constexpr int buttonRowHeight = 26;
    static constexpr int paneHeight = 240;      // the workbench's pane, at least
    static constexpr int openPaneLines = 49;    // a converter window's pane as it opens, at least
    static constexpr int openPaneWidth = 560;   // a converter window as wide as this at least, shown
    static constexpr int minPaneHeight = 80;

    // How many steps the working's text is zoomed in (negative: out); the
    // same in every pane, for the rest of the run.
    static int zoom();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpText();  // the text, its zoom and the zoom keys
    void setShown(bool shown);
    // The window grows until the text fits, as far as the screen has room,
    // unless the user has sized it since the pane last sized it.
    void fitText();
    void resizeWindow(QSize size);  // within the screen; a window reaching below it moves up
    void layOut();
    void zoomBy(int steps);  // 0 resets
    void applyZoom();

    QWidget *m_window;
    QSize m_baseSize;
    QSize m_sizeGiven;  // the window's size when the pane last sized it
    QToolButton *m_button = nullptr;  // none when always shown
    QTextBrowser *m_text;
    qreal m_basePointSize = 0;
    QString m_resultInput;  // the input whose result the boxes show
    bool m_hasResult = false;
};

}  // namespace quorvex
