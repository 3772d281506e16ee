#include "safekeep/langman/langcodes.h"

#include <QLatin1StringView>
#include <algorithm>
#include <array>

namespace safekeep {

namespace {

struct LangCodes {
    quint16 id;
    const char* language;
    const char* region;  // lower case; "" when the identifier has none
};

// Sorted by identifier for the binary search. A few codes are historical
// rather than ISO (see langcodes.h), and Spanish with traditional sort
// (0x040A) is deliberately absent: only the modern sort 0x0C0A is "es-ES".
// clang-format off
constexpr std::array kLangCodes = std::to_array<LangCodes>({
    {0x0401, "ar", "sa"},
    {0x0402, "bg", "bg"},
    {0x0403, "ca", "es"},
    {0x0404, "zh", ""},
    {0x0405, "cs", "cz"},
    {0x0406, "da", "dk"},
    {0x0407, "de", "de"},
    {0x0408, "el", "gr"},
    {0x0409, "en", "us"},
    {0x040B, "fi", "fi"},
    {0x040C, "fr", "fr"},
    {0x040D, "he", "il"},
    {0x040E, "hu", "hu"},
    {0x040F, "is", "is"},
    {0x0410, "it", "it"},
    {0x0411, "ja", "jp"},
    {0x0412, "ko", "kr"},
    {0x0413, "nl", "nl"},
    {0x0414, "no", "no"},
    {0x0415, "pl", "pl"},
    {0x0416, "pt", "br"},
    {0x0417, "rm", "ch"},
    {0x0418, "ro", "ro"},
    {0x0419, "ru", "ru"},
    {0x041A, "hr", "hr"},
    {0x041B, "sk", "sk"},
    {0x041C, "sq", "al"},
    {0x041D, "sv", "se"},
    {0x041E, "th", "th"},
    {0x041F, "tr", "tr"},
    {0x0420, "ur", "pk"},
    {0x0421, "id", "id"},
    {0x0422, "uk", "ua"},
    {0x0423, "be", "by"},
    {0x0424, "sl", "si"},
    {0x0425, "et", "ee"},
    {0x0426, "lv", "lv"},
    {0x0427, "lt", "lt"},
    {0x0428, "tg", "tj"},
    {0x0429, "fa", "ir"},
    {0x042A, "vi", "vn"},
    {0x042B, "hy", "am"},
    {0x042C, "az", "az"},
    {0x042D, "eu", "es"},
    {0x042E, "wen", "de"},
    {0x042F, "mk", "mk"},
    {0x0432, "tn", "za"},
    {0x0434, "xh", "za"},
    {0x0435, "zu", "za"},
    {0x0436, "af", "za"},
    {0x0437, "ka", "ge"},
    {0x0438, "fo", "fo"},
    {0x0439, "hi", "in"},
    {0x043A, "mt", "mt"},
    {0x043B, "se", "no"},
    {0x043E, "ms", "my"},
    {0x043F, "kk", "kz"},
    {0x0440, "ky", "kg"},
    {0x0441, "sw", "ke"},
    {0x0442, "tk", "tm"},
    {0x0443, "uz", "uz"},
    {0x0444, "tt", "ru"},
    {0x0445, "bn", ""},
    {0x0446, "pa", "in"},
    {0x0447, "gu", "in"},
    {0x0448, "or", "in"},
    {0x0449, "ta", "in"},
    {0x044A, "te", "in"},
    {0x044B, "kn", "in"},
    {0x044C, "ml", "in"},
    {0x044D, "as", "in"},
    {0x044E, "mr", "in"},
    {0x044F, "sa", "in"},
    {0x0450, "mn", "mn"},
    {0x0451, "bo", "cn"},
    {0x0452, "cy", "gb"},
    {0x0453, "kh", "kh"},
    {0x0454, "lo", "la"},
    {0x0456, "gl", "es"},
    {0x0457, "kok", "in"},
    {0x045A, "syr", "sy"},
    {0x045B, "si", "lk"},
    {0x045D, "iu", "ca"},
    {0x045E, "am", "et"},
    {0x0461, "ne", "np"},
    {0x0462, "fy", "nl"},
    {0x0463, "ps", "af"},
    {0x0464, "fil", "ph"},
    {0x0465, "dv", "mv"},
    {0x0468, "ha", "ng"},
    {0x046A, "yo", "ng"},
    {0x046B, "quz", "bo"},
    {0x046C, "ns", "za"},
    {0x046D, "ba", "ru"},
    {0x046E, "lb", "lu"},
    {0x046F, "kl", "gl"},
    {0x0470, "ig", "ng"},
    {0x0478, "ii", "cn"},
    {0x047A, "arn", "cl"},
    {0x047C, "moh", "ca"},
    {0x047E, "br", "fr"},
    {0x0480, "ug", "cn"},
    {0x0481, "mi", "nz"},
    {0x0482, "oc", "fr"},
    {0x0483, "co", "fr"},
    {0x0484, "gsw", "fr"},
    {0x0485, "sah", "ru"},
    {0x0486, "qut", "gt"},
    {0x0487, "rw", "rw"},
    {0x0488, "wo", "sn"},
    {0x048C, "gbz", "af"},
    {0x0801, "ar", "iq"},
    {0x0804, "zh", ""},
    {0x0807, "de", "ch"},
    {0x0809, "en", "gb"},
    {0x080A, "es", "mx"},
    {0x080C, "fr", "be"},
    {0x0810, "it", "ch"},
    {0x0813, "nl", "be"},
    {0x0814, "no", "no"},
    {0x0816, "pt", "pt"},
    {0x081A, "sr", "cs"},
    {0x081D, "sv", "fi"},
    {0x0820, "ur", ""},
    {0x082C, "az", "az"},
    {0x082E, "dsb", "de"},
    {0x083B, "se", "se"},
    {0x083C, "ga", "ie"},
    {0x083E, "ms", "bn"},
    {0x0843, "uz", "uz"},
    {0x0850, "mn", "cn"},
    {0x085D, "iu", "ca"},
    {0x085F, "tmz", "dz"},
    {0x086B, "quz", "ec"},
    {0x0C01, "ar", "eg"},
    {0x0C04, "zh", "hk"},
    {0x0C07, "de", "at"},
    {0x0C09, "en", "au"},
    {0x0C0A, "es", "es"},
    {0x0C0C, "fr", "ca"},
    {0x0C1A, "sr", "cs"},
    {0x0C3B, "se", "fi"},
    {0x0C6B, "quz", "pe"},
    {0x1001, "ar", "ly"},
    {0x1004, "zh", "sg"},
    {0x1007, "de", "lu"},
    {0x1009, "en", "ca"},
    {0x100A, "es", "gt"},
    {0x100C, "fr", "ch"},
    {0x101A, "hr", "ba"},
    {0x103B, "se", "no"},
    {0x1401, "ar", "dz"},
    {0x1404, "zh", "mo"},
    {0x1407, "de", "li"},
    {0x1409, "en", "nz"},
    {0x140A, "es", "cr"},
    {0x140C, "fr", "lu"},
    {0x141A, "bs", "ba"},
    {0x143B, "se", "se"},
    {0x1801, "ar", "ma"},
    {0x1809, "en", "ie"},
    {0x180A, "es", "pa"},
    {0x180C, "fr", "mc"},
    {0x181A, "sr", "ba"},
    {0x183B, "se", "no"},
    {0x1C01, "ar", "tn"},
    {0x1C09, "en", "za"},
    {0x1C0A, "es", "do"},
    {0x1C3B, "se", "se"},
    {0x2001, "ar", "om"},
    {0x2009, "en", "jm"},
    {0x200A, "es", "ve"},
    {0x201A, "bs", "ba"},
    {0x203B, "se", "fi"},
    {0x2401, "ar", "ye"},
    {0x2409, "en", "029"},
    {0x240A, "es", "co"},
    {0x243B, "se", "fi"},
    {0x2801, "ar", "sy"},
    {0x2809, "en", "be"},
    {0x280A, "es", "pe"},
    {0x2C01, "ar", "jo"},
    {0x2C09, "en", "tt"},
    {0x2C0A, "es", "ar"},
    {0x3001, "ar", "lb"},
    {0x3009, "en", "zw"},
    {0x300A, "es", "ec"},
    {0x3401, "ar", "kw"},
    {0x3409, "en", "ph"},
    {0x340A, "es", "cl"},
    {0x3801, "ar", "ae"},
    {0x380A, "es", "uy"},
    {0x3C01, "ar", "bh"},
    {0x3C0A, "es", "py"},
    {0x4001, "ar", "qa"},
    {0x4009, "en", "in"},
    {0x400A, "es", "bo"},
    {0x4409, "en", "my"},
    {0x440A, "es", "sv"},
    {0x4809, "en", "sg"},
    {0x480A, "es", "hn"},
    {0x4C0A, "es", "ni"},
    {0x500A, "es", "pr"},
    {0x781A, "bs", ""},
    {0x7C1A, "sr", ""},
});
// clang-format on

constexpr bool IsStrictlyAscending()
{
    for (std::size_t i = 1; i < kLangCodes.size(); ++i)
        if (kLangCodes[i - 1].id >= kLangCodes[i].id)
            return false;
    return true;
}
static_assert(IsStrictlyAscending(), "the language table must be sorted by identifier without duplicates");

constexpr quint16 kEnglishUnitedStates = 0x0409;

const LangCodes* Find(quint16 languageId)
{
    const auto it = std::lower_bound(kLangCodes.begin(), kLangCodes.end(), languageId,
                                     [](const LangCodes& row, quint16 id) { return row.id < id; });
    return it != kLangCodes.end() && it->id == languageId ? &*it : nullptr;
}

}  // namespace

QString GetLangPrimaryCode(quint16 languageId)
{
    const LangCodes* row = Find(languageId);
    return row ? QString::fromLatin1(row->language) : QString();
}

QString GetLangSubCode(quint16 languageId)
{
    const LangCodes* row = Find(languageId);
    return row ? QString::fromLatin1(row->region) : QString();
}

QString GetLangCountry(quint16 languageId)
{
    const QString language = GetLangPrimaryCode(languageId);
    const QString region = GetLangSubCode(languageId).toUpper();
    return region.isEmpty() ? language : language + QLatin1Char('-') + region;
}

quint16 LanguageIdFromLocale(const QLocale& locale)
{
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return kEnglishUnitedStates;
    QString language = QLocale::languageToCode(locale.language());
    // The table predates the split of Norwegian into Bokmål and Nynorsk:
    // both are "no" there (0x0414 and 0x0814).
    if (locale.language() == QLocale::NorwegianNynorsk && locale.territory() == QLocale::Norway)
        return 0x0814;
    if (language == QLatin1String("nb") || language == QLatin1String("nn"))
        language = QStringLiteral("no");
    const QString region = QLocale::territoryToCode(locale.territory()).toLower();
    const LangCodes* firstOfLanguage = nullptr;
    for (const LangCodes& row : kLangCodes) {
        if (language != QLatin1StringView(row.language))
            continue;
        // An identifier without a region never counts as the locale's region.
        if (!region.isEmpty() && region == QLatin1StringView(row.region))
            return row.id;
        if (!firstOfLanguage)
            firstOfLanguage = &row;
    }
    return firstOfLanguage ? firstOfLanguage->id : kEnglishUnitedStates;
}

quint16 DefaultLanguageId()
{
    return LanguageIdFromLocale(QLocale::system());
}

QString GetDefaultLangCode()
{
    return GetLangPrimaryCode(DefaultLanguageId());
}

}  // namespace safekeep
