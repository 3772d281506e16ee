#include "safekeep/sevenzip/widetext.h"

namespace safekeep::sz {

std::wstring ToLibraryText(const QString& text)
{
    std::wstring result;
    result.reserve(size_t(text.size()));
    for (const QChar unit : text)
        result.push_back(wchar_t(unit.unicode()));
    return result;
}

QString FromLibraryText(const wchar_t* text)
{
    QString result;
    if (!text)
        return result;
    for (; *text; ++text) {
        const auto value = char32_t(*text);
        if (value > 0xFFFF) {
            result.append(QString::fromUcs4(&value, 1));
        } else {
            result.append(QChar(char16_t(value)));
        }
    }
    return result;
}

}  // namespace safekeep::sz
