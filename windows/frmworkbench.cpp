// SPDX-License-Identifier: MIT
#include "windows/frmworkbench.h"

#include "conversions/spoken.h"
#include "windows/runtimeguard.h"
#include "windows/workingpane.h"
#include "ui_frmworkbench.h"

#include <QFontDatabase>
#include <QScreen>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>

namespace quorvex {

namespace {

using workbench::Direction;

// The format box's items, in order.
constexpr std::array representations{Representation::UnsignedInteger, Representation::TwosInteger,
                                     Representation::UnsignedFixed, Representation::TwosFixed,
                                     Representation::Floating};

// Wide enough for a 64-bit mantissa and a 12-bit exponent in the answer box,
// and for the working's tables beside their captions.
constexpr QSize defaultSize(780, 600);

}  // namespace

frmWorkbench::frmWorkbench(QWidget *parent)
    : ConverterWindow(parent), ui(std::make_unique<Ui::frmWorkbench>())
{
    ui->setupUi(this);
    // Unlike the converter windows, this one is laid out to be resized.
    setWindowFlag(Qt::WindowMinMaxButtonsHint);

    // The widths start as a format starts.
    const Format start;
    ui->spnBits->setRange(limits::minBits, limits::maxBits);
    ui->spnBits->setValue(start.bits);
    ui->spnWhole->setRange(limits::minFixedPart, limits::maxFixedPart);
    ui->spnWhole->setValue(start.whole);
    ui->spnFraction->setRange(limits::minFixedPart, limits::maxFixedPart);
    ui->spnFraction->setValue(start.fraction);
    ui->spnMantissa->setRange(limits::minMantissa, limits::maxMantissa);
    ui->spnMantissa->setValue(start.mantissa);
    ui->spnExponent->setRange(limits::minExponent, limits::maxExponent);
    ui->spnExponent->setValue(start.exponent);

    // Bits line up in a fixed-width font; a pasted bit string of any length
    // is kept whole.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLineEdit *box : {ui->txtInput, ui->txtAnswer}) {
        box->setFont(fixed);
        box->setMaxLength(std::numeric_limits<int>::max());
    }

    // The working takes whatever height the window gains.
    m_working = new WorkingPane(this, WorkingPane::AlwaysShown{});
    m_working->setMinimumHeight(WorkingPane::paneHeight);
    ui->layMain->addWidget(m_working, ui->layMain->rowCount(), 0, 1, ui->layMain->columnCount());
    ui->layMain->setRowStretch(ui->layMain->rowCount() - 1, 1);
    ui->layMain->setColumnStretch(1, 1);
    m_working->showHtml(QStringLiteral("<p>")
                        + tr("Choose a format, type a number or bits, and ask for an answer: its working "
                             "appears here, step by step.")
                        + QStringLiteral("</p>"));

    connect(ui->cboFormat, &QComboBox::currentIndexChanged, this, &frmWorkbench::showWidths);
    connect(ui->spnWhole, &QSpinBox::valueChanged, this, &frmWorkbench::keepFixedWidthAboveZero);
    connect(ui->spnFraction, &QSpinBox::valueChanged, this, &frmWorkbench::keepFixedWidthAboveZero);
    connect(ui->cmdToBinary, &QPushButton::clicked, this, [this] { answer(Direction::ToBinary); });
    connect(ui->cmdToDenary, &QPushButton::clicked, this, [this] { answer(Direction::ToDenary); });
    connect(ui->cmdNormalise, &QPushButton::clicked, this, [this] { answer(Direction::Normalise); });
    connect(ui->cmdRange, &QPushButton::clicked, this, [this] { answer(Direction::Range); });
    connect(ui->txtInput, &QLineEdit::returnPressed, this, [this] { answer(m_lastAsked); });

    showWidths();
    // No larger than the screen, at any scale.
    resize(defaultSize.boundedTo(screen()->availableGeometry().size()));
    ui->txtInput->setFocus();  // a student types first
}

frmWorkbench::~frmWorkbench() = default;

Format frmWorkbench::format() const
{
    Format f;
    f.representation = representations.at(std::size_t(std::max(0, ui->cboFormat->currentIndex())));
    f.bits = ui->spnBits->value();
    f.whole = ui->spnWhole->value();
    f.fraction = ui->spnFraction->value();
    f.mantissa = ui->spnMantissa->value();
    f.exponent = ui->spnExponent->value();
    return f;
}

// Only the widths of the chosen representation, and Normalise only for
// floating point.
void frmWorkbench::showWidths()
{
    const Format f = format();
    const auto show = [](std::initializer_list<QWidget *> widgets, bool shown) {
        for (QWidget *w : widgets)
            w->setVisible(shown);
    };
    show({ui->lblBits, ui->spnBits}, f.isInteger());
    show({ui->lblWhole, ui->spnWhole, ui->lblFraction, ui->spnFraction}, f.isFixed());
    show({ui->lblMantissa, ui->spnMantissa, ui->lblExponent, ui->spnExponent}, f.isFloating());
    ui->cmdNormalise->setVisible(f.isFloating());
    ui->cmdNormalise->setEnabled(f.isFloating());
    // Normalising has no meaning elsewhere; Enter then reads the bits.
    if (!f.isFloating() && m_lastAsked == Direction::Normalise)
        m_lastAsked = Direction::ToDenary;
}

// A fixed-point format has at least one bit: while one side of the point has
// none, the other keeps at least one.
void frmWorkbench::keepFixedWidthAboveZero()
{
    ui->spnFraction->setMinimum(ui->spnWhole->value() == 0 ? 1 : limits::minFixedPart);
    ui->spnWhole->setMinimum(ui->spnFraction->value() == 0 ? 1 : limits::minFixedPart);
}

void frmWorkbench::answer(Direction direction)
{
    m_lastAsked = direction;
    guarded(this, [this, direction] {
        const workbench::Answer a = workbench::solve(format(), direction, ui->txtInput->text());
        ui->txtAnswer->setText(a.text);
        ui->txtAnswer->setCursorPosition(0);  // a long answer shows its start
        // Bits are spelt out for a screen reader; a denary answer is not.
        const bool bits = !a.refused && (direction == Direction::ToBinary || direction == Direction::Normalise);
        ui->txtAnswer->setAccessibleDescription(bits ? spoken::pattern(a.text) : QString());
        m_working->showHtml(a.workingHtml);
    });
}

}  // namespace quorvex
