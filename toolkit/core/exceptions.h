#pragma once
// The exception hierarchy every component raises. An exception carries the
// message text the user sees; EAbort is the silent abort that the
// application's handler never shows.

#include <QByteArray>
#include <QString>
#include <exception>

namespace tk {

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    ~Exception() override;

    const QString& Message() const { return message_; }
    void SetMessage(const QString& message);
    // The UTF-8 form of Message(), for std::exception users.
    const char* what() const noexcept override { return utf8_.constData(); }

    // Exceptions are thrown by value, so every class says its own name for
    // messages that name the class (e.g. "EConvertError: ...").
    virtual const char* ClassName() const { return "Exception"; }

private:
    QString message_;
    QByteArray utf8_;
};

// Declares a subclass that only changes the class name.
#define TK_DECLARE_EXCEPTION(Name, Base)                                \
    class Name : public Base {                                          \
        using BaseType = Base;                                          \
                                                                        \
    public:                                                             \
        using BaseType::BaseType;                                       \
        const char* ClassName() const override { return #Name; }        \
    };

TK_DECLARE_EXCEPTION(EAbort, Exception)
TK_DECLARE_EXCEPTION(EConvertError, Exception)
TK_DECLARE_EXCEPTION(EListError, Exception)
TK_DECLARE_EXCEPTION(EStringListError, EListError)
TK_DECLARE_EXCEPTION(EPropertyError, Exception)
TK_DECLARE_EXCEPTION(EStreamError, Exception)
TK_DECLARE_EXCEPTION(EReadError, EStreamError)
TK_DECLARE_EXCEPTION(EFilerError, EStreamError)
TK_DECLARE_EXCEPTION(EInOutError, Exception)
TK_DECLARE_EXCEPTION(ERegistryException, Exception)
TK_DECLARE_EXCEPTION(EDatabaseError, Exception)
TK_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)
TK_DECLARE_EXCEPTION(EInvalidOperation, Exception)
TK_DECLARE_EXCEPTION(EAssertionFailed, Exception)

// Raises the silent abort: the flow stops and no message is shown.
[[noreturn]] void Abort();

// The list-index failure: EListError with SListIndexError ("List index out of
// bounds (%d)", coreconsts.h) formatted with index.
[[noreturn]] void RaiseListIndexError(int index);

}  // namespace tk
