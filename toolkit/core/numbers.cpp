#include "toolkit/core/numbers.h"

#include "toolkit/core/exceptions.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace tk {

namespace {

const char* const kPositiveCurrency[] = {"$1", "1$", "$ 1", "1 $"};
const char* const kNegativeCurrency[] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
                                         "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};

// A decimal reading of a double: digits d0 d1 ... with d0 standing at
// 10^exponent. Zero is the single digit "0".
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool IsZero() const { return digits.find_first_not_of('0') == std::string::npos; }
    // The digit standing at 10^power, "0" outside the digits held.
    char DigitAt(int power) const
    {
        const int index = exponent - power;
        return index >= 0 && index < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(index)] : '0';
    }
};

Decimal Decompose(double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0) {
        d.digits.assign(1, '0');  // (not = "0": GCC 12 warns falsely at -O3)
        return d;
    }
    // "d.dddddddddddddde+XX": the 15 significant digits a double keeps.
    const QByteArray text = QByteArray::number(std::fabs(value), 'e', 14);
    const qsizetype e = text.indexOf('e');
    d.digits = text.left(1).toStdString() + text.mid(2, e - 2).toStdString();
    d.exponent = text.mid(e + 1).toInt();
    return d;
}

// Keeps the first `keep` digits, rounding halves away from zero.
void RoundTo(Decimal& d, int keep)
{
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.assign(1, '0');
        return;
    }
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (!up) {
        if (d.digits.empty())
            d.digits.assign(1, '0');
        return;
    }
    int i = keep - 1;
    for (; i >= 0 && d.digits[static_cast<size_t>(i)] == '9'; --i)
        d.digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
        ++d.digits[static_cast<size_t>(i)];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
}

QString Grouped(const QString& integerDigits, QChar separator)
{
    if (separator.isNull())
        return integerDigits;
    QString out;
    const qsizetype n = integerDigits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += integerDigits[i];
    }
    return out;
}

// The unsigned fixed-point text with `decimals` decimals; sets `negative`
// when the rounded value is below zero.
QString FixedText(double value, int decimals, bool grouped, const TNumberSettings& settings, bool& negative)
{
    Decimal d = Decompose(value);
    RoundTo(d, d.exponent + 1 + decimals);
    negative = d.negative && !d.IsZero();
    QString integer;
    for (int power = std::max(d.exponent, 0); power >= 0; --power)
        integer += QLatin1Char(d.DigitAt(power));
    QString out = grouped ? Grouped(integer, settings.ThousandSeparator) : integer;
    if (decimals > 0) {
        out += settings.DecimalSeparator;
        for (int power = -1; power >= -decimals; --power)
            out += QLatin1Char(d.DigitAt(power));
    }
    return out;
}

QString ExponentText(int exponent, int minDigits, bool plusSign)
{
    QString out = QStringLiteral("E");
    if (exponent < 0)
        out += QLatin1Char('-');
    else if (plusSign)
        out += QLatin1Char('+');
    return out + QString::number(std::abs(exponent)).rightJustified(minDigits, QLatin1Char('0'));
}

QString GeneralText(double value, int precision, int expDigits, const TNumberSettings& settings)
{
    Decimal d = Decompose(value);
    RoundTo(d, precision);
    if (d.IsZero())
        return QStringLiteral("0");
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    QString out = d.negative ? QStringLiteral("-") : QString();
    if (d.exponent >= precision || d.exponent < -5) {
        out += QLatin1Char(d.digits[0]);
        if (d.digits.size() > 1)
            out += settings.DecimalSeparator + QString::fromStdString(d.digits.substr(1));
        return out + ExponentText(d.exponent, expDigits, false);
    }
    for (int power = std::max(d.exponent, 0); power >= 0; --power)
        out += QLatin1Char(d.DigitAt(power));
    const int decimals = static_cast<int>(d.digits.size()) - d.exponent - 1;
    if (decimals > 0) {
        out += settings.DecimalSeparator;
        for (int power = -1; power >= -decimals; --power)
            out += QLatin1Char(d.DigitAt(power));
    }
    return out;
}

QString ScientificText(double value, int precision, int expDigits, const TNumberSettings& settings)
{
    Decimal d = Decompose(value);
    RoundTo(d, precision);
    d.digits.resize(static_cast<size_t>(precision), '0');
    QString out = d.negative && !d.IsZero() ? QStringLiteral("-") : QString();
    out += QLatin1Char(d.digits[0]);
    if (precision > 1)
        out += settings.DecimalSeparator + QString::fromStdString(d.digits.substr(1));
    return out + ExponentText(d.IsZero() ? 0 : d.exponent, expDigits, true);
}

