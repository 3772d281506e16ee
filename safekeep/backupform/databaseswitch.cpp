#include "safekeep/backupform/databaseswitch.h"

#include "toolkit/core/application.h"
#include "toolkit/data/database.h"

namespace safekeep {

void SetDatabaseActive(tk::TDatabase* database, bool active)
{
    if (database)
        database->SetActive(active);
}

TDatabasesOffline::TDatabasesOffline(tk::TDatabase* first, tk::TDatabase* second) : first_(first), second_(second)
{
    SetDatabaseActive(first_, false);
    SetDatabaseActive(second_, false);
}

TDatabasesOffline::~TDatabasesOffline()
{
    // Each database is tried even when the other cannot be opened again; a
    // failure is reported, never thrown out of the destructor.
    for (tk::TDatabase* database : {first_, second_}) {
        try {
            SetDatabaseActive(database, true);
        } catch (...) {
            tk::Application().HandleException(std::current_exception());
        }
    }
}

}  // namespace safekeep
