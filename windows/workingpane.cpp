// SPDX-License-Identifier: MIT
#include "windows/workingpane.h"

#include "conversions/htmlwriter.h"
#include "conversions/workingtext.h"

#include <QFontDatabase>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvex {

namespace {

bool shownChoice = false;  // for the rest of the run; nothing is saved

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
    m_text->setGeometry(4, buttonRowHeight, width - 8, paneHeight - 6);

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
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    m_text->document()->setDefaultStyleSheet(
        QStringLiteral("code { font-family: '%1'; } p { margin-top: 2px; margin-bottom: 4px; }").arg(fixed));
    m_text->setHtml(QStringLiteral("<p>") + tr("Convert a number to see its working here, step by step.")
                    + QStringLiteral("</p>"));
}

void WorkingPane::showHtml(const QString &html)
{
    m_text->setHtml(html);
}

void WorkingPane::setShown(bool shown)
{
    m_button->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    m_button->resize(m_button->sizeHint().width(), buttonRowHeight - 4);
    m_text->setVisible(shown);
    m_window->setFixedSize(m_baseSize.width(),
                           m_baseSize.height() + buttonRowHeight + (shown ? paneHeight : 0));
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
    m_text->setHtml(html);
}

}  // namespace quorvex
