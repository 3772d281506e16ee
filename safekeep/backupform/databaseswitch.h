#pragma once
// The host's database components, switched off while their files may be
// replaced. A missing (null) database is skipped.

namespace tk {
class TDatabase;
}

namespace safekeep {

void SetDatabaseActive(tk::TDatabase* database, bool active);

// Switches two databases off (first, then second) for a scope and on again
// (first, then second) however the scope ends, so a failed restore never
// leaves the host without its databases.
class TDatabasesOffline {
public:
    TDatabasesOffline(tk::TDatabase* first, tk::TDatabase* second);
    ~TDatabasesOffline();
    TDatabasesOffline(const TDatabasesOffline&) = delete;
    TDatabasesOffline& operator=(const TDatabasesOffline&) = delete;

private:
    tk::TDatabase* first_;
    tk::TDatabase* second_;
};

}  // namespace safekeep
