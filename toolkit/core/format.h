#pragma once
// Format: printf-like text formatting over Variant arguments.
//
//   "%" [index ":"] ["-"] [width] ["." precision] type
//
// index, width and precision are digits or "*" (taken from the next
// argument, which must be an integer); an explicit index makes the following
// directives continue from the argument after it. "%%" is a percent sign.
// Width pads with blanks on the left, or on the right after "-".
//
//   d  integer; precision = minimum digits, zero-padded
//   u  integer as unsigned (negative 32-bit values wrap at 2^32, Int64 at 2^64)
//   x  integer in upper-case hexadecimal; precision = minimum digits
//   e  float in exponent form "-d.ddd...E+ddd"; precision = significant digits (15)
//   f  float with precision decimals (2)
//   g  float, shortest general form; precision = significant digits (15)
//   n  as f, with thousand separators
//   m  money: thousand separators, the currency symbol and layout; precision
//      = decimals (the settings' CurrencyDecimals)
//   s  string; precision = maximum characters
//
// Integer directives take the integer kinds; float directives take Single,
// Double, Currency, BCD and Date; "s" takes strings. Any other pairing, an
// unknown type letter or a missing argument raises EConvertError, so an
// integer given to "%f" fails rather than printing something.

#include "toolkit/core/numbers.h"
#include "toolkit/core/variant.h"

#include <QString>
#include <vector>

namespace tk {

QString Format(const QString& format, const std::vector<Variant>& args,
               const TNumberSettings& settings = NumberSettings());

}  // namespace tk
