#pragma once
// TQuery: a dataset over an SQL SELECT on a TDatabase. Its rows are fetched
// as they are shown; it is editable when the SELECT reads exactly one table
// (see sqlitesource.h), read-only otherwise. ExecSQL runs statements that
// return no rows.

#include "toolkit/core/strings.h"
#include "toolkit/data/params.h"
#include "toolkit/data/sqlitesourcedataset.h"

namespace tk {

class TQuery : public TSqliteDataSet {
    Q_OBJECT
    Q_PROPERTY(tk::TStrings* SQL READ SQL WRITE SetSQL)
    Q_PROPERTY(tk::TParams* Params READ Params)
    Q_PROPERTY(bool UniDirectional READ UniDirectional WRITE SetUniDirectional)
    Q_CLASSINFO("Default:UniDirectional", "False")

public:
    explicit TQuery(QObject* owner = nullptr);
    ~TQuery() override;

    // Changing the text while the query is open reopens it, keeping the
    // current record when it is still there; while closed it is only kept.
    TStrings* SQL() const { return sql_; }
    void SetSQL(TStrings* lines);

    // The ":name" parameters of the SQL text, kept in step with it.
    TParams* Params() const { return params_; }
    TParam* ParamByName(const QString& name) const { return params_->ParamByName(name); }

    // Runs the SQL text (one statement) with the parameters and returns the
    // number of rows it changed. Other datasets on the database finish
    // their reads first. Failures raise EDatabaseError with SQLite's reason.
    int ExecSQL();

    // A forward-only query: data links refuse it and it cannot move back.
    // Set while closed.
    bool UniDirectional() const { return uniDirectional_; }
    void SetUniDirectional(bool on);
    bool IsUnidirectional() const override { return uniDirectional_; }

protected:
    std::unique_ptr<TRecordSource> CreateRecordSource() override;

private:
    void SqlChanged();

    TStringList* sql_;
    TParams* params_;
    bool uniDirectional_ = false;
};

}  // namespace tk
