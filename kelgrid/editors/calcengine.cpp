#include "kelgrid/editors/calcengine.h"

#include "toolkit/core/beep.h"
#include "toolkit/core/numbers.h"

#include <cmath>

namespace kelgrid {

using namespace calckeys;

namespace {

QChar DecimalSeparator()
{
    return tk::NumberSettings().DecimalSeparator;
}

}  // namespace

void TKelCalcEngine::Start(const QString& text)
{
    ClearAll();
    // A cell's text may carry blanks around its number; the display shows
    // the number alone.
    SetText(text.trimmed());
}

bool TKelCalcEngine::Result(QString& text)
{
    if ((typing_ || newOperand_ || operatorPending_) && !Calculate())
        return false;
    text = text_;
    return true;
}

bool TKelCalcEngine::SetText(const QString& text)
{
    const QString shown = text.isEmpty() ? QStringLiteral("0") : text;
    double parsed = 0;
    if (!tk::TryStrToFloat(shown, parsed)) {
        tk::Beep();
        return false;
    }
    value_ = parsed;
    text_ = shown;
    return true;
}

bool TKelCalcEngine::SetValue(double value)
{
    // 15 digits of a value near the largest double may round beyond it, so
    // the text is checked by SetText as any other.
    if (!std::isfinite(value)) {
        tk::Beep();
        return false;
    }
    return SetText(tk::FloatToStr(value));
}

void TKelCalcEngine::Key(QChar code)
{
    const char16_t c = code.unicode();
    if (c >= u'0' && c <= u'9') {
        Digit(code);
        return;
    }
    switch (c) {
    case u',':
    case u'.':
        Digit(DecimalSeparator());
        break;
    case kcBack:
        Back();
        break;
    case kcClearEntry:
        ClearEntry();
        break;
    case kcClear:
        ClearAll();
        break;
    case u'+':
    case u'-':
    case u'*':
    case u'/':
        Operator(code);
        break;
    case u'=':
        Calculate();
        break;
    case u'%':
    case kcSquareRoot:
    case kcReciprocal:
    case u'r':
        Function(code);
        break;
    case kcSign:
        ChangeSign();
        break;
    case kcMemoryClear:
        typing_ = false;
        memory_ = 0;
        break;
    case kcMemoryAdd:
        typing_ = false;
        // An overflowing sum would leave the memory unusable: refuse it.
        if (std::isfinite(memory_ + value_))
            memory_ += value_;
        else
            tk::Beep();
        break;
    case kcMemoryRecall:
        typing_ = false;
        newOperand_ = true;
        SetValue(memory_);
        break;
    case kcMemoryStore:
        typing_ = false;
        memory_ = value_;
        break;
    default:
        break;  // kcOk belongs to the popup; anything else means nothing here
    }
}

void TKelCalcEngine::ClearAll()
{
    text_ = QStringLiteral("0");
    value_ = 0;
    newOperand_ = true;
    typing_ = false;
    operatorPending_ = false;
    total_ = 0;
    savedTotal_ = 0;
    operand_ = 0;
    operation_ = u'=';
}

void TKelCalcEngine::ClearEntry()
{
    SetText(QStringLiteral("0"));
    // Right after a calculation CE takes it back.
    if (!typing_ && !newOperand_)
        total_ = savedTotal_;
    newOperand_ = true;
    typing_ = false;
    operatorPending_ = false;
}

void TKelCalcEngine::Digit(QChar c)
{
    if (!typing_)
        SetText(QStringLiteral("0"));
    const QString next = (text_ != QStringLiteral("0") || c == DecimalSeparator()) ? text_ + c : QString(c);
    typing_ = true;
    SetText(next);  // a second separator does not parse and is refused
}

void TKelCalcEngine::Back()
{
    if (!typing_) {
        tk::Beep();
        return;
    }
    QString next = text_;
    if (next.size() == 1 || (next.size() == 2 && next.startsWith(u'-')) ||
        next == QStringLiteral("-0") + DecimalSeparator())
        next = QStringLiteral("0");
    else
        next.chop(1);
    SetText(next);
}

void TKelCalcEngine::ChangeSign()
{
    QString next = text_;
    if (next.startsWith(u'-'))
        next.remove(0, 1);
    else if (next != QStringLiteral("0"))
        next.prepend(u'-');
    typing_ = true;
    SetText(next);
}

void TKelCalcEngine::Operator(QChar op)
{
    if (typing_ || newOperand_) {
        if (!operatorPending_)
            operation_ = u'=';
        if (!Calculate())
            return;
    }
    // Two operators in a row: the second replaces the first.
    operation_ = op;
    operatorPending_ = true;
}

bool TKelCalcEngine::Calculate()
{
    // Without new input "=" repeats the last operation with the same operand.
    if (typing_ || newOperand_ || operatorPending_)
        operand_ = value_;
    typing_ = false;
    newOperand_ = false;
    operatorPending_ = false;
    savedTotal_ = total_;
    if (operation_ != u'=') {
        double result = 0;
        switch (operation_.unicode()) {
        case u'*':
            result = total_ * operand_;
            break;
        case u'+':
            result = total_ + operand_;
            break;
        case u'-':
            result = total_ - operand_;
            break;
        case u'/':
            // Division by zero is a failure, not an infinity to show.
            result = operand_ == 0 ? NAN : total_ / operand_;
            break;
        }
        if (!SetValue(result))
            return false;
    }
    total_ = value_;
    return true;
}

void TKelCalcEngine::Function(QChar code)
{
    newOperand_ = true;
    typing_ = false;
    double result = NAN;
    switch (code.unicode()) {
    case u'%':
        result = total_ * value_ / 100;
        break;
    case kcSquareRoot:
        if (value_ >= 0)
            result = std::sqrt(value_);
        break;
    default:  // reciprocal
        if (value_ != 0)
            result = 1 / value_;
        break;
    }
    SetValue(result);  // NaN and infinities beep and leave the display
}

}  // namespace kelgrid
