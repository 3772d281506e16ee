#include "kelgrid/grid/totalformat.h"

#include "kelgrid/grid/tuning.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"

#include <optional>

namespace kelgrid {

namespace {

// The value's plain text; an array, which has none, shows nothing.
QString PlainText(const tk::Variant& value)
{
    try {
        return value.ToString();
    } catch (const tk::Exception&) {
        return {};
    }
}

struct TFormatParts {
    QString prefix, middle, suffix;
};

// "P%M%S" split at the first two "%"; none with fewer.
std::optional<TFormatParts> SplitAtPercents(const QString& format)
{
    const qsizetype first = format.indexOf(u'%');
    const qsizetype second = first < 0 ? -1 : format.indexOf(u'%', first + 1);
    if (second < 0)
        return std::nullopt;
    return TFormatParts{format.left(first), format.mid(first + 1, second - first - 1),
                        format.mid(second + 1)};
}

// Raises (EConvertError and kin) when the format does not fit the value.
QString FormatByKind(const tk::Variant& value, const QString& format)
{
    if (value.IsDate()) {
        const auto parts = SplitAtPercents(format);
        if (!parts)
            throw tk::EConvertError(QStringLiteral("date format without a pattern"));
        return parts->prefix + tk::FormatDateTime(parts->middle, value.ToDateTime()) + parts->suffix;
    }
    if (value.IsBoolean()) {
        const auto parts = SplitAtPercents(format);
        if (!parts)
            throw tk::EConvertError(QStringLiteral("Boolean format without texts"));
        const qsizetype semicolon = parts->middle.indexOf(u';');
        const QString trueText = semicolon < 0 ? parts->middle : parts->middle.left(semicolon);
        const QString falseText = semicolon < 0 ? QString() : parts->middle.mid(semicolon + 1);
        return parts->prefix + (value.ToBoolean() ? trueText : falseText) + parts->suffix;
    }
    // Integers of every width, floats and 64-bit integers go to the
    // formatter with their own kind, so a directive of the wrong kind fails.
    return tk::Format(format, {value});
}

}  // namespace

QString ActiveTotalPart(const QString& text, bool selected)
{
    const qsizetype bar = text.indexOf(u'|');
    if (bar < 0)
        return text;
    return selected ? text.mid(bar + 1) : text.left(bar);
}

QString FormatTotalValue(const tk::Variant& value, const QString& format, bool formatAsFloat, bool selected)
{
    if (value.IsUnassigned())
        return {};
    if (value.IsNull())
        return NullValueString;
    const QString active = ActiveTotalPart(format, selected);
    tk::Variant v = value;
    if (formatAsFloat || (v.IsBcd() && !active.isEmpty())) {
        try {
            v = tk::Variant(v.ToDouble());
        } catch (const tk::Exception&) {
            return PlainText(value);
        }
    }
    try {
        if (active.isEmpty())
            return v.Kind() == tk::VariantKind::Currency ? tk::Format(QStringLiteral("%m"), {v})
                                                         : PlainText(v);
        return FormatByKind(v, active);
    } catch (const tk::Exception&) {
        return PlainText(v);
    }
}

}  // namespace kelgrid
