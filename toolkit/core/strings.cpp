#include "toolkit/core/strings.h"

#include "toolkit/core/coreconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/core/textfile.h"
#include "toolkit/core/updatelock.h"

#include <algorithm>
#include <numeric>

namespace tk {

namespace {

bool IsBlank(QChar c)
{
    return c.unicode() <= u' ';
}

// Reads a quoted item starting at text[pos] (the opening quote): doubled
// quotes stand for one; the item ends at a single quote or at the end of the
// text. Leaves pos after the closing quote.
QString ExtractQuoted(const QString& text, qsizetype& pos, QChar quote)
{
    QString result;
    ++pos;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c != quote) {
            result += c;
        } else if (pos < text.size() && text[pos] == quote) {
            result += quote;
            ++pos;
        } else {
            break;
        }
    }
    return result;
}

QString Quoted(const QString& s, QChar quote)
{
    QString doubled = s;
    doubled.replace(quote, QString(2, quote));
    return quote + doubled + quote;
}

}  // namespace

// --- TStrings -------------------------------------------------------------

TStrings::TStrings(QObject* parent) : TPersistent(parent) {}

void TStrings::Put(int index, const QString& s)
{
    const QVariant object = GetObject(index);
    Batch([&] {
        Delete(index);
        InsertObject(index, s, object);
    });
}

QVariant TStrings::GetObject(int) const
{
    return QVariant();
}

void TStrings::PutObject(int, const QVariant&) {}

void TStrings::InsertObject(int index, const QString& s, const QVariant& object)
{
    Batch([&] {
        Insert(index, s);
        PutObject(index, object);
    });
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const QString& a, const QString& b) const
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

int TStrings::Add(const QString& s)
{
    return AddObject(s, QVariant());
}

int TStrings::AddObject(const QString& s, const QVariant& object)
{
    const int index = GetCount();
    InsertObject(index, s, object);
    return index;
}

void TStrings::AddStrings(const TStrings* strings)
{
    if (!strings)
        return;
    Batch([&] {
        // Read the count once: adding a list to itself doubles it.
        const int count = strings->GetCount();
        for (int i = 0; i < count; ++i)
            AddObject(strings->Get(i), strings->GetObject(i));
    });
}

void TStrings::AddStrings(const QStringList& strings)
{
    Batch([&] {
        for (const QString& s : strings)
            Add(s);
    });
}

void TStrings::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    // Check the target first so that a bad index does not lose the line.
    if (newIndex < 0 || newIndex >= GetCount())
        RaiseIndexError(newIndex);
    Batch([&] {
        const QString s = Get(curIndex);
        const QVariant object = GetObject(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    });
}

void TStrings::Exchange(int index1, int index2)
{
    Batch([&] {
        const QString s = Get(index1);
        const QVariant object = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, s);
        PutObject(index2, object);
    });
}

int TStrings::IndexOf(const QString& s) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        if (CompareStrings(Get(i), s) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfName(const QString& name) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const QString line = Get(i);
        const qsizetype separator = line.indexOf(nameValueSeparator_);
        if (separator >= 0 && CompareStrings(line.left(separator), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const QVariant& object) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        if (GetObject(i) == object)
            return i;
    }
    return -1;
}

QString TStrings::Names(int index) const
{
    const QString line = Get(index);
    const qsizetype separator = line.indexOf(nameValueSeparator_);
    return separator < 0 ? QString() : line.left(separator);
}

QString TStrings::Values(const QString& name) const
{
    const int index = IndexOfName(name);
    return index < 0 ? QString() : ValueFromIndex(index);
}

