#pragma once
// The application object: the one place exceptions end up, message
// pumping, and the hook that shows help topics. Every entry from Qt (slot, event handler, timer) runs its
// body through Guarded() so that no exception crosses Qt's event loop.

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace tk {

class Exception;

class TApplication {
public:
    static TApplication& Instance();

    // Title used as the caption of exception message boxes; defaults to the
    // Qt application name.
    QString Title() const;
    void SetTitle(const QString& title) { title_ = title; }

    // Ignores EAbort; shows any other exception's message. With an
    // OnException handler set, that handler receives the message instead of
    // a message box (automation and tests).
    void HandleException(std::exception_ptr error);
    std::function<void(const QString& message)> OnException;

    // Shows message in a modal error box parented to the active window.
    void ShowException(const QString& message);

    // Lets pending events (painting, input, timers) run and returns.
    void ProcessMessages();

    // Shows the help topic of context through OnHelp, the application's
    // help hook (the program's help system); returns whether the hook took
    // it. False for context 0 and without a hook.
    bool HelpContext(int context);
    std::function<bool(int context)> OnHelp;

private:
    TApplication() = default;
    QString title_;
};

inline TApplication& Application()
{
    return TApplication::Instance();
}

// The text shown for an exception of any kind.
QString ExceptionMessage(std::exception_ptr error);

// Runs body; any exception goes to the application's handler instead of
// escaping into Qt. Returns false when body raised.
bool Guarded(const std::function<void()>& body) noexcept;

}  // namespace tk
