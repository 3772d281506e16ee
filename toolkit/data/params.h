#pragma once
// The named parameters of a query (":name" in its SQL text), each with the
// value bound when the query opens or runs.

#include "toolkit/core/component.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/sqlitesourcetypes.h"

#include <QString>
#include <memory>
#include <vector>

namespace tk {

class TParam {
public:
    explicit TParam(QString name) : name_(std::move(name)) {}

    QString Name() const { return name_; }
    // Unassigned until set; Null binds SQL NULL.
    Variant Value() const { return value_; }
    void SetValue(const Variant& value) { value_ = value; }
    bool IsNull() const { return value_.IsEmptyOrNull(); }
    void Clear() { value_ = Variant::NullValue(); }

private:
    QString name_;
    Variant value_;
};

class TParams : public TPersistent {
    Q_OBJECT
public:
    explicit TParams(QObject* parent = nullptr);
    ~TParams() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TParam* Items(int index) const;  // raises EListError out of range
    // Case-insensitive; nullptr when absent.
    TParam* FindParam(const QString& name) const;
    // Raises EDatabaseError "Parameter 'name' not found" when absent.
    TParam* ParamByName(const QString& name) const;

    // Makes the list the parameters the SQL text names, in order; a name
    // that stays keeps its value.
    void ParseSQL(const QString& sql);
    // The names and values for binding.
    TSqlParameters Values() const;

private:
    std::vector<std::unique_ptr<TParam>> items_;
};

}  // namespace tk
