#include "toolkit/core/custominifile.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/updatelock.h"

#include <QScopeGuard>
#include <limits>
#include <optional>

namespace tk {

namespace {

// Parses "[+-]digits", "[+-]$hex" or "[+-]0xhex" into a 32-bit integer;
// hexadecimal values up to FFFFFFFF wrap around as in the classic conversion.
std::optional<int> ParseInteger(const QString& text)
{
    QString digits = text;
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.front() == QLatin1Char('-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const bool decimal = u >= u'0' && u <= u'9';
        const bool hex = (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!decimal && !(base == 16 && hex))
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFULL)
            return std::nullopt;
        const auto bits = static_cast<quint32>(magnitude);
        return static_cast<qint32>(negative ? 0u - bits : bits);
    }
    const qulonglong limit =
        negative ? qulonglong(std::numeric_limits<int>::max()) + 1 : std::numeric_limits<int>::max();
    if (magnitude > limit)
        return std::nullopt;
    return static_cast<int>(negative ? -static_cast<qlonglong>(magnitude)
                                     : static_cast<qlonglong>(magnitude));
}

}  // namespace

TCustomIniFile::TCustomIniFile(const QString& fileName) : fileName_(fileName) {}

TCustomIniFile::~TCustomIniFile() = default;

int TCustomIniFile::IntegerFromText(const QString& text, int defaultValue)
{
    return ParseInteger(text.trimmed()).value_or(defaultValue);
}

int TCustomIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    return IntegerFromText(ReadString(section, key, QString()), defaultValue);
}

void TCustomIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TCustomIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteInteger(section, key, value ? 1 : 0);
}

void TCustomIniFile::ReadSectionValues(const QString& section, TStrings& values) const
{
    QStringList lines;
    ReadSectionValues(section, lines);
    TUpdateLock lock(values);
    values.Clear();
    values.AddStrings(lines);
}

bool TCustomIniFile::SectionExists(const QString& section) const
{
    QStringList keys;
    ReadSection(section, keys);
    return !keys.isEmpty();
}

bool TCustomIniFile::ValueExists(const QString& section, const QString& key) const
{
    QStringList keys;
    ReadSection(section, keys);
    return keys.contains(key.trimmed(), Qt::CaseInsensitive);
}

void TCustomIniFile::BeginBatch()
{
    if (inBatch_)
        throw EInvalidOperation(QStringLiteral("%1: a batch is already open").arg(fileName_));
    StartBatch();
    inBatch_ = true;
}

void TCustomIniFile::CommitBatch()
{
    if (!inBatch_)
        throw EInvalidOperation(QStringLiteral("%1: no batch to commit").arg(fileName_));
    inBatch_ = false;
    // A store that failed half-way must not keep the batch's view.
    auto discard = qScopeGuard([this] { DiscardBatch(); });
    WriteBatch();
    discard.dismiss();
}

void TCustomIniFile::CancelBatch() noexcept
{
    if (!inBatch_)
        return;
    inBatch_ = false;
    DiscardBatch();
}

TIniBatch::TIniBatch(TCustomIniFile& ini) : ini_(ini)
{
    ini_.BeginBatch();
}

TIniBatch::~TIniBatch()
{
    if (open_)
        ini_.CancelBatch();
}

void TIniBatch::Commit()
{
    open_ = false;
    ini_.CommitBatch();
}

}  // namespace tk
