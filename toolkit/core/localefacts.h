#pragma once
// Facts about the user's locale that change what controls do: separators and
// names come from the number and date settings; the rest (Korean, far-east
// input, right-to-left, the newer-system switch) are held here. Each is a
// plain value in a process-wide record so that tests can set it.

#include <QChar>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace tk {

struct TLocaleFacts {
    bool PrimaryLanguageKorean = false;
    // Chinese, Japanese or Korean: text entry goes through an input method.
    bool FarEast = false;
    bool InputMethodPresent = false;
    // Right-to-left scripts, where a field's alignment may be mirrored.
    bool RightToLeft = false;
    // The system has the newer locale-name services. Always so on Qt; a
    // switch for tests of the older branch.
    bool IsVista = true;
};

TLocaleFacts LocaleFactsFromLocale(const QLocale& locale);
// The process-wide facts, from the system locale at first use.
TLocaleFacts& LocaleFacts();

// Readers over the shared settings (NumberSettings(), FormatSettings() and
// LocaleFacts()), so callers ask one place.
QChar DecimalSeparator();
QStringList LongMonthNames();
QString ShortDateFormat();
QString ShortTimeFormat();
bool PrimaryLanguageIsKorean();
bool FarEastLocale();
bool InputMethodPresent();
bool RightToLeftLocale();
bool IsVista();

}  // namespace tk