QString CurrencyText(double value, int decimals, const TNumberSettings& settings)
{
    bool negative = false;
    const QString number = FixedText(value, decimals, true, settings, negative);
    const int positive = std::clamp(settings.CurrencyFormat, 0, 3);
    const int negativeLayout = std::clamp(settings.NegCurrFormat, 0, 15);
    const char* layout = negative ? kNegativeCurrency[negativeLayout] : kPositiveCurrency[positive];
    QString out;
    for (const char* c = layout; *c; ++c) {
        if (*c == '$')
            out += settings.CurrencyString;
        else if (*c == '1')
            out += number;
        else
            out += QLatin1Char(*c);
    }
    return out;
}

// A locale's currency sample reduced to a layout: "$" for the symbol, "1"
// for the number, "-", "(", ")" and " ".
QString CurrencyLayout(const QLocale& locale, double sample)
{
    QString text = locale.toCurrencyString(sample);
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    if (!symbol.isEmpty())
        text.replace(symbol, QStringLiteral("$"));
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    QString layout;
    for (const QChar c : text) {
        QChar mapped;
        if (c.isDigit() || decimal.contains(c) || (!group.isEmpty() && group.contains(c) && !c.isSpace()))
            mapped = QLatin1Char('1');
        else if (c.isSpace())
            mapped = QLatin1Char(' ');
        else if (c == QChar(0x2212) || locale.negativeSign().contains(c))
            mapped = QLatin1Char('-');
        else if (c == QLatin1Char('$') || c == QLatin1Char('(') || c == QLatin1Char(')'))
            mapped = c;
        else
            continue;  // direction marks and the like
        if (!(mapped == QLatin1Char('1') && layout.endsWith(QLatin1Char('1'))))
            layout += mapped;
    }
    return layout;
}

int IndexOfLayout(const QString& layout, const char* const* table, int count)
{
    for (int i = 0; i < count; ++i)
        if (layout == QLatin1StringView(table[i]))
            return i;
    return -1;
}

// One section of a FormatFloat picture read into its parts.
struct Picture {
    enum class Kind { Literal, IntegerDigit, Point, FractionDigit, Exponent };
    struct Token {
        Kind kind;
        QString text;  // literal text, or "E+"/"e-" for the exponent
    };
    std::vector<Token> tokens;
    int integerPlaceholders = 0;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouped = false;
    bool exponent = false;
    int exponentDigits = 0;
};

// Splits at ";" outside quoted text.
QStringList PictureSections(const QString& picture)
{
    QStringList sections(1);
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

Picture ParsePicture(const QString& section)
{
    Picture p;
    bool afterPoint = false;
    int firstIntegerZero = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        const auto literal = [&p](const QString& text) {
            if (!p.tokens.empty() && p.tokens.back().kind == Picture::Kind::Literal)
                p.tokens.back().text += text;
            else
                p.tokens.push_back({Picture::Kind::Literal, text});
        };
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = section.indexOf(c, i + 1);
            if (end < 0)
                end = section.size();
            literal(section.mid(i + 1, end - i - 1));
            i = end;
        } else if (p.exponent) {
            literal(QString(c));  // everything after the exponent is text
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (afterPoint) {
                ++p.maxDecimals;
                if (c == QLatin1Char('0'))
                    p.minDecimals = p.maxDecimals;
                p.tokens.push_back({Picture::Kind::FractionDigit, QString()});
            } else {
                if (c == QLatin1Char('0') && firstIntegerZero < 0)
                    firstIntegerZero = p.integerPlaceholders;
                ++p.integerPlaceholders;
                p.tokens.push_back({Picture::Kind::IntegerDigit, QString()});
            }
        } else if (c == QLatin1Char('.')) {
            if (!afterPoint)
                p.tokens.push_back({Picture::Kind::Point, QString()});
            afterPoint = true;
        } else if (c == QLatin1Char(',')) {
            p.grouped = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < section.size() &&
                   (section[i + 1] == QLatin1Char('+') || section[i + 1] == QLatin1Char('-'))) {
            p.exponent = true;
            p.tokens.push_back({Picture::Kind::Exponent, section.mid(i, 2)});
            i += 2;
            for (; i < section.size() && section[i] == QLatin1Char('0'); ++i)
                ++p.exponentDigits;
            --i;
        } else {
            literal(QString(c));
        }
    }
    p.minIntegerDigits = firstIntegerZero < 0 ? 0 : p.integerPlaceholders - firstIntegerZero;
    return p;
}

