// SPDX-License-Identifier: MIT
#include "windows/workingpane.h"

#include "engine/htmlwriter.h"
#include "conversions/workingtext.h"
#include "windows/accessibility.h"
#include "windows/fixedfont.h"

#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QWheelEvent>

#include <QtMath>

#include <algorithm>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvex {

namespace {

bool shownChoice = false;  // for the rest of the run; nothing is saved
int zoomSteps = 0;         // likewise
constexpr int zoomOutMost = -4, zoomInMost = 16;
constexpr int textMarginBelow = 6;

}  // namespace

WorkingPane::WorkingPane(QWidget *window)
    : QWidget(window), m_window(window), m_baseSize(window->minimumSize()),
      m_button(new QToolButton(this)), m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("WorkingPane"));
    const int width = m_baseSize.width();
    setGeometry(0, m_baseSize.height(), width, buttonRowHeight + paneHeight);

    // A flat disclosure button; Tab reaches it, a click leaves the focus
    // where it was.
    m_button->setObjectName(QStringLiteral("chkShowWorking"));
    m_button->setText(tr("Show &working"));
    m_button->setCheckable(true);
    m_button->setAutoRaise(true);
    m_button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_button->setFocusPolicy(Qt::TabFocus);
    m_button->move(4, 2);

    setUpText();
    m_text->setFocusPolicy(Qt::ClickFocus);
    m_text->setGeometry(4, buttonRowHeight, width - 8, paneHeight - textMarginBelow);

    window->installEventFilter(this);

    connect(m_button, &QToolButton::toggled, this, [this](bool shown) {
        shownChoice = shown;
        setShown(shown);
    });
    m_button->setChecked(shownChoice);
    setShown(shownChoice);
}

WorkingPane::WorkingPane(QWidget *parent, AlwaysShown)
    : QWidget(parent), m_window(parent), m_text(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("WorkingPane"));
    setUpText();
    // Last in the tab order; Tab leaves it rather than moving between links.
    m_text->setFocusPolicy(Qt::StrongFocus);
    m_text->setTabChangesFocus(true);
    setFocusProxy(m_text);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
}

void WorkingPane::setUpText()
{
    m_text->setObjectName(QStringLiteral("txtWorking"));
    m_text->setAccessibleName(tr("Working"));
    m_text->setOpenLinks(false);
    m_text->document()->setDefaultStyleSheet(QStringLiteral("code { font-family: %1; } p { margin-top: 2px; margin-bottom: 4px; }")
                                                 .arg(fixedWidthFamiliesCss()));
    // A page to read with the keyboard: the caret moves through it and
    // selects with Shift, for a screen reader to follow.
    m_text->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_basePointSize = m_text->font().pointSizeF();
    applyZoom();
    // The teacher sets the text's size, in every window with a pane: Ctrl++,
    // Ctrl+-, Ctrl+0, or the wheel with Ctrl over the text.
    const std::pair<QKeySequence, int> zoomKeys[] = {{QKeySequence::ZoomIn, 1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_Equal), 1},
                                                     {QKeySequence::ZoomOut, -1},
                                                     {QKeySequence(Qt::CTRL | Qt::Key_0), 0}};
    for (const auto &[keys, steps] : zoomKeys) {
        auto *shortcut = new QShortcut(keys, m_window);
        connect(shortcut, &QShortcut::activated, this, [this, steps = steps] { zoomBy(steps); });
    }
    m_text->viewport()->installEventFilter(this);
    showWorkingHtml(m_text, QStringLiteral("<p>") + tr("Convert a number to see its working here, step by step.")
                                + QStringLiteral("</p>"));
}

void WorkingPane::showHtml(const QString &html)
{
    showWorkingHtml(m_text, html);
    fitText();
}

