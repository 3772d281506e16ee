#pragma once
// Chooses an entry of the next menu that pops up, as a user would: a menu
// opens inside its own event loop, so a zero timer started before the action
// that opens it finds the open menu, records its entries ("text" or
// "*text" for a checked one) and clicks the entry with the given text
// (or closes the menu when it has none).

#include <QString>
#include <QStringList>

namespace tk::test {

class MenuChooser {
public:
    explicit MenuChooser(const QString& entry);

    bool Opened() const { return opened_; }
    const QStringList& Entries() const { return entries_; }

private:
    void Choose();

    QString entry_;
    bool opened_ = false;
    QStringList entries_;
};

}  // namespace tk::test
