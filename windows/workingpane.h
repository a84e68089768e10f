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
    // layout) grows by the button's row, and by the pane while it is shown.
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
    static constexpr int paneHeight = 240;

private:
    void setUpText();
    void setShown(bool shown);

    QWidget *m_window;
    QSize m_baseSize;
    QToolButton *m_button = nullptr;  // none when always shown
    QTextBrowser *m_text;
    QString m_resultInput;  // the input whose result the boxes show
    bool m_hasResult = false;
};

}  // namespace quorvex
