#pragma once
// The toolkit's edit masks ("!99/99/0000;1;_") put onto a QLineEdit input
// mask. An edit mask has up to three fields separated by ";": the mask, a
// switch whether the text keeps the literal characters (0: the text holds
// only what the user typed), and the character shown in empty positions
// (default "_").
//
// Translated: 0 (digit), 9 (optional digit), # (optional digit or sign),
// L / l (letter, optional letter), A / a (letter or digit), C / c (any
// character), > and < (upper / lower case from here), <> (case as typed),
// \ (the next character is a literal), every other character a literal.
// Not translated: ! (blanks kept at the start instead of the end) is
// dropped, since Qt always fills from the left; ":" and "/" are the literal
// characters themselves, not the locale's time and date separators.

#include <QString>
#include <QVector>

namespace tk {

struct TEditMaskTranslation {
    QString inputMask;         // for QLineEdit::setInputMask; empty: no mask
    bool saveLiterals = true;  // the second field
    QChar blank = u'_';        // the third field
    // Positions of the input mask (one per character shown) that are
    // literals.
    QVector<bool> literalAt;
};

TEditMaskTranslation TranslateEditMask(const QString& editMask);

// The text an edit with translation shows (QLineEdit::displayText) as the
// edit mask's text: blanks dropped, literals dropped unless saveLiterals.
QString MaskedText(const TEditMaskTranslation& translation, const QString& displayText);

}  // namespace tk
