// SPDX-License-Identifier: MIT
#include "windows/bitfield.h"

#include "windows/accessibility.h"
#include "windows/fixedfont.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace quorvex {

namespace {

constexpr int groupGap = 10;  // between groups
constexpr int pointGap = 8;   // where a binary point stands
constexpr int rowGap = 4;     // between rows of a long pattern
constexpr int nibbleGap = 4;  // between fours of a long group
constexpr qreal cellPoints = 9, captionPoints = 7;

QSize cellSize()
{
    const QFontMetrics m(fixedWidthFont(cellPoints));
    return {m.horizontalAdvance(u'0') + 10, m.height() + 8};
}

int captionHeight() { return QFontMetrics(fixedWidthFont(captionPoints)).height(); }

// A value as the working writes it, with a real minus sign.
QString shown(const exact::Number &n) { return n.toDecimal().replace(u'-', QChar(0x2212)); }

// A group's caption: its name without the article a sentence gives it.
QString caption(const QString &name)
{
    const QString the = BitField::tr("the ");
    return name.startsWith(the) ? name.mid(the.size()) : name;
}

}  // namespace

// One bit: checked for a 1. Space (the button's own key) flips it, the
// arrows and Home and End move along the row.
class BitCell final : public QAbstractButton {
public:
    BitCell(BitField *field, int index) : QAbstractButton(field), m_field(field), m_index(index)
    {
        setCheckable(true);
        setFocusPolicy(Qt::ClickFocus);
        setFont(fixedWidthFont(cellPoints));
        setFixedSize(cellSize());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QPalette &pal = palette();
        const QRect box = rect().adjusted(0, 0, -1, -1);
        QColor fill = pal.color(QPalette::Base);
        if (isChecked()) {
            const QColor h = pal.color(QPalette::Highlight);
            fill = QColor((fill.red() * 3 + h.red()) / 4, (fill.green() * 3 + h.green()) / 4,
                          (fill.blue() * 3 + h.blue()) / 4);
        }
        p.fillRect(box, isDown() ? fill.darker(115) : fill);
        p.setPen(hasFocus() ? QPen(pal.color(QPalette::Highlight), 2) : QPen(pal.color(QPalette::Mid)));
        p.drawRect(hasFocus() ? box.adjusted(1, 1, 0, 0) : box);
        p.setPen(pal.color(QPalette::Text));
        p.drawText(rect(), Qt::AlignCenter, isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    }
    void keyPressEvent(QKeyEvent *e) override
    {
        const int last = m_field->count() - 1;
        switch (e->key()) {
        case Qt::Key_Left:
            m_field->moveTo(std::max(0, m_index - 1));
            return;
        case Qt::Key_Right:
            m_field->moveTo(std::min(last, m_index + 1));
            return;
        case Qt::Key_Home:
            m_field->moveTo(0);
            return;
        case Qt::Key_End:
            m_field->moveTo(last);
            return;
        default:
            QAbstractButton::keyPressEvent(e);
        }
    }
    void focusInEvent(QFocusEvent *e) override
    {
        m_field->moveTo(m_index);
        QAbstractButton::focusInEvent(e);
    }

private:
    BitField *m_field;
    int m_index;
};

BitField::BitField(QWidget *parent) : QWidget(parent)
{
    m_notice = new Notice(this);
    // Not a Tab stop itself: its current cell is.
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

QAbstractButton *BitField::cell(int index) const
{
    return index >= 0 && index < count() ? m_cells[std::size_t(index)].button : nullptr;
}

void BitField::clear() { setPattern({}, QString()); }

void BitField::setPattern(const std::vector<workbench::BitGroup> &groups, const QString &bits)
{
    m_notice->say(QString());  // news of the last pattern is not said again when the field shows
    qsizetype size = 0;
    for (const workbench::BitGroup &g : groups)
        size += qsizetype(g.worth.size());
    const bool fits = size == bits.size();
    const std::vector<workbench::BitGroup> &shownGroups = fits ? groups : std::vector<workbench::BitGroup>{};
    const bool same = fits && count() == size
        && std::equal(shownGroups.begin(), shownGroups.end(), m_groups.begin(), m_groups.end(),
                      [](const workbench::BitGroup &a, const workbench::BitGroup &b) {
                          return a.name == b.name && a.worth == b.worth;
                      });
    m_bits = fits ? bits : QString();
    if (!same) {
        const QWidget *focused = window()->focusWidget();
        const bool hadFocus = focused && (focused == this || isAncestorOf(focused));
        for (const Cell &c : m_cells) {
            c.button->hide();
            c.button->deleteLater();
        }
        for (QLabel *l : std::as_const(m_captions)) {
            l->hide();
            l->deleteLater();
        }
        m_cells.clear();
        m_captions.clear();
        m_groups = shownGroups;
        m_current = 0;
        QWidget *before = this;
        const std::optional<exact::Number> *left = nullptr;
        for (std::size_t g = 0; g < m_groups.size(); ++g) {
            auto *label = new QLabel(caption(m_groups[g].name), this);
            label->setFont(fixedWidthFont(captionPoints));
            label->setForegroundRole(QPalette::PlaceholderText);
            label->show();
            m_captions << label;
            for (const std::optional<exact::Number> &w : m_groups[g].worth) {
                const int index = count();
                auto *button = new BitCell(this, index);
                button->setObjectName(QStringLiteral("bit%1").arg(index));
                // The point stands before a place worth a half, after one
                // worth 1 or at the start.
                const bool half = w && w->abs() == exact::Number::power2(-1);
                const bool afterOne = !left || (*left && (*left)->abs() == exact::Number(1));
                m_cells.push_back({button, int(g), half && afterOne, false});
                left = &w;
                connect(button, &QAbstractButton::clicked, this, [this, index] { flipped(index); });
                // The cells follow the field in the Tab order, one after another.
                QWidget::setTabOrder(before, button);
                before = button;
                button->show();
            }
            // A long group with no point in it is read in fours from its
            // right, as the answer box writes bits.
            const std::size_t size = m_groups[g].worth.size(), first = m_cells.size() - size;
            const bool pointIn = std::any_of(m_cells.begin() + std::ptrdiff_t(first) + 1, m_cells.end(),
                                             [](const Cell &c) { return c.pointBefore; });
            for (std::size_t i = first + 1; size > 8 && !pointIn && i < m_cells.size(); ++i)
                m_cells[i].nibbleBefore = (m_cells.size() - i) % 4 == 0;
        }
        layOut(width(), true);
        updateGeometry();
        update();
        if (hadFocus && count() > 0)
            focusCurrent();
    }
    for (int i = 0; i < count(); ++i) {
        QAbstractButton *b = m_cells[std::size_t(i)].button;
        b->setChecked(m_bits.at(i) == u'1');
        b->setFocusPolicy(i == m_current ? Qt::StrongFocus : Qt::ClickFocus);
        name(i);
    }
}

void BitField::focusCurrent()
{
    if (QAbstractButton *b = cell(m_current))
        b->setFocus(Qt::OtherFocusReason);
}

void BitField::announce(const QString &text) { m_notice->say(text); }

void BitField::makeCurrent(int index)
{
    if (!cell(index) || index == m_current)
        return;
    if (QAbstractButton *before = cell(m_current))
        before->setFocusPolicy(Qt::ClickFocus);
    m_current = index;
    cell(index)->setFocusPolicy(Qt::StrongFocus);
}

void BitField::moveTo(int index)
{
    makeCurrent(index);
    if (cell(index) && !cell(index)->hasFocus())
        cell(index)->setFocus(Qt::OtherFocusReason);
}

// A flipped cell is the one Tab comes back to, whether it was clicked or
// had the focus.
void BitField::flipped(int index)
{
    makeCurrent(index);
    m_bits[index] = cell(index)->isChecked() ? u'1' : u'0';
    name(index);
    emit patternChanged(m_bits);
}

// "bit 3 of the exponent, 1, worth 8", counting the group's places from
// the right from 0; a bit that is no place is a sign: "the sign bit, 1,
// negative".
void BitField::name(int index)
{
    const Cell &c = m_cells[std::size_t(index)];
    const workbench::BitGroup &g = m_groups[std::size_t(c.group)];
    int first = index;
    while (first > 0 && m_cells[std::size_t(first - 1)].group == c.group)
        --first;
    const std::size_t place = std::size_t(index - first);
    const QChar bit = m_bits.at(index);
    const std::optional<exact::Number> &worth = g.worth[place];
    const QString text = worth
        ? tr("bit %1 of %2, %3, worth %4").arg(g.worth.size() - 1 - place).arg(g.name, bit, shown(*worth))
        : tr("%1 bit, %2, %3").arg(g.name, bit, bit == u'1' ? tr("negative") : tr("positive"));
    c.button->setAccessibleName(text);
    c.button->setToolTip(text);
}

int BitField::layOut(int width, bool place) const
{
    if (m_cells.empty())
        return 0;
    const QSize cellBox = cellSize();
    const QFontMetrics captionMetrics(fixedWidthFont(captionPoints));
    const int top = captionHeight();
    const int rowHeight = top + cellBox.height() + rowGap;
    width = std::max(width, cellBox.width());
    const auto gap = [&](int i) {
        const Cell &c = m_cells[std::size_t(i)];
        return c.pointBefore ? pointGap : c.nibbleBefore ? nibbleGap : 0;
    };
    // A cell's width with the room before it; a nibble's gap is not kept at
    // the start of a row.
    const auto advance = [&](int i, int start) {
        return cellBox.width() + (i > start || m_cells[std::size_t(i)].pointBefore ? gap(i) : 0);
    };
    if (place)
        m_points.clear();
    int x = 0, y = 0;
    int first = 0;
    for (std::size_t g = 0; g < m_groups.size(); ++g) {
        const int last = first + int(m_groups[g].worth.size());
        const int captionWidth = captionMetrics.horizontalAdvance(m_captions.at(qsizetype(g))->text());
        bool captioned = false;
        for (int a = first; a < last;) {
            int b = a, cells = 0;
            while (b < last && std::max(cells + advance(b, a), captioned ? 0 : captionWidth) <= width - x) {
                cells += advance(b, a);
                ++b;
            }
            if (b < last && x > 0) {  // the rest on a row of its own
                x = 0;
                y += rowHeight;
                continue;
            }
            if (b < last) {
                // A group longer than a row breaks in fours from its right.
                const int even = b - (last - b) % 4;
                b = std::max(even > a ? even : b, a + 1);
                cells = 0;
                for (int i = a; i < b; ++i)
                    cells += advance(i, a);
            }
            const int piece = std::max(cells, captioned ? 0 : captionWidth);
            if (place) {
                if (!captioned)
                    m_captions.at(qsizetype(g))->setGeometry(x, y, piece, top);
                int cx = x + (piece - cells) / 2;
                for (int i = a; i < b; ++i) {
                    if (m_cells[std::size_t(i)].pointBefore)
                        m_points << QPoint(cx + pointGap / 2, y + top + cellBox.height() - 5);
                    cx += advance(i, a) - cellBox.width();
                    m_cells[std::size_t(i)].button->move(cx, y + top);
                    cx += cellBox.width();
                }
            }
            captioned = true;
            x += piece + groupGap;
            a = b;
            if (a < last) {
                x = 0;
                y += rowHeight;
            }
        }
        first = last;
    }
    return y + rowHeight - rowGap;
}

int BitField::heightForWidth(int width) const { return layOut(width, false); }

QSize BitField::sizeHint() const
{
    // As wide as a row of 32 bits; longer patterns wrap.
    const int w = std::min(count(), 32) * cellSize().width() + 4 * groupGap;
    return {w, heightForWidth(w)};
}

QSize BitField::minimumSizeHint() const
{
    const int w = std::min(count(), 8) * cellSize().width();
    return {w, m_cells.empty() ? 0 : captionHeight() + cellSize().height()};
}

void BitField::focusInEvent(QFocusEvent *)
{
    focusCurrent();
}

void BitField::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut(width(), true);
}

void BitField::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::WindowText));
    for (const QPoint &at : std::as_const(m_points))
        p.drawEllipse(at, 2, 2);
}

}  // namespace quorvex
