// SPDX-License-Identifier: MIT
// A row of bit cells a student clicks: a pattern's bits in the groups its
// format writes (the sign, the exponent, the fraction; the whole part and
// the fraction part with the point marked; BCD digits), each group
// captioned small. A click, or Space on the focused cell, flips one bit and
// the field says so with patternChanged(); the window that shows it works
// out what the new pattern stands for.
//
// The row is one Tab stop: Tab enters it at the cell last visited and
// leaves it; Left and Right, Home and End move from cell to cell. Each cell
// is a checkable button (checked for a 1) whose accessible name says what
// it is: "bit 3 of the exponent, 1, worth 8", "the sign bit, 1, negative".
// A long pattern wraps onto more rows, at the boundaries of its groups
// where it can.
#pragma once

#include "engine/topic.h"

#include <QAbstractButton>
#include <QList>
#include <QString>
#include <QWidget>

#include <vector>

class QLabel;

namespace quorvex {

class Notice;

class BitField : public QWidget {
    Q_OBJECT
public:
    explicit BitField(QWidget *parent = nullptr);

    // Shows `bits` in `groups`, whose sizes add up to the pattern's length;
    // otherwise, or with no bits, the field is empty. The same groups keep
    // their cells, and the focus stays where it was.
    void setPattern(const std::vector<workbench::BitGroup> &groups, const QString &bits);
    void clear();

    QString pattern() const { return m_bits; }
    int count() const { return int(m_cells.size()); }
    QAbstractButton *cell(int index) const;
    // The cell Tab enters the row at, and that the arrows move from.
    int current() const { return m_current; }
    // Moves the focus to the current cell.
    void focusCurrent();
    // Has a screen reader say `text` while the focus stays on its cell: what
    // the pattern stands for after a flip. (Qt does not pass a changed name
    // of the focused cell on to the screen reader in words.)
    void announce(const QString &text);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // A bit was flipped: the whole pattern after it.
    void patternChanged(const QString &bits);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    friend class BitCell;
    struct Cell {
        QAbstractButton *button;
        int group;
        bool pointBefore;   // the binary point stands before this cell
        bool nibbleBefore;  // a long group's fours, counted from its right, part here
    };
    void makeCurrent(int index);
    void moveTo(int index);
    void flipped(int index);
    void name(int index);
    // Lays the cells and captions out for `width`, or only measures when
    // `place` is false; the height they take.
    int layOut(int width, bool place) const;

    std::vector<workbench::BitGroup> m_groups;
    QString m_bits;
    std::vector<Cell> m_cells;
    QList<QLabel *> m_captions;
    Notice *m_notice;  // what a screen reader is told of a flipped bit
    mutable QList<QPoint> m_points;  // where the points are drawn
    int m_current = 0;
};

}  // namespace quorvex