void TStrings::SetValues(const QString& name, const QString& value)
{
    int index = IndexOfName(name);
    if (value.isEmpty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const QString line = name + nameValueSeparator_ + value;
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

QString TStrings::ValueFromIndex(int index) const
{
    const QString line = Get(index);
    const qsizetype separator = line.indexOf(nameValueSeparator_);
    return separator < 0 ? QString() : line.mid(separator + 1);
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0)
        SetUpdateState(false);
}

void TStrings::Batch(const std::function<void()>& body)
{
    TUpdateLock lock(*this);
    body();
}

void TStrings::Assign(const TPersistent* source)
{
    const auto* strings = qobject_cast<const TStrings*>(source);
    if (!strings) {
        TPersistent::Assign(source);
        return;
    }
    if (strings == this)
        return;
    Batch([&] {
        Clear();
        delimiter_ = strings->delimiter_;
        quoteChar_ = strings->quoteChar_;
        strictDelimiter_ = strings->strictDelimiter_;
        nameValueSeparator_ = strings->nameValueSeparator_;
        lineBreak_ = strings->lineBreak_;
        AddStrings(strings);
    });
}

bool TStrings::Equals(const TStrings* other) const
{
    if (!other)
        return false;
    const int count = GetCount();
    if (other->GetCount() != count)
        return false;
    for (int i = 0; i < count; ++i) {
        if (Get(i) != other->Get(i))
            return false;
    }
    return true;
}

QStringList TStrings::ToStringList() const
{
    QStringList lines;
    const int count = GetCount();
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines << Get(i);
    return lines;
}

void TStrings::SetStrings(const QStringList& lines)
{
    Batch([&] {
        Clear();
        AddStrings(lines);
    });
}

QString TStrings::Text() const
{
    return JoinLines(ToStringList(), lineBreak_);
}

void TStrings::SetText(const QString& text)
{
    SetStrings(SplitLines(text));
}

QString TStrings::CommaText() const
{
    return JoinDelimited(QLatin1Char(','), QLatin1Char('"'), false);
}

void TStrings::SetCommaText(const QString& text)
{
    SplitDelimited(text, QLatin1Char(','), QLatin1Char('"'), false);
}

QString TStrings::DelimitedText() const
{
    return JoinDelimited(delimiter_, quoteChar_, strictDelimiter_);
}

void TStrings::SetDelimitedText(const QString& text)
{
    SplitDelimited(text, delimiter_, quoteChar_, strictDelimiter_);
}

QString TStrings::JoinDelimited(QChar delimiter, QChar quote, bool strict) const
{
    const auto needsQuotes = [&](const QString& s) {
        if (s.isEmpty())
            return true;
        return std::any_of(s.begin(), s.end(),
                           [&](QChar c) { return c == delimiter || c == quote || (!strict && IsBlank(c)); });
    };
    QString text;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += delimiter;
        const QString s = Get(i);
        text += needsQuotes(s) ? Quoted(s, quote) : s;
    }
    return text;
}

void TStrings::SplitDelimited(const QString& text, QChar delimiter, QChar quote, bool strict)
{
    const auto skipBlanks = [&](qsizetype& pos) {
        while (!strict && pos < text.size() && IsBlank(text[pos]))
            ++pos;
    };
    Batch([&] {
        Clear();
        qsizetype pos = 0;
        skipBlanks(pos);
        while (pos < text.size()) {
            if (text[pos] == quote) {
                Add(ExtractQuoted(text, pos, quote));
            } else {
                const qsizetype start = pos;
                while (pos < text.size() && text[pos] != delimiter && (strict || !IsBlank(text[pos])))
                    ++pos;
                Add(text.mid(start, pos - start));
            }
            skipBlanks(pos);
            if (pos < text.size() && text[pos] == delimiter) {
                ++pos;
                // A delimiter at the very end leaves one empty item after it.
                if (pos == text.size())
                    Add(QString());
                skipBlanks(pos);
            }
        }
    });
}

void TStrings::RaiseIndexError(int index)
{
    throw EStringListError(Format(LoadResString(&SListIndexError), {Variant(index)}));
}

// --- TStringList ----------------------------------------------------------

TStringList::TStringList(QObject* parent) : TStrings(parent) {}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= items_.size())
        RaiseIndexError(index);
}

void TStringList::CheckNotSorted() const
{
    if (sorted_)
        throw EStringListError(QStringLiteral("Operation not allowed on sorted list"));
}

QString TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[index].text;
}

int TStringList::GetCount() const
{
    return static_cast<int>(items_.size());
}

void TStringList::Insert(int index, const QString& s)
{
    InsertObject(index, s, QVariant());
}

