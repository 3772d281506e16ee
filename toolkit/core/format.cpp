#include "toolkit/core/format.h"

#include "toolkit/core/exceptions.h"

#include <algorithm>

namespace tk {

namespace {

[[noreturn]] void RaiseInvalid(const QString& directive)
{
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(directive));
}

class Formatter {
public:
    Formatter(const QString& format, const std::vector<Variant>& args, const TNumberSettings& settings)
        : format_(format), args_(args), settings_(settings)
    {
    }

    QString Run()
    {
        QString out;
        while (pos_ < format_.size()) {
            const QChar c = format_[pos_];
            if (c != QLatin1Char('%')) {
                out += c;
                ++pos_;
                continue;
            }
            if (pos_ + 1 < format_.size() && format_[pos_ + 1] == QLatin1Char('%')) {
                out += c;
                pos_ += 2;
                continue;
            }
            out += Directive();
        }
        return out;
    }

private:
    // One directive starting at the "%"; leaves pos_ after its type letter.
    QString Directive()
    {
        start_ = pos_++;
        int number = -1;
        bool numberGiven = ReadNumber(number);
        if (numberGiven && Peek() == QLatin1Char(':')) {
            ++pos_;
            next_ = number;
            numberGiven = false;
        }
        bool leftJustify = false;
        if (!numberGiven && Peek() == QLatin1Char('-')) {
            leftJustify = true;
            ++pos_;
        }
        int width = 0;
        if (numberGiven)
            width = number;
        else if (ReadNumber(number))
            width = number;
        int precision = -1;
        if (Peek() == QLatin1Char('.')) {
            ++pos_;
            if (!ReadNumber(precision))
                RaiseInvalid(DirectiveText());
        }
        if (pos_ >= format_.size())
            RaiseInvalid(DirectiveText());
        const QChar type = format_[pos_++].toLower();
        const QString text = Convert(type, NextArgument(), precision);
        if (text.size() >= width)
            return text;
        return leftJustify ? text.leftJustified(width) : text.rightJustified(width);
    }

    QChar Peek() const { return pos_ < format_.size() ? format_[pos_] : QChar(); }

    QString DirectiveText() const { return format_.mid(start_, pos_ - start_); }

    // Digits or "*" (the next argument); false when neither is there.
    bool ReadNumber(int& value)
    {
        if (Peek() == QLatin1Char('*')) {
            ++pos_;
            const Variant& arg = NextArgument();
            if (!arg.IsOrdinal())
                RaiseInvalid(DirectiveText());
            value = static_cast<int>(std::clamp<qint64>(arg.ToInt64(), -1, 100000));
            return true;
        }
        const qsizetype begin = pos_;
        qint64 n = 0;
        while (pos_ < format_.size() && format_[pos_].isDigit() && format_[pos_].unicode() < 128) {
            n = std::min<qint64>(n * 10 + (format_[pos_].unicode() - '0'), 100000);
            ++pos_;
        }
        value = static_cast<int>(n);
        return pos_ > begin;
    }

    const Variant& NextArgument()
    {
        if (next_ < 0 || next_ >= static_cast<int>(args_.size()))
            throw EConvertError(QStringLiteral("No argument for format '%1'").arg(DirectiveText()));
        return args_[static_cast<size_t>(next_++)];
    }

    QString Convert(QChar type, const Variant& arg, int precision)
    {
        switch (type.unicode()) {
        case 'd':
        case 'u':
        case 'x': return IntegerText(type, arg, precision);
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm': return FloatText(type, arg, precision);
        case 's':
            if (!arg.IsString())
                RaiseInvalid(DirectiveText());
            return precision >= 0 ? arg.ToString().left(precision) : arg.ToString();
        default: RaiseInvalid(DirectiveText());
        }
    }

    QString IntegerText(QChar type, const Variant& arg, int precision)
    {
        if (!arg.IsOrdinal())
            RaiseInvalid(DirectiveText());
        const qint64 value = arg.ToInt64();
        const bool wide = arg.Kind() == VariantKind::Int64;
        QString digits;
        bool negative = false;
        if (type == QLatin1Char('d')) {
            negative = value < 0;
            digits = QString::number(negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value));
        } else {
            // Unsigned readings spell the bits of the value's own width.
            const quint64 bits = wide ? static_cast<quint64>(value) : static_cast<quint32>(value);
            digits = type == QLatin1Char('u') ? QString::number(bits) : QString::number(bits, 16).toUpper();
        }
        if (precision > digits.size())
            digits = digits.rightJustified(precision, QLatin1Char('0'));
        return negative ? QLatin1Char('-') + digits : digits;
    }

    QString FloatText(QChar type, const Variant& arg, int precision)
    {
        if (!(arg.IsFloat() || arg.IsBcd() || arg.IsDate()))
            RaiseInvalid(DirectiveText());
        const double value = arg.ToDouble();
        switch (type.unicode()) {
        case 'e':
            return FloatToStrF(value, TFloatFormat::Exponent, precision < 0 ? 15 : precision, 3, settings_);
        case 'g': return FloatToStrF(value, TFloatFormat::General, precision < 0 ? 15 : precision, 0, settings_);
        case 'f': return FloatToStrF(value, TFloatFormat::Fixed, 15, precision < 0 ? 2 : precision, settings_);
        case 'n': return FloatToStrF(value, TFloatFormat::Number, 15, precision < 0 ? 2 : precision, settings_);
        default:
            return FloatToStrF(value, TFloatFormat::Currency, 15,
                               precision < 0 ? settings_.CurrencyDecimals : precision, settings_);
        }
    }

    const QString& format_;
    const std::vector<Variant>& args_;
    const TNumberSettings& settings_;
    qsizetype pos_ = 0;
    qsizetype start_ = 0;
    int next_ = 0;
};

}  // namespace

QString Format(const QString& format, const std::vector<Variant>& args, const TNumberSettings& settings)
{
    return Formatter(format, args, settings).Run();
}

}  // namespace tk
