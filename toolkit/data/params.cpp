#include "toolkit/data/params.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/data/sqlitesourcesyntax.h"

#include <algorithm>

namespace tk {

TParams::TParams(QObject* parent) : TPersistent(parent) {}

TParams::~TParams() = default;

TParam* TParams::Items(int index) const
{
    if (index < 0 || index >= Count())
        RaiseListIndexError(index);
    return items_[static_cast<size_t>(index)].get();
}

TParam* TParams::FindParam(const QString& name) const
{
    for (const auto& item : items_)
        if (item->Name().compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

TParam* TParams::ParamByName(const QString& name) const
{
    TParam* param = FindParam(name);
    if (!param)
        throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
    return param;
}

void TParams::ParseSQL(const QString& sql)
{
    // Parameters that stay are the same objects, so pointers callers hold
    // to them stay valid.
    std::vector<std::unique_ptr<TParam>> parsed;
    for (const QString& name : SqlParameterNames(sql)) {
        auto old = std::find_if(items_.begin(), items_.end(), [&](const std::unique_ptr<TParam>& item) {
            return item && item->Name().compare(name, Qt::CaseInsensitive) == 0;
        });
        parsed.push_back(old != items_.end() ? std::move(*old) : std::make_unique<TParam>(name));
    }
    items_ = std::move(parsed);
}

TSqlParameters TParams::Values() const
{
    TSqlParameters values;
    for (const auto& item : items_)
        values.push_back({item->Name(), item->Value()});
    return values;
}

}  // namespace tk
