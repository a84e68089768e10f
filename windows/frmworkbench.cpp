// SPDX-License-Identifier: MIT
#include "windows/frmworkbench.h"

#include "conversions/spoken.h"
#include "practice/calculations.h"
#include "practice/levels.h"
#include "engine/rounding.h"
#include "topics/bitgroups.h"
#include "topics/ieee.h"
#include "topics/registry.h"
#include "windows/bitfield.h"
#include "windows/fixedfont.h"
#include "windows/accessibility.h"
#include "windows/runtimeguard.h"
#include "windows/workingpane.h"
#include "windows/worksheetdialog.h"
#include "ui_frmworkbench.h"

#include <QAccessible>
#include <QDateTime>
#include <QScreen>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <limits>

namespace quorvex {

namespace {

using workbench::Direction;
using workbench::Operation;
using workbench::Width;

const workbench::Topic &topicAt(int index)
{
    const std::vector<const workbench::Topic *> &all = workbench::topics();
    return *all.at(std::size_t(std::clamp(index, 0, int(all.size()) - 1)));
}

// Wide enough for a 64-bit mantissa and a 12-bit exponent in the answer box,
// and for the working's tables beside their captions.
constexpr QSize defaultSize(780, 600);

QString openingHtml()
{
    return QStringLiteral("<p>")
        + frmWorkbench::tr("Choose a format, type a number or bits, and ask for an answer: its working appears "
                           "here, step by step.")
        + QStringLiteral("</p>");
}

}  // namespace

frmWorkbench::frmWorkbench(QWidget *parent)
    : ConverterWindow(parent), ui(std::make_unique<Ui::frmWorkbench>())
{
    ui->setupUi(this);
    // A format box item for each topic, in the registry's order.
    for (const workbench::Topic *topic : workbench::topics())
        ui->cboFormat->addItem(topic->title());
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
    // The format compared with starts as wide, with more bits of exponent.
    ui->spnCompareMantissa->setRange(limits::minMantissa, limits::maxMantissa);
    ui->spnCompareMantissa->setValue(start.mantissa - 2);
    ui->spnCompareExponent->setRange(limits::minExponent, limits::maxExponent);
    ui->spnCompareExponent->setValue(start.exponent + 2);
    // 0 digits: as many as the number has.
    ui->spnDigits->setRange(0, limits::maxDigits);
    ui->spnDigits->setSpecialValueText(tr("as needed"));
    ui->spnDigits->setValue(start.digits);
    // IEEE 754's named formats; Custom takes the exponent and fraction widths.
    for (IeeePreset p : workbench::ieee754::presets()) {
        ui->cboPreset->addItem(workbench::ieee754::presetTitle(p), int(p));
        // A pattern is converted into another of the named formats.
        if (p != IeeePreset::Custom)
            ui->cboConvertTo->addItem(workbench::ieee754::presetTitle(p), int(p));
    }

    // Bits line up in a fixed-width font; a pasted bit string of any length
    // is kept whole.
    const QFont fixed = fixedWidthFont(9);
    for (QLineEdit *box : {ui->txtInput, ui->txtSecond, ui->txtMyAnswer, ui->txtAnswer}) {
        box->setFont(fixed);
        box->setMaxLength(std::numeric_limits<int>::max());
    }

    // The working takes whatever height the window gains.
    m_notice = new Notice(this);
    m_working = new WorkingPane(this, WorkingPane::AlwaysShown{});
    m_working->setMinimumHeight(WorkingPane::paneHeight);
    ui->layMain->addWidget(m_working, ui->layMain->rowCount(), 0, 1, ui->layMain->columnCount());
    ui->layMain->setRowStretch(ui->layMain->rowCount() - 1, 1);
    ui->layMain->setColumnStretch(1, 1);
    m_working->showHtml(openingHtml());

    // The buttons beside the question and the student's answer are as wide
    // as each other, so the two boxes end in line.
    const int sideWidth = std::max(ui->cmdNewQuestion->sizeHint().width(), ui->cmdCheck->sizeHint().width());
    ui->cmdNewQuestion->setMinimumWidth(sideWidth);
    ui->cmdCheck->setMinimumWidth(sideWidth);
    showVerdict(QString());
    showQuestion(QString());
    // New questions as typed in the widths set, or as a level's papers set
    // them.
    ui->cboLevel->addItem(tr("Widths as set"));
    for (practice::Level level : practice::allLevels())
        ui->cboLevel->addItem(practice::levelTitle(level), int(level));
    // A question in words, and the hints taken for it, stand only while its
    // numbers do.
    for (QLineEdit *box : {ui->txtInput, ui->txtSecond})
        connect(box, &QLineEdit::textEdited, this, [this] {
            showQuestion(QString());
            forgetHints();
        });
    connect(ui->spnPlaces, &QSpinBox::valueChanged, this, &frmWorkbench::forgetHints);
    connect(ui->cboFormat, &QComboBox::currentIndexChanged, this, [this] { showQuestion(QString()); });

    connect(ui->cboFormat, &QComboBox::currentIndexChanged, this, &frmWorkbench::showWidths);
    connect(ui->cboPreset, &QComboBox::currentIndexChanged, this, &frmWorkbench::showWidths);
    connect(ui->cboPreset, &QComboBox::currentIndexChanged, this, &frmWorkbench::clearAnswer);
    connect(ui->spnWhole, &QSpinBox::valueChanged, this, &frmWorkbench::keepFixedWidthAboveZero);
    connect(ui->spnFraction, &QSpinBox::valueChanged, this, &frmWorkbench::keepFixedWidthAboveZero);
    connect(ui->cmdToBinary, &QPushButton::clicked, this, [this] { answer(Direction::ToBinary); });
    connect(ui->cmdToDenary, &QPushButton::clicked, this, [this] { answer(Direction::ToDenary); });
    connect(ui->cmdToHex, &QPushButton::clicked, this, [this] { answer(Direction::ToHex); });
    connect(ui->cmdNormalise, &QPushButton::clicked, this, [this] { answer(Direction::Normalise); });
    connect(ui->cmdRange, &QPushButton::clicked, this, [this] { answer(Direction::Range); });
    connect(ui->cmdCalculate, &QPushButton::clicked, this, [this] {
        answer(Operation(ui->cboOperation->currentData().toInt()));
    });
    connect(ui->cboOperation, &QComboBox::currentIndexChanged, this, &frmWorkbench::showOperands);
    connect(ui->cboRounding, &QComboBox::currentIndexChanged, this, &frmWorkbench::clearAnswer);
    connect(ui->cboConvertTo, &QComboBox::currentIndexChanged, this, &frmWorkbench::clearAnswer);
    connect(ui->txtInput, &QLineEdit::returnPressed, this, [this] { answer(m_lastAsked); });
    connect(ui->txtSecond, &QLineEdit::returnPressed, this, [this] { answer(m_lastAsked); });
    connect(ui->cmdCheck, &QPushButton::clicked, this, &frmWorkbench::check);
    connect(ui->txtMyAnswer, &QLineEdit::returnPressed, this, &frmWorkbench::check);
    connect(ui->cmdNewQuestion, &QPushButton::clicked, this, &frmWorkbench::newQuestion);
    connect(ui->cmdHint, &QPushButton::clicked, this, &frmWorkbench::hint);
    connect(ui->cmdWorksheet, &QPushButton::clicked, this, &frmWorkbench::writeWorksheet);
    connect(ui->cmdStartRun, &QPushButton::clicked, this, &frmWorkbench::startRun);
    connect(ui->bitField, &BitField::patternChanged, this, &frmWorkbench::readFlipped);
    // An answer worked in another format would mislead once the format
    // changes; what was typed stays.
    connect(ui->cboFormat, &QComboBox::currentIndexChanged, this, &frmWorkbench::clearAnswer);
    for (QSpinBox *width :
         {ui->spnBits, ui->spnWhole, ui->spnFraction, ui->spnMantissa, ui->spnExponent, ui->spnDigits,
          ui->spnCompareMantissa, ui->spnCompareExponent})
        connect(width, &QSpinBox::valueChanged, this, &frmWorkbench::clearAnswer);

    showWidths();
    showPattern(Operation::Range, true, QString());
    // The answer's caption stays level with the answer box above the bits.
    ui->layMain->setAlignment(ui->lblAnswer, Qt::AlignTop);
    ui->lblAnswer->setMinimumHeight(ui->txtAnswer->sizeHint().height());
    // No larger than the screen, at any scale.
    resize(defaultSize.boundedTo(screen()->availableGeometry().size()));
    ui->txtInput->setFocus();  // a student types first
}

// A run left unfinished when the window closes keeps what was answered.
frmWorkbench::~frmWorkbench()
{
    if (m_run && !m_run->answers().empty())
        progress().record(*m_run, QDateTime::currentDateTimeUtc());
}

Format frmWorkbench::format() const
{
    Format f;
    f.representation = topicAt(ui->cboFormat->currentIndex()).representation();
    f.bits = ui->spnBits->value();
    f.whole = ui->spnWhole->value();
    f.fraction = ui->spnFraction->value();
    f.mantissa = ui->spnMantissa->value();
    f.exponent = ui->spnExponent->value();
    f.digits = ui->spnDigits->value();
    if (f.isIeee()) {
        const auto preset = IeeePreset(ui->cboPreset->currentData().toInt());
        const Format p = preset == IeeePreset::Custom ? workbench::ieee754::customFormat(f.exponent, f.fraction)
                                                      : workbench::ieee754::presetFormat(preset);
        f.exponent = p.exponent;
        f.fraction = p.fraction;
        f.bias = p.bias;
        f.preset = p.preset;
    }
    if (ui->cboRounding->count() > 0)
        f.rounding = Rounding(ui->cboRounding->currentData().toInt());
    return f;
}

// Only the widths, buttons and operations of the chosen format's topic.
void frmWorkbench::showWidths()
{
    const workbench::Topic &topic = topicAt(ui->cboFormat->currentIndex());
    const QList<Width> widths = topic.widths();
    const auto show = [](std::initializer_list<QWidget *> widgets, bool shown) {
        for (QWidget *w : widgets)
            w->setVisible(shown);
    };
    // IEEE 754: a preset, and the widths only for a custom format. The
    // exponent and fraction boxes take IEEE 754's ranges there.
    const bool ieee = topic.representation() == Representation::Ieee;
    const bool custom = !ieee || IeeePreset(ui->cboPreset->currentData().toInt()) == IeeePreset::Custom;
    show({ui->lblPreset, ui->cboPreset}, ieee);
    {
        const QSignalBlocker fractionBlocker(ui->spnFraction), exponentBlocker(ui->spnExponent);
        if (ieee) {
            ui->spnFraction->setRange(limits::minIeeeFraction, limits::maxIeeeFraction);
            ui->spnExponent->setRange(limits::minIeeeExponent, limits::maxIeeeExponent);
            ui->lblFraction->setText(tr("Fraction bits after the &point:"));
            ui->spnFraction->setAccessibleName(tr("Fraction bits after the point"));
        } else {
            ui->spnFraction->setRange(limits::minFixedPart, limits::maxFixedPart);
            ui->spnExponent->setRange(limits::minExponent, limits::maxExponent);
            ui->lblFraction->setText(tr("Bits after the &point:"));
            ui->spnFraction->setAccessibleName(tr("Bits after the point"));
            keepFixedWidthAboveZero();
        }
    }
    show({ui->lblBits, ui->spnBits}, widths.contains(Width::Bits));
    show({ui->lblWhole, ui->spnWhole}, widths.contains(Width::Whole));
    show({ui->lblFraction, ui->spnFraction}, widths.contains(Width::Fraction) && custom);
    show({ui->lblMantissa, ui->spnMantissa}, widths.contains(Width::Mantissa));
    show({ui->lblExponent, ui->spnExponent}, widths.contains(Width::Exponent) && custom);
    show({ui->lblDigits, ui->spnDigits}, widths.contains(Width::Digits));
    // The roundings, where the format has a choice of them; the default first.
    {
        const QSignalBlocker roundingBlocker(ui->cboRounding);
        ui->cboRounding->clear();
        for (Rounding r : topic.roundings())
            ui->cboRounding->addItem(roundingTitle(r), int(r));
        show({ui->lblRounding, ui->cboRounding}, ui->cboRounding->count() > 1);
    }

    const QList<Operation> operations = topic.operations();
    const std::pair<QPushButton *, Operation> buttons[] = {{ui->cmdToBinary, Operation::ToBinary},
                                                           {ui->cmdToDenary, Operation::ToDenary},
                                                           {ui->cmdToHex, Operation::ToHex},
                                                           {ui->cmdNormalise, Operation::Normalise},
                                                           {ui->cmdRange, Operation::Range}};
    for (const auto &[button, operation] : buttons) {
        button->setVisible(operations.contains(operation));
        button->setEnabled(operations.contains(operation));
    }
    // The operations without a button of their own are chosen by name.
    const QSignalBlocker blocker(ui->cboOperation);
    ui->cboOperation->clear();
    for (Operation operation : operations + topic.calculations()) {
        if (!workbench::hasButton(operation))
            ui->cboOperation->addItem(workbench::operationTitle(operation), int(operation));
    }
    const bool calculates = ui->cboOperation->count() > 0;
    show({ui->lblOperation, ui->cboOperation, ui->cmdCalculate}, calculates);
    showOperands();
    ui->spnPlaces->setRange(0, qMax(0, topic.width(format())));
    // An operation the format does not have is not repeated by Enter: it
    // then reads the bits, or does what the format does first.
    if (!operations.contains(m_lastAsked) && !topic.calculations().contains(m_lastAsked))
        m_lastAsked = operations.contains(Operation::ToDenary) ? Operation::ToDenary : operations.value(0);
}

// The second operand and the places, for the operation chosen by name.
void frmWorkbench::showOperands()
{
    const bool chosen = ui->cboOperation->isVisibleTo(this) && ui->cboOperation->count() > 0;
    const Operation operation = Operation(ui->cboOperation->currentData().toInt());
    const bool second = chosen && workbench::operandCount(operation) >= 2;
    const bool places = chosen && workbench::takesPlaces(operation);
    ui->lblSecond->setVisible(second);
    ui->txtSecond->setVisible(second);
    ui->lblPlaces->setVisible(places);
    ui->spnPlaces->setVisible(places);
    const bool compare = chosen && operation == Operation::Compare;
    for (QWidget *w : {static_cast<QWidget *>(ui->lblCompareMantissa), static_cast<QWidget *>(ui->spnCompareMantissa),
                       static_cast<QWidget *>(ui->lblCompareExponent), static_cast<QWidget *>(ui->spnCompareExponent)})
        w->setVisible(compare);
    const bool convert = chosen && operation == Operation::Convert;
    ui->lblConvertTo->setVisible(convert);
    ui->cboConvertTo->setVisible(convert);
}

// A fixed-point format has at least one bit: while one side of the point has
// none, the other keeps at least one.
void frmWorkbench::keepFixedWidthAboveZero()
{
    if (!ui->spnWhole->isVisibleTo(this) && format().isIeee())
        return;  // the fraction box holds IEEE 754's fraction width
    ui->spnFraction->setMinimum(ui->spnWhole->value() == 0 ? 1 : limits::minFixedPart);
    ui->spnWhole->setMinimum(ui->spnFraction->value() == 0 ? 1 : limits::minFixedPart);
}

void frmWorkbench::answer(Direction direction)
{
    m_lastAsked = direction;
    guarded(this, [this, direction] {
        // A calculation takes the second operand too, when it has one, and
        // the places to move the bits.
        const workbench::Answer a = workbench::isCalculation(direction)
            ? workbench::solve(format(), direction, calculation(direction))
            : workbench::solve(format(), direction, ui->txtInput->text());
        ui->txtAnswer->setText(a.text);
        ui->txtAnswer->setCursorPosition(0);  // a long answer shows its start
        // Bits are spelt out for a screen reader; a denary answer is not.
        const bool bits = !a.refused && (direction == Direction::ToBinary || direction == Direction::Normalise);
        const bool hex = !a.refused && direction == Direction::ToHex;
        speakAs(ui->txtAnswer, bits ? spoken::pattern(a.text) : hex ? spoken::hexDigits(a.text) : QString());
        m_working->showHtml(a.workingHtml);
        showPattern(direction, a.refused, a.text);
    });
    // A screen reader speaks what has the focus: the answer (or why there
    // is none), as a converter window's result is; after a flipped bit the
    // focus stays on its cell.
    if (QAccessible::isActive() && !ui->txtAnswer->text().isEmpty() && !m_flipping) {
        ui->txtAnswer->setFocus(Qt::OtherFocusReason);
        ui->txtAnswer->selectAll();
    }
}

// The calculation the boxes ask for: the second number, and a third after a
// comma in the second box for an addition of three rows; the places.
workbench::Calculation frmWorkbench::calculation(Operation operation) const
{
    workbench::Calculation c{{ui->txtInput->text()}, ui->spnPlaces->value(), std::nullopt, std::nullopt};
    if (workbench::operandCount(operation) >= 3)
        c.operands << ui->txtSecond->text().split(u',');
    else if (workbench::operandCount(operation) >= 2)
        c.operands << ui->txtSecond->text();
    if (operation == Operation::Compare) {
        Format other = format();
        other.mantissa = ui->spnCompareMantissa->value();
        other.exponent = ui->spnCompareExponent->value();
        c.to = other;
    }
    if (operation == Operation::Convert)
        c.to = workbench::ieee754::presetFormat(IeeePreset(ui->cboConvertTo->currentData().toInt()));
    return c;
}

void frmWorkbench::check()
{
    std::optional<std::pair<practice::Verdict, QString>> marked;  // the verdict and the right answer
    guarded(this, [this, &marked] {
        const Format f = format();
        const QString question = ui->txtInput->text();
        const bool calculated = workbench::isCalculation(m_lastAsked);
        const practice::Verdict verdict = calculated
            ? practice::markCalculation(f, m_lastAsked, calculation(m_lastAsked), ui->txtMyAnswer->text())
            : practice::mark(f, m_lastAsked, question, ui->txtMyAnswer->text());
        // The right answer shows now, under the student's for comparing.
        const QString right = m_lastAsked == Direction::Range ? QString()
            : calculated ? workbench::solve(f, m_lastAsked, calculation(m_lastAsked)).text
                         : workbench::solve(f, m_lastAsked, question).text;
        // Only answers are counted: a question with no answer is not one.
        if (verdict.mistake != practice::Mistake::QuestionRefused)
            m_tally.add(verdict, m_hinted);
        ui->txtAnswer->setText(right);
        ui->txtAnswer->setCursorPosition(0);
        const bool answered = verdict.mistake != practice::Mistake::QuestionRefused;
        const bool bits = answered && m_lastAsked != Direction::ToDenary && m_lastAsked != Direction::ToHex
            && !calculated;
        const bool hex = answered && m_lastAsked == Direction::ToHex;
        speakAs(ui->txtAnswer, bits ? spoken::pattern(right) : hex ? spoken::hexDigits(right) : QString());
        if (m_tally.asked > 0)
            ui->lblTally->setText(m_tally.text());
        showVerdict(verdict.text);
        m_working->showHtml(verdict.workingHtml.isEmpty() ? openingHtml() : verdict.workingHtml);
        showPattern(m_lastAsked, !answered, right);
        marked.emplace(verdict, right);
    });
    // A screen reader speaks what has the focus: the verdict, when one is
    // listening; otherwise the student goes on in their answer.
    if (QAccessible::isActive() && !ui->lblVerdict->text().isEmpty())
        focusVerdict();
    else
        ui->txtMyAnswer->setFocus(Qt::OtherFocusReason);
    if (m_run && marked)
        keepRunAnswer(marked->first, marked->second);
}

void frmWorkbench::newQuestion()
{
    if (m_run) {
        nextRunQuestion();
        return;
    }
    // A level's question: one of the kinds it sets in this topic, in its
    // widths; the controls follow it.
    if (ui->cboLevel->currentIndex() > 0) {
        const auto level = practice::Level(ui->cboLevel->currentData().toInt());
        std::vector<practice::Kind> kinds = practice::kindsIn(level, {practice::topicId(format())});
        if (kinds.empty())
            kinds = practice::levelKinds(level);
        if (!kinds.empty()) {
            const practice::Kind &kind = kinds[m_random.bounded(quint32(kinds.size()))];
            setFormat(kind.format);
            m_lastAsked = kind.operation;
            if (const int at = ui->cboOperation->findData(int(kind.operation)); at >= 0)
                ui->cboOperation->setCurrentIndex(at);
        }
    }
    // The range is not a question: after it, a number to write in bits,
    // which Check then marks.
    const Direction asked = m_lastAsked == Direction::Range ? Direction::ToBinary : m_lastAsked;
    m_lastAsked = asked;
    guarded(this, [this, asked] {
        workbench::Calculation question;
        if (workbench::isCalculation(asked))
            question = practice::newCalculation(format(), asked, m_random);
        else
            question.operands << practice::newQuestion(format(), asked, m_random);
        // The question in words, as a paper puts it.
        pose(asked, question,
             workbench::isCalculation(asked) ? practice::askedCalculation(format(), asked, question)
                                             : practice::questionText(format(), asked, question.operands.value(0)));
    });
}

void frmWorkbench::pose(Operation operation, const workbench::Calculation &question, const QString &text)
{
    // A calculation's operands go in their boxes, its places in theirs.
    ui->txtInput->setText(question.operands.value(0));
    ui->txtSecond->setText(question.operands.mid(1).join(QStringLiteral(", ")));
    if (workbench::takesPlaces(operation))
        ui->spnPlaces->setValue(question.places);
    // The answer box says what form the answer takes.
    ui->txtMyAnswer->setPlaceholderText(tr("Your answer, as %1").arg(practice::answerForm(operation)));
    showQuestion(text);
    ui->txtMyAnswer->clear();
    clearAnswer();
    m_working->showHtml(QStringLiteral("<p>")
                        + tr("Work the question out, write your answer under it and press Check: the "
                             "verdict comes under the answer, and the working here.")
                        + QStringLiteral("</p>"));
    // The question is heard with a screen reader; otherwise the student
    // writes the answer straight away.
    if (QAccessible::isActive()) {
        describeUntilEdited(ui->txtInput, tr("New question: %1").arg(ui->lblQuestion->text()));
        ui->txtInput->setFocus(Qt::OtherFocusReason);
        ui->txtInput->selectAll();
    } else {
        ui->txtMyAnswer->setFocus(Qt::OtherFocusReason);
    }
}

void frmWorkbench::hint()
{
    guarded(this, [this] {
        if (m_hintsShown == 0) {
            const workbench::Calculation question = workbench::isCalculation(m_lastAsked)
                ? calculation(m_lastAsked)
                : workbench::Calculation{{ui->txtInput->text()}, 0, std::nullopt, std::nullopt};
            m_hints = practice::hints(format(), m_lastAsked, question);
        }
        if (m_hints.isEmpty()) {
            showVerdict(tr("There is no hint for this question: its working has no step before the answer."));
            return;
        }
        if (m_hintsShown == m_hints.size()) {
            showVerdict(tr("That was the last hint: the next step is the answer."));
            return;
        }
        ++m_hintsShown;
        m_hinted = true;
        QString html;
        for (int i = 0; i < m_hintsShown; ++i)
            html += QStringLiteral("<p><b>%1</b></p>").arg(tr("Hint %1 of %2").arg(i + 1).arg(m_hints.size()))
                + m_hints[i];
        m_working->showHtml(html);
        const QString which = tr("Hint %1 of %2").arg(m_hintsShown).arg(m_hints.size());
        showVerdict(tr("%1 is in the working below.").arg(which));
        // Heard whole where it is seen in a table or a sum.
        ui->lblVerdict->setAccessibleName(which + QStringLiteral(": ")
                                          + spoken::html(m_hints[m_hintsShown - 1]));
    });
    if (QAccessible::isActive() && !ui->lblVerdict->text().isEmpty())
        focusVerdict();
}

// A screen reader speaks a label as it takes the focus, not as its text
// changes: a new verdict where the focus already is is told as a notice.
void frmWorkbench::focusVerdict()
{
    if (ui->lblVerdict->hasFocus())
        m_notice->say(ui->lblVerdict->accessibleName());
    else
        ui->lblVerdict->setFocus(Qt::OtherFocusReason);
}

void frmWorkbench::forgetHints()
{
    m_hints.clear();
    m_hintsShown = 0;
    m_hinted = false;
}

bool frmWorkbench::setFormat(const Format &f)
{
    const std::vector<const workbench::Topic *> &all = workbench::topics();
    const auto found = std::find_if(all.begin(), all.end(),
                                    [&f](const workbench::Topic *t) { return t->representation() == f.representation; });
    if (found == all.end() || !(*found)->offered(f))
        return false;
    ui->cboFormat->setCurrentIndex(int(found - all.begin()));
    if (f.isIeee()) {
        if (const int at = ui->cboPreset->findData(int(f.preset)); at >= 0)
            ui->cboPreset->setCurrentIndex(at);
    }
    // A fixed-point side may be 0 bits only while the other has some: the
    // fraction is set before the whole part and after it.
    for (const auto &[box, value] : {std::pair{ui->spnBits, f.bits}, std::pair{ui->spnFraction, f.fraction},
                                     std::pair{ui->spnWhole, f.whole}, std::pair{ui->spnFraction, f.fraction},
                                     std::pair{ui->spnMantissa, f.mantissa},
                                     std::pair{ui->spnExponent, f.exponent}, std::pair{ui->spnDigits, f.digits}}) {
        if (box->isVisibleTo(this))
            box->setValue(value);
    }
    if (const int at = ui->cboRounding->findData(int(f.rounding)); at >= 0)
        ui->cboRounding->setCurrentIndex(at);
    return true;
}

void frmWorkbench::writeWorksheet()
{
    WorksheetDialog dialog(format(), this);
    dialog.exec();
}

// The bit field shows the pattern the answer has, or hides.
void frmWorkbench::showPattern(Operation operation, bool refused, const QString &answer)
{
    const Format f = format();
    const std::optional<QString> bits =
        workbench::answeredPattern(f, operation, ui->txtInput->text(), refused, answer);
    if (bits)
        ui->bitField->setPattern(workbench::patternGroups(f, bits->size()), *bits);
    else
        ui->bitField->clear();
    ui->bitField->setVisible(bits.has_value());
}

// A flipped bit makes its pattern the question, read back at once, so the
// value, the answer and the working follow the bits; the focus stays on the
// cell.
void frmWorkbench::readFlipped(const QString &bits)
{
    ui->txtInput->setText(workbench::patternText(format(), bits));
    m_flipping = true;
    answer(Direction::ToDenary);
    m_flipping = false;
    ui->bitField->announce(ui->txtAnswer->text());
}

void frmWorkbench::showQuestion(const QString &text)
{
    ui->lblQuestion->setText(text);
    ui->lblQuestion->setVisible(!text.isEmpty());
}

void frmWorkbench::clearAnswer()
{
    forgetHints();
    showPattern(Operation::Range, true, QString());
    ui->txtAnswer->clear();
    speakAs(ui->txtAnswer, QString());
    showVerdict(QString());
    m_working->showHtml(openingHtml());
}

// The verdict is a Tab stop, to read and select, only while there is one;
// its row takes no room until the first check. Its accessible name is what
// it says with the score after it, for a screen reader reads a label's name
// (and never its description).
void frmWorkbench::showVerdict(const QString &text)
{
    const bool hadFocus = ui->lblVerdict->hasFocus();
    ui->lblVerdict->setText(text);
    ui->lblVerdict->setFocusPolicy(text.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    const QString tally = ui->lblTally->text();
    ui->lblVerdict->setVisible(!text.isEmpty() || !tally.isEmpty());
    ui->lblTally->setVisible(!tally.isEmpty());
    ui->lblVerdict->setAccessibleName(text.isEmpty() || tally.isEmpty() ? text : text + u' ' + tally + u'.');
    if (hadFocus && text.isEmpty())
        ui->txtMyAnswer->setFocus(Qt::OtherFocusReason);
}

}  // namespace quorvex
