#pragma once
// TKelColumn, one visual column of the grid bound to a dataset field by
// name, and TKelDBGridColumns, the grid's collection of them.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/collection.h"

#include <QPointer>

namespace tk {
class TField;
}

namespace kelgrid {

class TKelCustomDBGrid;
class TKelDBGridColumns;

class KELGRID_EXPORT TKelColumn : public tk::TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
public:
    Q_INVOKABLE explicit TKelColumn(tk::TCollection* collection);
    ~TKelColumn() override;

    // The collection's grid, or nullptr outside a grid's columns.
    TKelCustomDBGrid* Grid() const;

    QString FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name);
    // The bound field, looked up by name on first use while the grid's
    // dataset is open or has persistent fields; nullptr when there is none.
    tk::TField* Field() const;
    virtual void SetField(tk::TField* field);

    // The column whose group holds this one, nullptr at the top.
    TKelColumn* ParentColumn() const;
    // Number of ancestors.
    int Depth() const;
    // Shown in the grid: visible, not expanded itself, every ancestor
    // expanded.
    bool Showing() const;
    // Columns made from the dataset are not stored; the user's are.
    bool Stored() const { return stored_; }
    void SetStored(bool stored) { stored_ = stored; }

private:
    QString fieldName_;
    mutable QPointer<tk::TField> field_;
    bool stored_ = true;
};

class KELGRID_EXPORT TKelDBGridColumns : public tk::TCollection {
    Q_OBJECT
public:
    explicit TKelDBGridColumns(TKelCustomDBGrid* grid, const QMetaObject* columnClass = &TKelColumn::staticMetaObject);

    TKelCustomDBGrid* Grid() const { return grid_; }
    TKelColumn* Items(int index) const;
    TKelColumn* Add();
    // csCustomized once any column is stored (the user's), else csDefault.
    TDBGridColumnsState State() const;

protected:
    // A change of one column or of all re-lays out the grid.
    void Update(tk::TCollectionItem* item) override;

private:
    TKelCustomDBGrid* grid_;
};

}  // namespace kelgrid
