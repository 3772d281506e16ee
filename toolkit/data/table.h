#pragma once
// TTable: a dataset over one table of a TDatabase, all its columns, in the
// order IndexFieldNames gives (rowid order without it). Editable unless
// ReadOnly or the database is read-only; rows are fetched as they are shown.

#include "toolkit/data/sqlitesourcedataset.h"

namespace tk {

class TTable : public TSqliteDataSet {
    Q_OBJECT
    Q_PROPERTY(QString TableName READ TableName WRITE SetTableName)
    Q_PROPERTY(QString IndexFieldNames READ IndexFieldNames WRITE SetIndexFieldNames)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_CLASSINFO("Default:ReadOnly", "False")

public:
    explicit TTable(QObject* owner = nullptr);
    ~TTable() override;

    // The table's name as SQLite knows it; quoted wherever it is used, so
    // blanks, quotes and keywords are fine. Cannot change while open.
    QString TableName() const { return tableName_; }
    void SetTableName(const QString& name);

    // ";"-separated column names to order by. A name the table lacks
    // raises EDatabaseError (SFieldNotFound) when set on an open table (and
    // leaves it as it was) or when the table opens. Changing it while open
    // reopens, keeping the current record.
    QString IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const QString& names);

    // Cannot change while open.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

protected:
    std::unique_ptr<TRecordSource> CreateRecordSource() override;

private:
    // The ORDER BY clause for names; raises SFieldNotFound for a name that
    // is not among columns.
    static QString OrderByClause(const QString& names, const QStringList& columns);
    QStringList TableColumns(TDatabase* database) const;

    QString tableName_;
    QString indexFieldNames_;
    bool readOnly_ = false;
};

}  // namespace tk
