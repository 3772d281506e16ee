#pragma once
// Text as the 7-Zip library takes it: wchar_t is four bytes here, but the
// library works in UTF-16 code units, one per wchar_t (a character outside
// the BMP is a surrogate pair in two wchar_t). Storing a whole code point in
// one wchar_t would corrupt names and passwords.

#include <QString>
#include <string>

namespace safekeep::sz {

// One wchar_t per UTF-16 code unit of text.
std::wstring ToLibraryText(const QString& text);
// The inverse; a wchar_t above 0xFFFF (a library that speaks UTF-32) is
// taken as a whole code point.
QString FromLibraryText(const wchar_t* text);

}  // namespace safekeep::sz
