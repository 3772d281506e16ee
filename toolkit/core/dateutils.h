#pragma once
// Date-time helpers on top of datetime.h: date and time parts, year
// replacement, and date-times as text in the locale's formats.

#include "toolkit/core/datetime.h"

#include <QString>

namespace tk {

TDateTime DateOf(TDateTime value);  // midnight of the same day
TDateTime TimeOf(TDateTime value);  // the time of day alone, 0 <= t < 1
// The same month, day and time in another year; EConvertError when that day
// does not exist (29 February in a common year).
TDateTime RecodeYear(TDateTime value, int year);

// The short date, then a space and the long time unless the time is
// midnight: "05/03/2026" or "05/03/2026 09:07:03".
QString DateTimeToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());

// A time "h[:n[:s[.z]]]" with an optional AM/PM marker (the settings' texts,
// or "AM"/"PM"/"A"/"P"), separated by the locale's time separator or ":".
bool TryStrToTime(const QString& text, TDateTime& value, const TFormatSettings& settings = FormatSettings());
// A date as StrToDate reads it, optionally followed by blanks and a time; or
// a time alone (day 0). False when either part is invalid.
bool TryStrToDateTime(const QString& text, TDateTime& value, const TFormatSettings& settings = FormatSettings());
// EConvertError "'<text>' is not a valid date and time".
TDateTime StrToDateTime(const QString& text, const TFormatSettings& settings = FormatSettings());

}  // namespace tk
