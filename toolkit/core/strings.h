#pragma once
// String lists: TStrings is the abstract list of lines (each with an attached
// object) that controls publish as Items or Lines; TStringList is the list
// that keeps its lines itself, optionally sorted, with change events.
//
// A control keeps a Qt widget in sync by subclassing TStrings and
// implementing the storage functions (Get, GetCount, Insert, Delete, Clear,
// and Put/GetObject/PutObject when it supports them); everything else
// (Text, CommaText, Values, Move, Assign, ...) is built on those.

#include "toolkit/core/component.h"

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

namespace tk {

class TStrings : public TPersistent {
    Q_OBJECT
    // Text carries the lines when a list is streamed; the other textual views
    // of the same lines are not stored.
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString CommaText READ CommaText WRITE SetCommaText STORED false)
    Q_PROPERTY(QString DelimitedText READ DelimitedText WRITE SetDelimitedText STORED false)
    Q_PROPERTY(QChar Delimiter READ Delimiter WRITE SetDelimiter)
    Q_PROPERTY(QChar QuoteChar READ QuoteChar WRITE SetQuoteChar)
    Q_PROPERTY(bool StrictDelimiter READ StrictDelimiter WRITE SetStrictDelimiter)
    Q_PROPERTY(QChar NameValueSeparator READ NameValueSeparator WRITE SetNameValueSeparator)
    Q_PROPERTY(QString LineBreak READ LineBreak WRITE SetLineBreak)
    Q_PROPERTY(int Count READ Count STORED false)
    Q_CLASSINFO("Default:Delimiter", ",")
    Q_CLASSINFO("Default:QuoteChar", "\"")
    Q_CLASSINFO("Default:StrictDelimiter", "False")
    Q_CLASSINFO("Default:NameValueSeparator", "=")
    Q_CLASSINFO("Default:LineBreak", "\r\n")
public:
    explicit TStrings(QObject* parent = nullptr);

    // --- Storage, implemented by subclasses ---------------------------------
    virtual QString Get(int index) const = 0;
    virtual int GetCount() const = 0;
    // Inserts s before index (index == Count appends).
    virtual void Insert(int index, const QString& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // Replaces the line at index, keeping its object. The default deletes the
    // line and inserts the new text with the old object.
    virtual void Put(int index, const QString& s);
    // The object attached to a line; the default storage keeps none.
    virtual QVariant GetObject(int index) const;
    virtual void PutObject(int index, const QVariant& object);
    // Inserts a line with its object; the default is Insert + PutObject.
    virtual void InsertObject(int index, const QString& s, const QVariant& object);
    // Called with true when the outermost BeginUpdate starts a batch and with
    // false when the matching EndUpdate ends it.
    virtual void SetUpdateState(bool updating);
    // Compares two lines for IndexOf, IndexOfName and Values: the default
    // ignores case; lists with a CaseSensitive switch override it.
    virtual int CompareStrings(const QString& a, const QString& b) const;

    // --- Lines ----------------------------------------------------------
    int Count() const { return GetCount(); }
    QString Strings(int index) const { return Get(index); }
    QString operator[](int index) const { return Get(index); }
    QVariant Objects(int index) const { return GetObject(index); }

    // Adds a line and returns its index (sorted lists insert in order).
    // Add is AddObject without an object; AddObject defaults to
    // InsertObject at the end.
    virtual int Add(const QString& s);
    virtual int AddObject(const QString& s, const QVariant& object);
    void Append(const QString& s) { Add(s); }
    void AddStrings(const TStrings* strings);
    void AddStrings(const QStringList& strings);
    // Moves the line (and its object) at curIndex to newIndex.
    virtual void Move(int curIndex, int newIndex);
    virtual void Exchange(int index1, int index2);

    virtual int IndexOf(const QString& s) const;
    // Index of the first "name=value" line whose name matches; -1 if none.
    int IndexOfName(const QString& name) const;
    int IndexOfObject(const QVariant& object) const;

    // The name part of line index ("" when the line has no separator).
    QString Names(int index) const;
    // The value of the first line named name ("" when there is none).
    QString Values(const QString& name) const;
    // Sets name's value; an empty value deletes the line, a missing name
    // appends "name=value".
    void SetValues(const QString& name, const QString& value);
    // The value part of line index ("" when the line has no separator).
    QString ValueFromIndex(int index) const;

    // Batches changes: nests, and tells SetUpdateState only on 0 <-> 1.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Copies the lines, objects and text-format settings of another TStrings.
    void Assign(const TPersistent* source) override;
    // Same lines in the same order (case-sensitive; objects are not compared).
    bool Equals(const TStrings* other) const;
    QStringList ToStringList() const;
    // Replaces all lines.
    void SetStrings(const QStringList& lines);

    // --- Textual views of the lines ----------------------------------------
    // Every line followed by LineBreak. Setting splits at CR LF, LF or CR.
    QString Text() const;
    void SetText(const QString& text);
    // DelimitedText with ',' and '"' and StrictDelimiter off, whatever this
    // list's own settings are.
    QString CommaText() const;
    void SetCommaText(const QString& text);
    // Lines joined by Delimiter. A line is quoted with QuoteChar (embedded
    // quote chars doubled) when it is empty or holds the delimiter, the quote
    // char or, without StrictDelimiter, a character <= ' '. Setting splits at
    // the delimiter and, without StrictDelimiter, at blanks and control
    // characters, which are skipped between items.
    QString DelimitedText() const;
    void SetDelimitedText(const QString& text);

    QChar Delimiter() const { return delimiter_; }
    void SetDelimiter(QChar delimiter) { delimiter_ = delimiter; }
    QChar QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(QChar quoteChar) { quoteChar_ = quoteChar; }
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool strict) { strictDelimiter_ = strict; }
    QChar NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(QChar separator) { nameValueSeparator_ = separator; }
    QString LineBreak() const { return lineBreak_; }
    void SetLineBreak(const QString& lineBreak) { lineBreak_ = lineBreak; }

protected:
    // Raises EStringListError "List index out of bounds (index)".
    [[noreturn]] static void RaiseIndexError(int index);
    // Runs body between BeginUpdate and EndUpdate, also when body raises.
    void Batch(const std::function<void()>& body);

private:
    QString JoinDelimited(QChar delimiter, QChar quote, bool strict) const;
    void SplitDelimited(const QString& text, QChar delimiter, QChar quote, bool strict);

