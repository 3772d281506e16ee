#pragma once
// Language codes of Windows language identifiers. An identifier is 16 bits:
// the primary language in the low 10 bits, the sublanguage in the high 6.
// The codes come from one fixed table that is looked up by the whole
// identifier; an identifier the table lacks (including the neutral
// sublanguage 0) has no codes. A few codes are historical and kept as they
// are (Khmer "kh", Sorbian "wen", Dari "gbz", the region "029" of English
// (Caribbean)), so the codes are not always the ISO ones.

#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace safekeep {

// The language code, e.g. "es" for 0x0C0A; empty when unknown.
QString GetLangPrimaryCode(quint16 languageId);
// The region code in lower case, e.g. "es" for 0x0C0A; empty when unknown.
QString GetLangSubCode(quint16 languageId);
// Language and upper-cased region joined by "-", e.g. "es-ES" for 0x0C0A;
// the language code alone when the identifier has no region.
QString GetLangCountry(quint16 languageId);

// The identifier of a locale, matched through the same table: the first
// identifier (in identifier order) with the locale's language and region, else
// the first with its language, else English (United States), 0x0409.
quint16 LanguageIdFromLocale(const QLocale& locale);
// The identifier of the user's language, from the system locale.
quint16 DefaultLanguageId();
// The language code of DefaultLanguageId().
QString GetDefaultLangCode();

}  // namespace safekeep
