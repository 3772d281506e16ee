#include "toolkit/core/localefacts.h"

#include "toolkit/core/datetime.h"
#include "toolkit/core/numbers.h"

namespace tk {

TLocaleFacts LocaleFactsFromLocale(const QLocale& locale)
{
    TLocaleFacts facts;
    const QLocale::Language language = locale.language();
    facts.PrimaryLanguageKorean = language == QLocale::Korean;
    facts.FarEast = language == QLocale::Korean || language == QLocale::Japanese || language == QLocale::Chinese;
    facts.InputMethodPresent = facts.FarEast;
    facts.RightToLeft = locale.textDirection() == Qt::RightToLeft;
    return facts;
}

TLocaleFacts& LocaleFacts()
{
    static TLocaleFacts facts = LocaleFactsFromLocale(QLocale::system());
    return facts;
}

QChar DecimalSeparator() { return NumberSettings().DecimalSeparator; }
QStringList LongMonthNames() { return FormatSettings().LongMonthNames; }
QString ShortDateFormat() { return FormatSettings().ShortDateFormat; }
QString ShortTimeFormat() { return FormatSettings().ShortTimeFormat; }
bool PrimaryLanguageIsKorean() { return LocaleFacts().PrimaryLanguageKorean; }
bool FarEastLocale() { return LocaleFacts().FarEast; }
bool InputMethodPresent() { return LocaleFacts().InputMethodPresent; }
bool RightToLeftLocale() { return LocaleFacts().RightToLeft; }
bool IsVista() { return LocaleFacts().IsVista; }

}  // namespace tk