void WorkingPane::setShown(bool shown)
{
    m_button->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    m_button->resize(m_button->sizeHint().width(), buttonRowHeight - 4);
    m_text->setVisible(shown);
    // Shown, the text is a Tab stop right after the button; Tab leaves it.
    m_text->setFocusPolicy(shown ? Qt::StrongFocus : Qt::ClickFocus);
    m_text->setTabChangesFocus(shown);
    const int top = m_baseSize.height() + buttonRowHeight;
    if (shown) {
        m_window->setMinimumSize(m_baseSize.width(), top + minPaneHeight);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        // Room for the worked examples, measured in the pane's own text;
        // then as much more as the working shown needs.
        const int lines = openPaneLines * QFontMetrics(m_text->font()).lineSpacing() + 2 * m_text->frameWidth();
        resizeWindow({std::max(m_baseSize.width(), openPaneWidth), top + lines + textMarginBelow});
        layOut();
        m_sizeGiven = m_window->size();
        fitText();
    } else {
        m_window->setFixedSize(m_baseSize.width(), top);
        layOut();
    }
}

void WorkingPane::resizeWindow(QSize size)
{
    const QRect room = m_window->screen()->availableGeometry();
    const QSize frame = (m_window->frameGeometry().size() - m_window->size()).expandedTo(QSize(0, 0));
    m_window->resize(size.boundedTo(room.size() - frame).expandedTo(m_window->minimumSize()));
    if (m_window->isVisible() && m_window->frameGeometry().bottom() > room.bottom())
        m_window->move(m_window->x(), std::max(room.top(), room.bottom() - m_window->frameGeometry().height()));
}

void WorkingPane::fitText()
{
    // Until the window is shown the text is not laid out to the pane's width.
    if (!m_button || !m_window->isVisible() || !m_text->isVisible() || m_window->size() != m_sizeGiven)
        return;
    // Wider first, as the lines wrap to the width; then taller.
    const QSize document = m_text->document()->size().toSize();
    const QSize viewport = m_text->viewport()->size();
    if (document.width() > viewport.width()) {
        resizeWindow(m_window->size() + QSize(document.width() - viewport.width(), 0));
        layOut();
    }
    const int height = qCeil(m_text->document()->size().height());
    if (height > m_text->viewport()->height()) {
        resizeWindow(m_window->size() + QSize(0, height - m_text->viewport()->height()));
        layOut();
    }
    m_sizeGiven = m_window->size();
}

// The pane fills the window below the controls.
void WorkingPane::layOut()
{
    if (!m_button)
        return;
    const int height = std::max(buttonRowHeight, m_window->height() - m_baseSize.height());
    setGeometry(0, m_baseSize.height(), m_window->width(), height);
    m_text->setGeometry(4, buttonRowHeight, m_window->width() - 8,
                        std::max(0, height - buttonRowHeight - textMarginBelow));
}

int WorkingPane::zoom()
{
    return zoomSteps;
}

void WorkingPane::zoomBy(int steps)
{
    zoomSteps = steps == 0 ? 0 : std::clamp(zoomSteps + steps, zoomOutMost, zoomInMost);
    applyZoom();
}

void WorkingPane::applyZoom()
{
    QFont font = m_text->font();
    font.setPointSizeF(m_basePointSize + zoomSteps);
    m_text->setFont(font);
    fitText();
}

bool WorkingPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        layOut();
    if (watched == m_text->viewport() && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (const int delta = wheel->angleDelta().y(); delta != 0)
                zoomBy(delta > 0 ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WorkingPane::showConversion(const QString &input, const Conversion &conversion)
{
    QString html = workingHtml(conversion.working);
    if (conversion.converted()) {
        m_resultInput = input;
        m_hasResult = true;
    } else if (m_hasResult) {
        html += QStringLiteral("<p>") + tr("The boxes still show the result for %1.").arg(html::quoted(m_resultInput))
            + QStringLiteral("</p>");
    }
    showWorkingHtml(m_text, html);
}

}  // namespace quorvex
