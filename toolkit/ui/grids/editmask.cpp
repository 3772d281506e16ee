#include "toolkit/ui/grids/editmask.h"

#include <QStringList>

namespace tk {

namespace {

// Characters QLineEdit's input mask gives a meaning; as literals they are
// escaped.
bool IsQtMaskCharacter(QChar c)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(c);
}

QChar QtMaskFor(QChar c)
{
    switch (c.unicode()) {
    case '0':
        return u'9';
    case '9':
        return u'0';
    case '#':
        return u'#';
    case 'L':
        return u'A';
    case 'l':
        return u'a';
    case 'A':
        return u'N';
    case 'a':
        return u'n';
    case 'C':
        return u'X';
    case 'c':
        return u'x';
    default:
        return QChar();
    }
}

}  // namespace

TEditMaskTranslation TranslateEditMask(const QString& editMask)
{
    TEditMaskTranslation result;
    // The mask itself may hold an escaped ";": split on the last two
    // unescaped separators only.
    QString mask = editMask;
    QStringList fields;
    for (int field = 0; field < 2; ++field) {
        const int at = mask.lastIndexOf(u';');
        if (at < 0 || (at > 0 && mask[at - 1] == u'\\'))
            break;
        fields.prepend(mask.mid(at + 1));
        mask.truncate(at);
    }
    if (fields.size() == 2) {
        result.saveLiterals = fields[0] != QStringLiteral("0");
        if (!fields[1].isEmpty())
            result.blank = fields[1][0];
    } else if (fields.size() == 1) {
        result.saveLiterals = fields[0] != QStringLiteral("0");
    }

    QString qtMask;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'!')
            continue;
        if (c == u'<' && i + 1 < mask.size() && mask[i + 1] == u'>') {
            qtMask += u'!';
            ++i;
            continue;
        }
        if (c == u'>' || c == u'<') {
            qtMask += c;
            continue;
        }
        if (const QChar qt = QtMaskFor(c); !qt.isNull()) {
            qtMask += qt;
            result.literalAt.append(false);
            continue;
        }
        QChar literal = c;
        if (c == u'\\' && i + 1 < mask.size())
            literal = mask[++i];
        if (IsQtMaskCharacter(literal))
            qtMask += u'\\';
        qtMask += literal;
        result.literalAt.append(true);
    }
    if (!qtMask.isEmpty())
        result.inputMask = qtMask + u';' + result.blank;
    return result;
}

QString MaskedText(const TEditMaskTranslation& translation, const QString& displayText)
{
    if (translation.inputMask.isEmpty())
        return displayText;
    QString text;
    for (int i = 0; i < displayText.size(); ++i) {
        const bool literal = i < translation.literalAt.size() && translation.literalAt[i];
        if (literal) {
            if (translation.saveLiterals)
                text += displayText[i];
        } else if (displayText[i] != translation.blank) {
            text += displayText[i];
        }
    }
    return text;
}

}  // namespace tk
