#pragma once
// Numbers as text, the way the components show and read them: the locale's
// decimal and thousand separators and currency layout, general formatting
// with the 15 significant digits a double holds reliably, and parsing that
// fails cleanly instead of guessing.

#include <QChar>
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace tk {

struct TNumberSettings {
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');  // a null QChar writes no grouping
    QString CurrencyString = QStringLiteral("$");
    // Where the symbol goes for positive amounts: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int CurrencyFormat = 0;
    // Negative amounts, the 16 classic layouts: 0 "($1)", 1 "-$1", 2 "$-1",
    // 3 "$1-", 4 "(1$)", 5 "-1$", 6 "1-$", 7 "1$-", 8 "-1 $", 9 "-$ 1",
    // 10 "1 $-", 11 "$ 1-", 12 "$ -1", 13 "1- $", 14 "($ 1)", 15 "(1 $)".
    int NegCurrFormat = 1;
    int CurrencyDecimals = 2;
};

// Settings read from a locale's separators and currency layout.
TNumberSettings NumberSettingsFromLocale(const QLocale& locale);
// The process-wide settings, from the system locale at first use; tests and
// programs may change them.
TNumberSettings& NumberSettings();

enum class TFloatFormat {
    General,   // shortest text with up to `precision` significant digits
    Exponent,  // "-d.dddE+ddd": `precision` significant digits, at least `digits` exponent digits
    Fixed,     // `digits` decimals
    Number,    // `digits` decimals with thousand separators
    Currency,  // `digits` decimals, thousand separators and the currency layout
};

// Floats are written from their 15 significant digits, rounding halves away
// from zero, so 2.675 with two decimals gives "2.68" as a reader expects.
// Precision is clamped to 1..15. NaN and infinities give "NAN", "INF", "-INF".
QString FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                    const TNumberSettings& settings = NumberSettings());
// General format, 15 significant digits: "0.1", "1234.5", "1E20", "1.5E-10".
QString FloatToStr(double value, const TNumberSettings& settings = NumberSettings());

// Accepts "[-+]digits[sep[digits]][E[-+]digits]" with surrounding blanks and
// at least one digit; "12," reads as 12 when "," is the separator. No
// thousand separators, no infinities.
bool TryStrToFloat(const QString& text, double& value, const TNumberSettings& settings = NumberSettings());
// EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const QString& text, const TNumberSettings& settings = NumberSettings());

// A number written after a picture: "#,##0.00", "0.###", "0.00E+00".
//   0 a digit always written, # a digit written when significant,
//   . the decimal separator (written only when decimals follow), , anywhere
//   in the integer part groups thousands, E+ E- e+ e- an exponent (the
//   zeros after it give its least digits; "+" writes a sign for positive
//   exponents), 'text' and "text" literal text, any other character itself.
// Up to three sections split by ";": positive, negative (written without a
// minus sign of its own), zero. An empty negative or zero section uses the
// first. Halves round away from zero from the 15 significant digits. An
// empty picture (or an empty first section) gives FloatToStr.
QString FormatFloat(const QString& picture, double value, const TNumberSettings& settings = NumberSettings());

QString IntToStr(qint64 value);
// Decimal with optional sign, or hexadecimal as "$1F" / "0x1F"; surrounding
// blanks allowed; the value must fit in 32 bits.
bool TryStrToInt(const QString& text, int& value);
int StrToInt(const QString& text);  // EConvertError "'<text>' is not a valid integer value"
int StrToIntDef(const QString& text, int defaultValue);

}  // namespace tk
