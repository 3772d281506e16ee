#pragma once
// TIncrementalSearch: the text a list searches for while the user types.
// A printable character starts a new text when more than ResetInterval ms
// passed since the previous character, and is appended while the text is
// shorter than MaxLength; Backspace and Escape empty the text (Clear). The
// clock is injectable so that tests drive the time instead of sleeping.

#include <QChar>
#include <QString>
#include <functional>
#include <optional>

namespace tk {

class TIncrementalSearch {
public:
    static constexpr int MaxLength = 32;
    static constexpr int ResetInterval = 2000;  // milliseconds
    using TClock = std::function<qint64()>;

    // Without a clock the toolkit's TickCount.
    TIncrementalSearch();

    void SetClock(TClock clock);
    const QString& Text() const { return text_; }
    void Clear() { text_.clear(); }
    // The text a search for ch would use (the current one emptied first after
    // the pause), or nothing when the text is full. Notes the key's time.
    // The caller keeps the result through Accept (the pick list always, a
    // lookup only when a record was found).
    std::optional<QString> Extended(QChar ch);
    void Accept(const QString& text);

    // A character that searches: printable, not a control character.
    static bool IsSearchChar(QChar ch);

private:
    TClock clock_;
    QString text_;
    qint64 lastKey_ = 0;
    bool anyKey_ = false;
};

}  // namespace tk
