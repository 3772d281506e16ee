#include "toolkit/core/application.h"

#include "toolkit/core/exceptions.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace tk {

TApplication& TApplication::Instance()
{
    static TApplication instance;
    return instance;
}

QString TApplication::Title() const
{
    return title_.isEmpty() ? QCoreApplication::applicationName() : title_;
}

QString ExceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void TApplication::HandleException(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    const QString message = ExceptionMessage(error);
    if (OnException)
        OnException(message);
    else
        ShowException(message);
}

void TApplication::ShowException(const QString& message)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("%s", qPrintable(message));
        return;
    }
    QMessageBox box(QMessageBox::Critical, Title(), message, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool TApplication::HelpContext(int context)
{
    return context != 0 && OnHelp && OnHelp(context);
}

bool Guarded(const std::function<void()>& body) noexcept
{
    try {
        body();
        return true;
    } catch (...) {
        try {
            Application().HandleException(std::current_exception());
        } catch (...) {
            // A failing handler must not take the event loop down either.
        }
        return false;
    }
}

}  // namespace tk
