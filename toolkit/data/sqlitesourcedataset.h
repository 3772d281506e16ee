#pragma once
// The base of the datasets that read a TDatabase through an SQLite record
// source (TQuery, TTable): the Database property and the dataset's ties to
// that component. Switching the database off closes the dataset (its
// statements must not outlive the connection); destroying it closes the
// dataset and clears the property.

#include "toolkit/data/database.h"
#include "toolkit/data/dataset.h"

namespace tk {

class TSqliteDataSet : public TDataSet, private TDatabaseClient {
    Q_OBJECT
    Q_PROPERTY(tk::TDatabase* Database READ Database WRITE SetDatabase)

public:
    explicit TSqliteDataSet(QObject* owner = nullptr);
    ~TSqliteDataSet() override;

    TDatabase* Database() const { return database_; }
    // Raises EDatabaseError while the dataset is open.
    void SetDatabase(TDatabase* database);

protected:
    // The database, switched on when it is not yet; raises EDatabaseError
    // when none is set.
    TDatabase* OpenDatabase();

private:
    void ReleaseStatements() override;
    void Detach();

    TDatabase* database_ = nullptr;
};

}  // namespace tk
