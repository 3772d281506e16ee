#pragma once
// Texts of language files: the two escapes they use ("\n" for a line break,
// "\t" for a tab) and the carrying of wildcard texts from a message into its
// translation template.

#include <QString>

namespace safekeep {

// Every "\n" becomes CR LF, then every "\t" a TAB (case-sensitive; no other
// escapes).
QString DecodeLangText(const QString& text);
// The inverse, for writing language files: CR LF becomes "\n", then TAB "\t".
QString _ECodeText(const QString& text);

// Translates message, which matches pattern (a file mask: "*", "?", "[set]"),
// into translation: the texts that the pattern's wildcards matched fill the
// template's wildcards ("*" or "?"), paired from the right. A template
// without wildcards comes back as it is. Never reads outside its strings,
// whatever the pattern and template hold.
QString ApplyMessageTemplate(const QString& message, const QString& pattern, const QString& translation);

}  // namespace safekeep
