#include "toolkit/core/exceptions.h"

#include "toolkit/core/coreconsts.h"
#include "toolkit/core/format.h"

namespace tk {

Exception::Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

Exception::~Exception() = default;

void Exception::SetMessage(const QString& message)
{
    message_ = message;
    utf8_ = message_.toUtf8();
}

void Abort()
{
    throw EAbort(QStringLiteral("Operation aborted"));
}

void RaiseListIndexError(int index)
{
    throw EListError(Format(LoadResString(&SListIndexError), {Variant(index)}));
}

}  // namespace tk