    int updateCount_ = 0;
    QChar delimiter_ = QLatin1Char(',');
    QChar quoteChar_ = QLatin1Char('"');
    bool strictDelimiter_ = false;
    QChar nameValueSeparator_ = QLatin1Char('=');
    QString lineBreak_ = QStringLiteral("\r\n");
};

class TStringList : public TStrings {
    Q_OBJECT
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(TDuplicates Duplicates READ Duplicates WRITE SetDuplicates)
    Q_PROPERTY(bool CaseSensitive READ CaseSensitive WRITE SetCaseSensitive)
    Q_CLASSINFO("Default:Sorted", "False")
    Q_CLASSINFO("Default:Duplicates", "dupIgnore")
    Q_CLASSINFO("Default:CaseSensitive", "False")
public:
    // What a sorted list does when a line equal to an existing one is added.
    enum TDuplicates { dupIgnore, dupAccept, dupError };
    Q_ENUM(TDuplicates)

    explicit TStringList(QObject* parent = nullptr);

    QString Get(int index) const override;
    int GetCount() const override;
    // Raises "Operation not allowed on sorted list" when Sorted.
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;
    // Raises "Operation not allowed on sorted list" when Sorted.
    void Put(int index, const QString& s) override;
    QVariant GetObject(int index) const override;
    void PutObject(int index, const QVariant& object) override;
    // Raises "Operation not allowed on sorted list" when Sorted.
    void InsertObject(int index, const QString& s, const QVariant& object) override;
    void SetUpdateState(bool updating) override;
    // Ignores case unless CaseSensitive; then lines that differ only in case
    // order lower case first ("a" < "A" < "b").
    int CompareStrings(const QString& a, const QString& b) const override;

    // On a sorted list: inserts at the sorted position; an equal line is
    // ignored (dupIgnore, returning its index), added (dupAccept) or refused
    // with EStringListError "String list does not allow duplicates" (dupError).
    int AddObject(const QString& s, const QVariant& object) override;
    // Raises "Operation not allowed on sorted list" when Sorted.
    void Move(int curIndex, int newIndex) override;
    void Exchange(int index1, int index2) override;
    // A sorted list finds s by binary search.
    int IndexOf(const QString& s) const override;

    // Binary search of a sorted list. True when s is present; index is where
    // s is (the first of an equal run with dupAccept) or would be inserted.
    bool Find(const QString& s, int& index) const;
    // Sorts an unsorted list in place (stable).
    void Sort();
    // Sorts an unsorted list with compare(list, i, j) < 0 meaning line i
    // belongs before line j (indices refer to the order before sorting).
    // Does nothing on a Sorted list, which keeps its own order.
    using TCompare = std::function<int(const TStringList& list, int index1, int index2)>;
    void CustomSort(const TCompare& compare);

    bool Sorted() const { return sorted_; }
    // Switching on sorts the lines.
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    // A sorted list sorts again under the new comparison.
    void SetCaseSensitive(bool caseSensitive);

    // OnChanging runs before a change, OnChange after it. Inside a
    // BeginUpdate/EndUpdate batch OnChanging runs once before the first
    // change and OnChange once at the outermost EndUpdate, and neither runs
    // when the batch changed nothing.
    std::function<void(TStrings*)> OnChanging;
    std::function<void(TStrings*)> OnChange;

protected:
    void Changing();
    void Changed();

private:
    struct TItem {
        QString text;
        QVariant object;
    };
    void CheckIndex(int index) const;
    void CheckNotSorted() const;
    void InsertItem(int index, const QString& s, const QVariant& object);
    void SortItems();

    QList<TItem> items_;
    bool sorted_ = false;
    TDuplicates duplicates_ = dupIgnore;
    bool caseSensitive_ = false;
    bool batchChanging_ = false;
    bool batchChanged_ = false;
};

}  // namespace tk