void TStringList::InsertObject(int index, const QString& s, const QVariant& object)
{
    CheckNotSorted();
    if (index < 0 || index > items_.size())
        RaiseIndexError(index);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const QString& s, const QVariant& object)
{
    Changing();
    items_.insert(index, TItem{s, object});
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    items_.removeAt(index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.isEmpty())
        return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Put(int index, const QString& s)
{
    CheckNotSorted();
    CheckIndex(index);
    Changing();
    items_[index].text = s;
    Changed();
}

QVariant TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::PutObject(int index, const QVariant& object)
{
    CheckIndex(index);
    Changing();
    items_[index].object = object;
    Changed();
}

namespace {

// QString::compare without regard to case for the usual lines, made of ASCII
// only: the same sign (Unicode folding lowers A-Z and keeps every other ASCII
// character), without folding. False when a character outside ASCII comes
// first, and the caller compares the Unicode way.
bool CompareAsciiIgnoringCase(const QString& a, const QString& b, int& result)
{
    const QChar* left = a.constData();
    const QChar* right = b.constData();
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        char16_t l = left[i].unicode();
        char16_t r = right[i].unicode();
        if (l >= 0x80 || r >= 0x80)
            return false;
        if (l >= u'A' && l <= u'Z')
            l += u'a' - u'A';
        if (r >= u'A' && r <= u'Z')
            r += u'a' - u'A';
        if (l != r) {
            result = l < r ? -1 : 1;
            return true;
        }
    }
    result = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
    return true;
}

}  // namespace

int TStringList::CompareStrings(const QString& a, const QString& b) const
{
    int comparison = 0;
    if (!CompareAsciiIgnoringCase(a, b, comparison))
        comparison = QString::compare(a, b, Qt::CaseInsensitive);
    if (comparison != 0 || !caseSensitive_)
        return comparison;
    // Lines that differ only in case: lower case first, as in a dictionary,
    // so that "a" < "A" < "b" rather than the code order "A" < "B" < "a".
    return -QString::compare(a, b, Qt::CaseSensitive);
}

int TStringList::AddObject(const QString& s, const QVariant& object)
{
    int index = GetCount();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == dupIgnore)
            return index;
        if (duplicates_ == dupError)
            throw EStringListError(QStringLiteral("String list does not allow duplicates"));
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckNotSorted();
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    Changing();
    items_.move(curIndex, newIndex);
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    items_.swapItemsAt(index1, index2);
    Changed();
}

int TStringList::IndexOf(const QString& s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index = -1;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const QString& s, int& index) const
{
    bool found = false;
    int low = 0;
    int high = GetCount() - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int comparison = CompareStrings(items_[middle].text, s);
        if (comparison < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (comparison == 0) {
                found = true;
                // Without dupAccept any equal line will do; with it, keep
                // narrowing to the first of the equal run.
                if (duplicates_ != dupAccept)
                    low = middle;
            }
        }
    }
    index = low;
    return found;
}

void TStringList::SortItems()
{
    if (items_.size() < 2)
        return;
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const TItem& a, const TItem& b) { return CompareStrings(a.text, b.text) < 0; });
    Changed();
}

void TStringList::Sort()
{
    if (!sorted_)
        SortItems();
}

void TStringList::CustomSort(const TCompare& compare)
{
    if (sorted_ || items_.size() < 2)
        return;
    // Sort positions with the caller's comparison over the untouched list,
    // then rearrange the lines once.
    QList<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    QList<TItem> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted << items_[i];
    Changing();
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted == sorted_)
        return;
    if (sorted)
        SortItems();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    if (caseSensitive == caseSensitive_)
        return;
    caseSensitive_ = caseSensitive;
    if (sorted_)
        SortItems();
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating) {
        batchChanging_ = false;
        batchChanged_ = false;
        return;
    }
    const bool changed = batchChanged_;
    batchChanging_ = false;
    batchChanged_ = false;
    if (changed && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (UpdateCount() > 0) {
        if (batchChanging_)
            return;
        batchChanging_ = true;
    }
    if (OnChanging)
        OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() > 0) {
        batchChanged_ = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

}  // namespace tk