// Writes a non-negative value after one picture section.
QString ApplyPicture(const Picture& p, double magnitude, const TNumberSettings& settings, bool& nonZero)
{
    Decimal d = Decompose(magnitude);
    int exponent = 0;
    std::string integerDigits;
    std::string fractionDigits;
    if (p.exponent) {
        if (!d.IsZero()) {
            RoundTo(d, p.integerPlaceholders + p.maxDecimals);
            exponent = d.exponent - (p.integerPlaceholders - 1);
        }
        // The first integerPlaceholders digits stand before the point.
        d.exponent = d.IsZero() ? 0 : p.integerPlaceholders - 1;
    } else {
        RoundTo(d, d.exponent + 1 + p.maxDecimals);
    }
    nonZero = !d.IsZero();
    for (int power = std::max(d.exponent, 0); power >= 0; --power)
        integerDigits += d.DigitAt(power);
    integerDigits.erase(0, std::min(integerDigits.find_first_not_of('0'), integerDigits.size()));
    if (static_cast<int>(integerDigits.size()) < p.minIntegerDigits)
        integerDigits.insert(0, static_cast<size_t>(p.minIntegerDigits) - integerDigits.size(), '0');
    for (int power = -1; power >= -p.maxDecimals; --power)
        fractionDigits += d.DigitAt(power);
    while (static_cast<int>(fractionDigits.size()) > p.minDecimals && fractionDigits.back() == '0')
        fractionDigits.pop_back();

    QString out;
    const int length = static_cast<int>(integerDigits.size());
    const auto emitDigit = [&](int index) {
        out += QLatin1Char(integerDigits[static_cast<size_t>(index)]);
        const int fromRight = length - index;  // 1 for the units
        if (p.grouped && !settings.ThousandSeparator.isNull() && fromRight > 1 && (fromRight - 1) % 3 == 0)
            out += settings.ThousandSeparator;
    };
    const auto emitLeadingDigits = [&](int placeholders) {
        for (int index = 0; index < length - placeholders; ++index)
            emitDigit(index);
    };
    int integerSeen = 0;
    int fractionSeen = 0;
    for (const Picture::Token& token : p.tokens) {
        switch (token.kind) {
        case Picture::Kind::Literal: out += token.text; break;
        case Picture::Kind::IntegerDigit: {
            if (integerSeen == 0)
                emitLeadingDigits(p.integerPlaceholders);
            const int fromRight = p.integerPlaceholders - integerSeen++;
            if (fromRight <= length)
                emitDigit(length - fromRight);
            break;
        }
        case Picture::Kind::Point:
            if (p.integerPlaceholders == 0)
                emitLeadingDigits(0);
            if (!fractionDigits.empty())
                out += settings.DecimalSeparator;
            break;
        case Picture::Kind::FractionDigit:
            if (fractionSeen < static_cast<int>(fractionDigits.size()))
                out += QLatin1Char(fractionDigits[static_cast<size_t>(fractionSeen)]);
            ++fractionSeen;
            break;
        case Picture::Kind::Exponent:
            out += token.text[0];
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (token.text[1] == QLatin1Char('+'))
                out += QLatin1Char('+');
            out += QString::number(std::abs(exponent)).rightJustified(p.exponentDigits, QLatin1Char('0'));
            break;
        }
    }
    return out;
}

}  // namespace

TNumberSettings NumberSettingsFromLocale(const QLocale& locale)
{
    TNumberSettings s;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    s.DecimalSeparator = decimal.isEmpty() ? QLatin1Char('.') : decimal[0];
    s.ThousandSeparator = group.isEmpty() ? QChar() : group[0];
    s.CurrencyString = locale.currencySymbol(QLocale::CurrencySymbol);

    const QString sample = locale.toCurrencyString(1.0);
    const qsizetype point = sample.indexOf(locale.decimalPoint());
    s.CurrencyDecimals = 0;
    for (qsizetype i = point + 1; point >= 0 && i < sample.size() && sample[i].isDigit(); ++i)
        ++s.CurrencyDecimals;

    const int positive = IndexOfLayout(CurrencyLayout(locale, 1.0), kPositiveCurrency, 4);
    s.CurrencyFormat = positive < 0 ? 0 : positive;
    const int negative = IndexOfLayout(CurrencyLayout(locale, -1.0), kNegativeCurrency, 16);
    // Unknown negative layouts put a leading minus on the positive layout.
    const int leadingMinus[] = {1, 5, 9, 8};
    s.NegCurrFormat = negative < 0 ? leadingMinus[s.CurrencyFormat] : negative;
    return s;
}

