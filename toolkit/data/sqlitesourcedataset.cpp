#include "toolkit/data/sqlitesourcedataset.h"

#include "toolkit/core/exceptions.h"

namespace tk {

TSqliteDataSet::TSqliteDataSet(QObject* owner) : TDataSet(owner) {}

TSqliteDataSet::~TSqliteDataSet()
{
    Detach();
}

void TSqliteDataSet::SetDatabase(TDatabase* database)
{
    if (database == database_)
        return;
    CheckInactive();
    Detach();
    database_ = database;
    if (!database_)
        return;
    database_->AttachClient(this);
    database_->FreeNotification(this, [this](TComponent*) {
        // The database goes: nothing may keep a statement on it.
        Close();
        Detach();
    });
}

void TSqliteDataSet::Detach()
{
    if (!database_)
        return;
    database_->DetachClient(this);
    database_->RemoveFreeNotification(this);
    database_ = nullptr;
}

TDatabase* TSqliteDataSet::OpenDatabase()
{
    if (!database_)
        throw EDatabaseError(QStringLiteral("%1: missing Database").arg(Name()));
    database_->Open();
    return database_;
}

void TSqliteDataSet::ReleaseStatements()
{
    Close();
}

}  // namespace tk
