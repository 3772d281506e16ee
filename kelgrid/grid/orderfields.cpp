// The order fields text and its conversions to index fields text.

#include "kelgrid/grid/orderfields.h"

#include "kelgrid/grid/tuning.h"
#include "toolkit/core/numbers.h"
#include "toolkit/core/textutils.h"

namespace kelgrid {

namespace {

const QString kDescMark = QStringLiteral(" DESC");
const QString kAscMark = QStringLiteral(" ASC");

// text without a trailing mark (any case); whether it had it.
bool CutSuffix(QString& text, const QString& mark)
{
    if (mark.isEmpty() || text.size() <= mark.size() || !text.endsWith(mark, Qt::CaseInsensitive))
        return false;
    text = tk::Trim(text.left(text.size() - mark.size()));
    return true;
}

struct IndexMarks {
    QString ascending;
    QString descending;
    QString third;
};

IndexMarks MarksOf(const QString& suffix)
{
    const QStringList parts = suffix.split(QLatin1Char(';'));
    IndexMarks marks;
    marks.ascending = parts.value(0);
    marks.descending = parts.value(1);
    marks.third = parts.value(2);
    return marks;
}

QStringList TrimmedItems(const QString& text, QChar separator)
{
    QStringList items;
    for (const QString& item : text.split(separator)) {
        const QString trimmed = tk::Trim(item);
        if (!trimmed.isEmpty())
            items.append(trimmed);
    }
    return items;
}

}  // namespace

QList<TOrderItem> ParseOrderFields(const QString& orderFields)
{
    QList<TOrderItem> items;
    for (QString name : TrimmedItems(orderFields, QLatin1Char(','))) {
        TOrderItem item;
        item.descending = CutSuffix(name, kDescMark);
        if (!item.descending)
            CutSuffix(name, kAscMark);
        item.name = name;
        items.append(item);
    }
    return items;
}

QString FormatOrderFields(const QList<TOrderItem>& items)
{
    QStringList texts;
    for (const TOrderItem& item : items)
        texts.append(item.descending ? item.name + kDescMark : item.name);
    return texts.join(QLatin1Char(','));
}

QString ScanStr(QString& s, const QString& delimiter)
{
    const QString& separator = delimiter.isEmpty() ? DefaultDelimiter : delimiter;
    const int at = separator.isEmpty() ? -1 : int(s.indexOf(separator));
    if (at < 0) {
        QString all;
        all.swap(s);
        return all;
    }
    const QString token = s.left(at);
    s.remove(0, at + separator.size());
    return token;
}

int ScanInt(QString& s, int defaultValue, const QString& delimiter)
{
    return tk::StrToIntDef(tk::Trim(ScanStr(s, delimiter)), defaultValue);
}

QString CommaToSemicolon(const QString& s)
{
    return QString(s).replace(QLatin1Char(','), QLatin1Char(';'));
}

QString SemicolonToComma(const QString& s)
{
    return QString(s).replace(QLatin1Char(';'), QLatin1Char(','));
}

void SplitOrderFields(const QString& orderFields, QString& fields, QString& descFields)
{
    QStringList all;
    QStringList descending;
    for (const TOrderItem& item : ParseOrderFields(orderFields)) {
        all.append(item.name);
        if (item.descending)
            descending.append(item.name);
    }
    fields = all.join(QLatin1Char(';'));
    descFields = descending.join(QLatin1Char(';'));
}

QString UnifyOrderFields(const QString& fields, const QString& descFields, bool allDescending)
{
    const QStringList descending = TrimmedItems(descFields, QLatin1Char(';'));
    const bool everyField = descending.isEmpty() && allDescending;
    QList<TOrderItem> items;
    for (const QString& name : TrimmedItems(fields, QLatin1Char(';')))
        items.append({name, everyField || descending.contains(name)});
    return FormatOrderFields(items);
}

QString OrderFieldsToIndexFields(const QString& orderFields, const QString& suffix)
{
    const QString descMark = MarksOf(suffix).descending;
    QStringList names;
    for (const TOrderItem& item : ParseOrderFields(orderFields)) {
        if (suffix.isEmpty())
            names.append(item.descending ? item.name + kDescMark : item.name);
        else
            names.append(item.descending ? item.name + descMark : item.name);
    }
    return names.join(QLatin1Char(';'));
}

QString IndexFieldsToOrderFields(const QString& indexFields, const QString& suffix)
{
    if (suffix.isEmpty())
        return FormatOrderFields(ParseOrderFields(SemicolonToComma(indexFields)));
    const IndexMarks marks = MarksOf(suffix);
    QList<TOrderItem> items;
    for (QString name : TrimmedItems(indexFields, QLatin1Char(';'))) {
        const bool descending = CutSuffix(name, marks.descending);
        if (!descending && !CutSuffix(name, marks.ascending))
            CutSuffix(name, marks.third);
        items.append({name, descending});
    }
    return FormatOrderFields(items);
}

bool CompareOrderFields(const QString& a, const QString& b)
{
    QStringList left = a.split(QLatin1Char(','));
    QStringList right = b.split(QLatin1Char(','));
    if (tk::Trim(a).isEmpty())
        left.clear();
    if (tk::Trim(b).isEmpty())
        right.clear();
    if (left.size() != right.size())
        return false;
    for (int i = 0; i < left.size(); ++i)
        if (!tk::SameText(tk::Trim(left[i]), tk::Trim(right[i])))
            return false;
    return true;
}

}  // namespace kelgrid