TNumberSettings& NumberSettings()
{
    static TNumberSettings settings = NumberSettingsFromLocale(QLocale::system());
    return settings;
}

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits, const TNumberSettings& settings)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    precision = std::clamp(precision, 1, 15);
    digits = std::clamp(digits, 0, 18);
    bool negative = false;
    switch (format) {
    case TFloatFormat::General:
        return GeneralText(value, precision, digits, settings);
    case TFloatFormat::Exponent:
        return ScientificText(value, precision, digits, settings);
    case TFloatFormat::Fixed:
    case TFloatFormat::Number: {
        const QString text = FixedText(value, digits, format == TFloatFormat::Number, settings, negative);
        return negative ? QLatin1Char('-') + text : text;
    }
    case TFloatFormat::Currency:
        return CurrencyText(value, digits, settings);
    }
    return QString();
}

QString FloatToStr(double value, const TNumberSettings& settings)
{
    return FloatToStrF(value, TFloatFormat::General, 15, 0, settings);
}

bool TryStrToFloat(const QString& text, double& value, const TNumberSettings& settings)
{
    const QString s = text.trimmed();
    QByteArray c;  // the same number in the C locale's form
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        c += static_cast<char>(s[i++].unicode());
    int mantissaDigits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        const QChar ch = s[i];
        if (ch.unicode() >= '0' && ch.unicode() <= '9') {
            c += static_cast<char>(ch.unicode());
            ++mantissaDigits;
        } else if (ch == settings.DecimalSeparator && !point) {
            c += '.';
            point = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        c += 'e';
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
            c += static_cast<char>(s[i++].unicode());
        int exponentDigits = 0;
        for (; i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9'; ++i, ++exponentDigits)
            c += static_cast<char>(s[i].unicode());
        if (exponentDigits == 0)
            return false;
    }
    if (i != s.size())
        return false;
    bool ok = false;
    const double parsed = QLocale::c().toDouble(QString::fromLatin1(c), &ok);
    if (!ok || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

double StrToFloat(const QString& text, const TNumberSettings& settings)
{
    double value = 0;
    if (!TryStrToFloat(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

QString FormatFloat(const QString& picture, double value, const TNumberSettings& settings)
{
    const QStringList sections = PictureSections(picture);
    if (picture.isEmpty() || !std::isfinite(value))
        return FloatToStr(value, settings);
    QString section = sections[0];
    bool ownSign = false;  // the negative section writes its own sign
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        section = sections[1];
        ownSign = true;
    } else if (value == 0 && sections.size() > 2 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    if (section.isEmpty())
        return FloatToStr(value, settings);  // ";(0.00)" leaves positives general
    bool nonZero = false;
    const QString text = ApplyPicture(ParsePicture(section), std::fabs(value), settings, nonZero);
    return value < 0 && nonZero && !ownSign ? QLatin1Char('-') + text : text;
}

QString IntToStr(qint64 value)
{
    return QString::number(value);
}

bool TryStrToInt(const QString& text, int& value)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s[0] == QLatin1Char('-');
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith(QLatin1Char('$'))) {
        base = 16;
        s.remove(0, 1);
    } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        s.remove(0, 2);
    }
    if (s.isEmpty() || s.size() > 20)
        return false;
    for (const QChar ch : s)
        if (!(ch.isDigit() && ch.unicode() < 128) &&
            !(base == 16 && ch.unicode() < 128 && QByteArray("abcdefABCDEF").contains(static_cast<char>(ch.unicode()))))
            return false;
    bool ok = false;
    qint64 magnitude = s.toLongLong(&ok, base);
    if (!ok)
        return false;
    // Hexadecimal spells the 32 bits, so "$FFFFFFFF" is -1.
    if (base == 16 && magnitude <= 0xFFFFFFFFLL)
        magnitude = static_cast<qint32>(static_cast<quint32>(magnitude));
    const qint64 result = negative ? -magnitude : magnitude;
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(result);
    return true;
}

int StrToInt(const QString& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

int StrToIntDef(const QString& text, int defaultValue)
{
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

}  // namespace tk
