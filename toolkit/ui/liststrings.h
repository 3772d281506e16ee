#pragma once
// TListWidgetStrings: the items of a list box as a string list. Each line is
// one QListWidgetItem that carries everything the list knows about it: the
// text, the attached object, the check state and whether the user may check
// it. Moving or exchanging lines moves those items whole, so a line keeps
// its check, its enabled state, its object and its selection wherever it
// goes (the generic Move of TStrings deletes and re-inserts, which would
// give the line a fresh, unchecked item).
//
// Changes made through the list never count as the user's selection: the
// list box's OnClick stays silent while they run.

#include "toolkit/core/strings.h"

#include <QListWidgetItem>

namespace tk {

class TListBox;

// The data roles of an item besides its text and Qt::CheckStateRole.
inline constexpr int kItemObjectRole = Qt::UserRole;
// True when the user may not check the item (it draws greyed).
inline constexpr int kItemDisabledRole = Qt::UserRole + 1;

class TListWidgetStrings : public TStrings {
    Q_OBJECT
public:
    explicit TListWidgetStrings(TListBox* list);

    QString Get(int index) const override;
    int GetCount() const override;
    void Insert(int index, const QString& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Put(int index, const QString& s) override;
    QVariant GetObject(int index) const override;
    void PutObject(int index, const QVariant& object) override;
    // A sorted list box adds at the sorted place (after equal lines).
    int AddObject(const QString& s, const QVariant& object) override;
    // Both keep the moved items whole (check, enabled, object, selection,
    // current item). EStringListError for an index out of range; nothing
    // moves then.
    void Move(int curIndex, int newIndex) override;
    void Exchange(int index1, int index2) override;
    // Painting is held back while a batch runs.
    void SetUpdateState(bool updating) override;

    // The item at index; EStringListError when out of range.
    QListWidgetItem* Item(int index) const;
    // Sorts the lines, stable, by CompareStrings (case-insensitive).
    void Sort();

private:
    void CheckIndex(int index) const;

    TListBox* list_;
};

}  // namespace tk
